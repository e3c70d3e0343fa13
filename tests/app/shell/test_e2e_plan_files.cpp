// The window menu's plan files through the real link library against zrnsim
// as a process: what the device holds afterwards (its --state-out), what
// reached it (its --trace), and the bytes export writes.
#include "PanelTestAccess.h"
#include "DeviceState.h"
#include "HeldSchedule.h"
#include "SimDialogTest.h"
#include "StateFile.h"
#include "TestSupport.h"
#include "model/Plan.h"
#include "platform/FileDialog.h"
#include "platform/Win.h"
#include "resources/Resource.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace win;
namespace fs = std::filesystem;

namespace {

// Schedule 1 active in early June, 2 empty, 3 and 4 inactive; the clock a
// fixed morning before all of it.
const std::string kState = MorningDevice(
    "schedule3 = D 07/01/26 08:00:00 07/08/26 08:00:00 00:30:00 00:01:00 00:01:00 00:01:00");

// Four schedules in export's own layout: a device that holds them exports
// these bytes.
constexpr const char* kPlan = R"({
  "zrn_plan": 1,
  "schedules": [
    {"schedule": 1, "status": "inactive", "start": "2027-04-01T00:00:00", "stop": "2027-04-08T00:00:00", "interval": "01:00:00", "valve": "01:00", "hold": "01:00", "pump": "01:00"},
    {"schedule": 2, "status": "active", "start": "2027-03-03T07:00:00", "stop": "2027-03-10T06:59:59", "interval": "00:15:00", "valve": "01:30", "hold": "00:45", "pump": "02:00"},
    {"schedule": 3, "status": "empty"},
    {"schedule": 4, "status": "active", "start": "2027-03-10T07:00:00", "stop": "2027-03-17T06:59:59", "interval": "00:30:00", "valve": "00:30", "hold": "02:15", "pump": "03:05"}
  ]
}
)";

class PlanFilesEndToEnd : public SimDialogTest {
protected:
    // The device also writes what it holds to held.txt.
    void Start(std::vector<std::string> faults = {}) {
        faults.insert(faults.begin(), {"--state-out", (dir / "held.txt").string()});
        StartDevice(kState, faults);
        ASSERT_FALSE(HasFatalFailure());
        StartDialog();
        ASSERT_TRUE(Wait(
            [&] { return PanelTestAccess::bFollowZrnClock(dialog->panels.clock) == 1; }, 15000));
    }
    bool NoneReading() const {
        for (int i = 0; i < 4; ++i)
            if (dialog->panels.schedule.OnDevice().State(i) == zrn::ReadState::Reading)
                return false;
        return true;
    }
    void Menu(unsigned command) {
        ::Notify n;
        n.id = kWindow;
        n.code = WM_SYSCOMMAND;
        n.wParam = command;
        dialog->Deliver(n);
    }
    // What the device holds now, in the program's terms.
    zrn::ScheduleTable Held() {
        zrnsim::DeviceState held = zrnsim::DefaultState(0);
        std::ifstream in(dir / "held.txt");
        std::string error;
        EXPECT_TRUE(zrnsim::ApplyState(in, held, std::time(nullptr), error)) << error;
        zrn::ScheduleTable table{};
        for (int i = 0; i < 4; ++i) {
            zrn::ScheduleEntry& e = table[static_cast<std::size_t>(i)];
            e = FromDevice(held.schedules[i], i + 1);
            if (e.chStatus == zrn::STATUS_EMPTY) {
                // All a plan says of an empty slot.
                zrn::ScheduleEntry empty{};
                empty.nNumber = e.nNumber;
                empty.chStatus = e.chStatus;
                e = empty;
            }
        }
        return table;
    }
    // Frames the device received since mark that change a schedule.
    std::vector<std::string> ScheduleChangesFrom(std::size_t mark) {
        const std::vector<std::string> lines = Trace();
        std::vector<std::string> changes;
        for (std::size_t n = mark; n < lines.size(); ++n) {
            const std::string& line = lines[n];
            if (!line.starts_with("> S") || line.size() < 6)
                continue;
            const std::string frame = line.substr(2);
            const bool status =
                frame.size() == 3 && std::string("AD0").find(frame[2]) != std::string::npos;
            if (frame[1] >= '1' && frame[1] <= '4' &&
                (status || frame.find('|') != std::string::npos))
                changes.push_back(frame);
        }
        return changes;
    }
};

} // namespace

TEST_F(PlanFilesEndToEnd, ImportStoresThePlanAndExportWritesTheBytesZrnctlWrites) {
    Start();
    ASSERT_TRUE(Wait([&] { return AllRead(); }));
    const fs::path plan = Write("plan.json", kPlan);
    MessageBoxAnswer yes(IDYES);
    {
        FileDialogAnswer choose(plan.string());
        Menu(IDM_IMPORT_SCHEDULES);
        ASSERT_EQ(choose.asked.size(), 1u);
        EXPECT_EQ(choose.asked[0].kind, FileDialogKind::Open);
        EXPECT_EQ(choose.asked[0].filter, "Plan files (*.json)");
    }
    ASSERT_GE(yes.asked.size(), 1u);
    EXPECT_EQ(yes.asked[0].text, "Replace 4 schedules on the device (1, 2, 3 and 4) with those of "
                                 "plan.json?");
    // One box once every read-back is in: what each schedule holds.
    ASSERT_TRUE(Wait([&] { return yes.asked.size() == 2; }, 20000));
    const std::string report = yes.asked[1].text;
    EXPECT_TRUE(report.starts_with("The device holds the schedules of plan.json:")) << report;
    EXPECT_NE(report.find("Schedule 2: active 2027-03-03T07:00:00 to 2027-03-10T06:59:59, every "
                          "00:15:00, valve 01:30, hold 00:45, pump 02:00"),
              std::string::npos)
        << report;
    EXPECT_NE(dialog->GetDlgItemText(IDC_LOG).find("Schedule 3: empty"), std::string::npos);

    // The device holds exactly the plan, and the list shows it.
    EXPECT_EQ(zrn::WritePlan(Held()), kPlan);
    ListView* list = dialog->Item<ListView>(IDC_LIST_CTRL);
    ASSERT_EQ(list->GetItemCount(), 3);
    EXPECT_EQ(list->GetItemText(0, 0).toStdString(), "Inactive");
    EXPECT_EQ(list->GetItemText(1, 0).toStdString(), "Active");
    EXPECT_EQ(list->GetItemText(1, 1).toStdString(), "03/03/2027");
    EXPECT_EQ(list->GetItemText(2, 5).toStdString(), "00:30:00");

    const fs::path exported = dir / "exported.json";
    {
        FileDialogAnswer choose(exported.string());
        Menu(IDM_EXPORT_SCHEDULES);
    }
    EXPECT_EQ(Read(exported), kPlan);
    EXPECT_FALSE(fs::exists(dir / "exported.json.partial"));

    // zrnctl's export of the same device, once the dialog has let the port go.
    Link().close();
    dialog.reset();
    const std::string command = std::string(ZRNCTL_PROGRAM) + " --port " + sim->TerminalPath() +
                                " plan export " + (dir / "zrnctl.json").string() + " >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(Read(dir / "zrnctl.json"), Read(exported));
}

TEST_F(PlanFilesEndToEnd, FilesThatAreRefusedSendNothing) {
    Start();
    ASSERT_TRUE(Wait([&] { return AllRead(); }));
    const std::string overlap =
        R"({"zrn_plan": 1, "schedules": [{"schedule": 2, "status": "active", "start": )"
        R"("2026-06-07T00:00:00", "stop": "2026-06-09T00:00:00", "interval": "00:15:00", )"
        R"("valve": "01:00", "hold": "01:00", "pump": "01:00"}]})";
    const struct {
        std::string text;
        std::string box;
    } files[] = {
        {"{\"zrn_plan\": 1,\n  \"schedules\": [}", "bad.json: not JSON at line 2, column 17"},
        {R"({"zrn_plan": 1, "schedules": [{"schedule": 3, "status": "empty", "pump": "01:00"}]})",
         "bad.json: schedules[0].pump: an empty schedule takes no pump"},
        {overlap, "bad.json does not fit the device: schedules[0]: active from "
                  "2026-06-07T00:00:00 to 2026-06-09T00:00:00 overlaps active schedule 1 on the "
                  "device"},
    };
    const std::size_t mark = Trace().size();
    for (const auto& file : files) {
        FileDialogAnswer choose(Write("bad.json", file.text).string());
        MessageBoxAnswer ok(IDOK);
        Menu(IDM_IMPORT_SCHEDULES);
        ASSERT_EQ(ok.asked.size(), 1u) << file.text;
        EXPECT_TRUE(ok.asked[0].text.starts_with(file.box)) << ok.asked[0].text;
        EXPECT_TRUE(ok.asked[0].text.ends_with("\nNothing was sent.")) << ok.asked[0].text;
    }
    // Polling goes on; nothing that changes a schedule reaches the device.
    QTest::qWait(1500);
    EXPECT_TRUE(ScheduleChangesFrom(mark).empty());
}

TEST_F(PlanFilesEndToEnd, ARefusedUploadIsReportedAndTheListShowsTheDevicesCopy) {
    // A line that refuses about one frame in three: some value of the plan is
    // not taken.
    Start({"--nak-rate", "0.3", "--seed", "11"});
    const fs::path plan = Write("plan.json", kPlan);
    MessageBoxAnswer yes(IDYES);
    {
        FileDialogAnswer choose(plan.string());
        Menu(IDM_IMPORT_SCHEDULES);
    }
    ASSERT_GE(yes.asked.size(), 1u);
    ASSERT_TRUE(yes.asked[0].text.starts_with("Replace 4 schedules")) << yes.asked[0].text;
    // The refusals and what each schedule holds, in one box.
    ASSERT_TRUE(Wait([&] { return yes.asked.size() == 2; }, 30000));
    QTest::qWait(200);
    ASSERT_EQ(yes.asked.size(), 2u);
    const std::string report = yes.asked[1].text;
    EXPECT_NE(report.find("The device does not hold the schedules of plan.json. No schedule was "
                          "activated. It now holds:"),
              std::string::npos)
        << report;
    EXPECT_TRUE(report.find("was not stored as shown.") != std::string::npos ||
                report.find("could not be read back") != std::string::npos)
        << report;
    // What the program read back is what the device holds, and nothing planned
    // active was switched on.
    ASSERT_TRUE(Wait([&] { return NoneReading(); }));
    const zrn::ScheduleTable held = Held();
    for (int i = 0; i < 4; ++i) {
        EXPECT_NE(held[i].chStatus, zrn::STATUS_ACTIVE) << "schedule " << i + 1;
        if (!dialog->panels.schedule.OnDevice().IsRead(i))
            continue;
        const zrn::ScheduleEntry& shown = PanelTestAccess::sched(dialog->panels.schedule).table[i];
        EXPECT_EQ(shown.chStatus, held[i].chStatus) << "schedule " << i + 1;
        if (held[i].chStatus != zrn::STATUS_EMPTY) {
            EXPECT_EQ(shown, held[i]) << "schedule " << i + 1;
        }
    }
}
