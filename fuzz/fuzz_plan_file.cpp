// Plan files come from other people: any bytes are read and checked without a
// crash, a hang or a leak, and every plan that is accepted writes back to a
// file that reads again to the same plan, SDI settings included.

#include "model/CalendarTime.h"
#include "model/Plan.h"
#include "model/PlanCheck.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <variant>

namespace {

void Fail(const char* what, const std::string& text) {
    std::fprintf(stderr, "%s\n%s\n", what, text.c_str());
    std::abort();
}

// The table the plan makes of a device that held nothing.
zrn::ScheduleTable TableOf(const zrn::Plan& plan) {
    zrn::ScheduleTable table{};
    for (std::size_t i = 0; i < table.size(); ++i) {
        table[i].nNumber = static_cast<std::uint8_t>(i + 1);
        table[i].chStatus = zrn::STATUS_EMPTY;
    }
    for (const zrn::PlannedSchedule& planned : plan.schedules)
        table[planned.entry.nNumber - 1u] = planned.entry;
    return table;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto read = zrn::ReadPlan(text);
    if (const auto* refusal = std::get_if<zrn::Refusal>(&read)) {
        if (refusal->reason.empty())
            Fail("a refusal without a reason", std::string(text));
        return 0;
    }
    const zrn::Plan& plan = std::get<zrn::Plan>(read);

    // The fit check against a device that holds the same table, with and
    // without its clock: it reads every accepted plan too.
    const zrn::ScheduleTable table = TableOf(plan);
    (void)zrn::CheckPlanFits(plan, table, std::nullopt);
    (void)zrn::CheckPlanFits(plan, table, zrn::LocalDateTime{2030, 6, 15, 12, 0, 0});

    const std::string written = zrn::WritePlan(table, plan.sdi);
    const auto again = zrn::ReadPlan(written);
    if (const auto* refusal = std::get_if<zrn::Refusal>(&again))
        Fail(("its own file was refused: " + refusal->Text()).c_str(), written);
    const zrn::Plan& reread = std::get<zrn::Plan>(again);
    const zrn::SdiChange& a = plan.sdi;
    const zrn::SdiChange& b = reread.sdi;
    if (TableOf(reread) != table || a.address != b.address || a.delay != b.delay ||
        a.valve != b.valve || a.hold != b.hold || a.pump != b.pump)
        Fail("the file written back reads as another plan", written);
    return 0;
}
