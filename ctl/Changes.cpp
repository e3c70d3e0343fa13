#include "Changes.h"

#include "Describe.h"
#include "Result.h"

#include <cstdio>
#include <ctime>
#include <mutex>

namespace zrnctl {
namespace {

// The identification's fields, each without its padding, one space apart;
// without the SDI version, which would only make every backup name begin alike.
std::string Identification(const zrn::SdiIdent& ident, bool sdiVersion) {
    std::string text;
    for (const std::string* field : {&ident.strVersion, &ident.strMfgName, &ident.strMfgModel,
                                     &ident.strMfgVersion, &ident.strMfgOptional}) {
        if (field == &ident.strVersion && !sdiVersion)
            continue;
        const std::string_view trimmed = zrn::TrimBlanks(*field);
        if (!trimmed.empty())
            text += (text.empty() ? "" : " ") + std::string(trimmed);
    }
    return text;
}

} // namespace

void Changes::BeforeFirstChange(Device& device) {
    device.Progress("saving a backup");
    const zrn::SdiIdent ident = zrn::ParseIdentReply(device.Query(zrn::IdentQuery()));
    device_ = Identification(ident, true) + ", firmware " +
              FirmwareText(device.Query(zrn::VersionQuery())).value_or("unknown");
    zrn::ScheduleTable table{};
    if (device.KnownTable())
        table = *device.KnownTable();
    else
        for (int n = 1; n <= zrn::SCHEDULE_ENTRY_COUNT; ++n)
            table[n - 1u] = device.ReadSchedule(n);
    const SdiSettings sdi = device.KnownSdi() ? *device.KnownSdi() : device.ReadSdi();
    SdiChange settings;
    if (sdi.address.size() == 1)
        settings.address = sdi.address[0];
    settings.delay = sdi.delay;
    settings.valve = sdi.valve;
    settings.hold = sdi.hold;
    settings.pump = sdi.pump;
    const auto text = zrn::ExportText(table, settings);
    if (const Refusal* refusal = std::get_if<Refusal>(&text)) {
        Warn("no backup: the device holds what a plan cannot carry (" + refusal->Text() + ")");
        return;
    }
    const auto saved = zrn::SaveBackup(Identification(ident, false), std::get<std::string>(text),
                                       std::time(nullptr));
    if (const std::string* why = std::get_if<std::string>(&saved))
        Warn("no backup: " + *why);
    else
        backup_ = std::get<std::filesystem::path>(saved).string();
}

void Changes::Changed(const std::string& what, const Json& before, const Json& after,
                      zrn::ChangeResult result) {
    const zrn::ChangeRecord change{"zrnctl", ZRNCTL_VERSION, port_, device_,
                                   what,     before,         after, result};
    if (const std::optional<std::string> why = zrn::RecordChange(change))
        Warn(*why);
}

void Changes::AddTo(DeviceResult& result) const {
    if (backup_) {
        result.lines.push_back("backup: " + *backup_);
        result.details["backup"] = *backup_;
    }
    for (const std::string& warning : warnings_)
        result.lines.push_back("warning: " + warning);
    if (!warnings_.empty())
        result.details["warnings"] = warnings_;
}

void Changes::Warn(const std::string& warning) {
    // A warning once per run and device is enough, also for a journal that
    // fails on every change.
    for (const std::string& seen : warnings_)
        if (seen == warning)
            return;
    warnings_.push_back(warning);
    static std::mutex mutex; // every port's thread writes here
    const std::string line = "zrnctl: " + port_ + ": warning: " + warning + "\n";
    const std::lock_guard lock(mutex);
    std::fwrite(line.data(), 1, line.size(), stderr);
}

} // namespace zrnctl
