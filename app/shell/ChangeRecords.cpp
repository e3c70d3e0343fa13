// The dialog's side of the fleet state: what the device held, saved before the
// first change of a connection, and a journal line for each change.
#include "fleet/Backup.h"
#include "model/Plan.h"
#include "shell/ZRNcomDlg.h"

#include <ctime>
#include <string>
#include <variant>

void CZRNcomDlg::BeforeChange() {
    if (link.bBackedUp)
        return;
    const zrn::DeviceSchedules& device = panels.schedule.OnDevice();
    zrn::ScheduleTable table{};
    for (int i = 0; i < zrn::SCHEDULE_ENTRY_COUNT; ++i) {
        if (!device.IsRead(i)) {
            // Half a table would import back as something the device never held.
            AppendLog("No backup before this change: schedule " + std::to_string(i + 1) +
                      " has not been read");
            return;
        }
        table[static_cast<std::size_t>(i)] = device.Entry(i);
    }
    link.bBackedUp = true;
    const auto saved = zrn::SaveBackup(panels.status.DeviceText() + " " + link.strOpenPort,
                                       zrn::WritePlan(table), std::time(nullptr));
    if (const auto* file = std::get_if<std::filesystem::path>(&saved))
        AppendLog("Backup of the device's schedules: " + file->string());
    else
        AppendLog("No backup before this change: " + std::get<std::string>(saved));
}

void CZRNcomDlg::ChangeDone(const std::string& what, const zrn::Json& before,
                            const zrn::Json& after, zrn::ChangeResult result) {
    zrn::ChangeRecord change;
    change.program = "ZRNcom";
    change.version = options.strFileVersion;
    change.port = link.strOpenPort;
    change.device = panels.status.DeviceText();
    change.what = what;
    change.before = before;
    change.after = after;
    change.result = result;
    if (const auto warning = zrn::RecordChange(change))
        AppendLog("The journal of changes was not written: " + *warning);
}
