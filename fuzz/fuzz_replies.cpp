// The program's reply path: arbitrary reply texts into the main dialog's
// dispatcher, and so into every reply handler, with what the dialog shows
// checked after each one. Offscreen; the link is a stub.

#include "../tests/app/shell/PanelTestAccess.h"
#include "model/Catalogue.h"
#include "model/ClockSync.h"
#include "model/ScheduleRules.h"
#include "platform/MessageBox.h"
#include "platform/Win.h"
#include "protocol/LinkApi.h"
#include "resources/Resource.h"
#include "shell/ZRNcomDlg.h"

#include <QApplication>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <regex>
#include <string>

namespace {

[[noreturn]] void Fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "check failed: %s: \"%s\"\n", what, detail.c_str());
    std::abort();
}

// One dialog for the whole run, as in the program: state carries over from
// one reply to the next.
struct Program {
    Program() {
        dialog.options.strIniFile = "/nonexistent/ZRNcom.ini";
        dialog.Create();
        dialog.link.bLinkOpen = 1;
    }
    int argc = 1;
    char name[16] = "fuzz_replies";
    char* argv[2] = {name, nullptr};
    QApplication application{argc, argv};
    CZRNcomDlg dialog{"ZRNcom"};
};

Program* program = nullptr;

bool Matches(const std::string& text, const std::regex& pattern) {
    return std::regex_match(text, pattern);
}

const std::regex kVersion("[0-9]{1,2}:[0-9]{2}");
const std::regex kDate("[0-9]{2}/[0-9]{2}/-?[0-9]{4,}");
const std::regex kTime("[0-9]{2}:[0-9]{2}:[0-9]{2} (AM|PM)");
const std::regex kInterval("([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]");
const std::regex kSdiSeconds("[ 0-9]{2}[0-9]|\\?\\?\\?");

int Field(const std::string& text, std::size_t at) {
    return std::atoi(text.c_str() + at);
}

// Every row shows a non-empty entry whose fields pass the range checks, and the
// row map agrees with the rows.
void CheckSchedules(CZRNcomDlg& dlg) {
    ListView* list = dlg.Item<ListView>(IDC_LIST_CTRL);
    const int rows = list->GetItemCount();
    if (rows < 0 || rows > zrn::SCHEDULE_ENTRY_COUNT)
        Fail("schedule rows", std::to_string(rows));
    for (int r = 0; r < zrn::SCHEDULE_ENTRY_COUNT; ++r) {
        const int entry =
            PanelTestAccess::sched(dlg.panels.schedule).nRowEntry[static_cast<std::size_t>(r)];
        if (r >= rows) {
            if (entry != -1)
                Fail("row map past the rows", std::to_string(entry));
            continue;
        }
        if (entry < 0 || entry >= zrn::SCHEDULE_ENTRY_COUNT || list->GetItemData(r) != entry)
            Fail("row map", std::to_string(entry));
        const zrn::ScheduleEntry& e =
            PanelTestAccess::sched(dlg.panels.schedule).table[static_cast<std::size_t>(entry)];
        const std::string status = list->GetItemText(r, 0).toStdString();
        if (e.chStatus == zrn::STATUS_EMPTY ||
            status != (e.chStatus == zrn::STATUS_ACTIVE ? "Active" : "Inactive"))
            Fail("row status", status);
        if (zrn::CheckEntry(e, PanelTestAccess::sched(dlg.panels.schedule).nDaylightFlag, {})
                .bCorrected)
            Fail("row of an out-of-range entry", std::to_string(entry));
        const std::string texts[] = {
            list->GetItemText(r, 1).toStdString(), list->GetItemText(r, 2).toStdString(),
            list->GetItemText(r, 3).toStdString(), list->GetItemText(r, 4).toStdString(),
            list->GetItemText(r, 5).toStdString()};
        if (!Matches(texts[0], kDate) || !Matches(texts[1], kTime) || !Matches(texts[2], kDate) ||
            !Matches(texts[3], kTime) || !Matches(texts[4], kInterval))
            Fail("row texts", texts[0] + " " + texts[1] + " " + texts[4]);
    }
}

// The SDI row: one address character, durations as "%3d" of 0..999 or "???".
void CheckSdiRow(CZRNcomDlg& dlg) {
    // The box holds UTF-8: a noise byte from the device shows as one character of
    // up to three bytes.
    const std::string address = dlg.GetDlgItemText(IDC_SDI_ADDRESS);
    const auto characters = std::count_if(address.begin(), address.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    });
    if (characters > 1)
        Fail("address", address);
    for (int id : {IDC_VALVE_SECS, IDC_HOLD_SECS, IDC_PUMP_SECS}) {
        const std::string shown = dlg.GetDlgItemText(id);
        if (!shown.empty() && !Matches(shown, kSdiSeconds))
            Fail("SDI duration", shown);
    }
}

void CheckShown(CZRNcomDlg& dlg) {
    const std::string version = dlg.GetDlgItemText(IDC_VERSION);
    if (!version.empty()) {
        // Two digits each from the reply: 0..99.
        if (PanelTestAccess::nVersionMajor(dlg.panels.status) < 0 ||
            PanelTestAccess::nVersionMajor(dlg.panels.status) > 99 ||
            PanelTestAccess::nVersionMinor(dlg.panels.status) < 0 ||
            PanelTestAccess::nVersionMinor(dlg.panels.status) > 99 || !Matches(version, kVersion))
            Fail("version", version);
    }
    for (const auto& [id, volts] :
         {std::pair{IDC_EXTERNAL_VOLTS, PanelTestAccess::fExternalVolts(dlg.panels.status)},
          std::pair{IDC_INTERNAL_VOLTS, PanelTestAccess::fInternalVolts(dlg.panels.status)}}) {
        const std::string shown = dlg.GetDlgItemText(id);
        if (shown != zrn::VoltsText(volts) || shown.find(',') != std::string::npos)
            Fail("voltage", shown);
    }
    const std::string date = dlg.GetDlgItemText(IDC_ZRN_DATE_TEXT);
    if (!date.empty()) {
        if (!Matches(date, kDate) || Field(date, 0) < 1 || Field(date, 0) > 12 ||
            Field(date, 3) < 1 || Field(date, 3) > 31)
            Fail("device date", date);
    }
    const std::string time = dlg.GetDlgItemText(IDC_ZRN_TIME_TEXT);
    if (!time.empty()) {
        if (!Matches(time, kTime) || Field(time, 0) < 1 || Field(time, 0) > 12 ||
            Field(time, 3) > 59 || Field(time, 6) > 59)
            Fail("device time", time);
    }
    if (PanelTestAccess::nSyncAttempts(dlg.panels.clock) < 0 ||
        PanelTestAccess::nSyncAttempts(dlg.panels.clock) > zrn::MAX_SYNC_ATTEMPTS ||
        (PanelTestAccess::bSyncToPc(dlg.panels.clock) != 0 &&
         PanelTestAccess::bSyncToPc(dlg.panels.clock) != 1))
        Fail("synchronise state", std::to_string(PanelTestAccess::nSyncAttempts(dlg.panels.clock)));
    CheckSchedules(dlg);
    CheckSdiRow(dlg);
}

} // namespace

// The font library keeps caches for the life of the process.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Local times with daylight saving: folds and gaps come up.
    setenv("TZ", "Europe/Berlin", 1);
    Link().open = [](HWND, const char*) { return 1; };
    Link().send = [](const char*) { return 1; };
    Link().close = [] { return 1; };
    Link().log = [](bool) { return 1; };
    SetMessageBoxHook([](const MessageBoxRequest&) { return win::IDOK; });
    program = new Program; // lives for the whole run
    return 0;
}

// Lines of the input are replies, in order. A line starting with 0x01 goes as
// a "D" data notification, one starting with 0x02 presses "Synchronize ZRN
// clock to PC" first.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CZRNcomDlg& dlg = program->dialog;
    // The log box is trimmed by the program; emptied here each time, it keeps
    // the text layout cheap.
    dlg.SetDlgItemText(IDC_LOG, "");
    std::string input(reinterpret_cast<const char*>(data), size);
    std::size_t start = 0;
    while (start <= input.size()) {
        std::size_t end = input.find('\n', start);
        if (end == std::string::npos)
            end = input.size();
        // The link hands over NUL-terminated text: a NUL ends the reply.
        std::string reply = input.substr(start, end - start);
        reply = reply.substr(0, reply.find('\0'));
        uintptr_t code = LINK_REPLY;
        if (!reply.empty() && reply.front() == '\x01') {
            code = LINK_DATA;
            reply.erase(0, 1);
        } else if (!reply.empty() && reply.front() == '\x02') {
            dlg.SendMessage(IDC_SYNC_ZRN_CLOCK, win::BN_CLICKED);
            reply.erase(0, 1);
        }
        dlg.SendMessage(kWindow, WM_ZRN_LINK, code, reinterpret_cast<intptr_t>(reply.c_str()));
        CheckShown(dlg);
        start = end + 1;
    }
    return 0;
}
