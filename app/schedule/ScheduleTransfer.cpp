// Moving the schedule table between the program and the device: the
// download, the upload of one entry, the replies and the test request.
#include "model/Catalogue.h"
#include "platform/DebugOutput.h"
#include "platform/Win.h"
#include "resources/Resource.h"
#include "schedule/ScheduleLogic.h"
#include "schedule/SchedulePanel.h"

#include <cstdarg>
#include <cstdio>
#include <optional>

using namespace win;

namespace schedpanel {

std::string Text(const char* format, ...) {
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

zrn::LineSink LogSink(CZRNcomDlg& dialog) {
    return [&dialog](std::string_view line) { dialog.AppendLog(line); };
}

zrn::LineSink TraceSink() {
    return [](std::string_view line) { OutputDebugString(line); };
}

} // namespace schedpanel

void CZRNcomDlg::QueryScheduleEntry(int index) {
    // The nine queries of entry index + 1, status first; the entry counts as read
    // once every one of them has been answered.
    ReadBack(index, zrn::ALL_PARTS, {});
}

void CZRNcomDlg::ReadBack(int index, std::uint16_t parts, const zrn::Expectation& expect) {
    std::optional<zrn::Expectation> check;
    if (expect.entry.nNumber != 0)
        check = expect;
    const zrn::CommandList queries = onDevice.BeginRead(index, parts, std::move(check));
    if (!bLinkOpen) {
        // Nothing can go out: what the device holds stays unknown.
        onDevice.ReadNotSent(index);
    }
    for (const std::string& command : queries)
        SendCommand(command);
    RefreshScheduleList();
}

void CZRNcomDlg::UploadScheduleEntry(int index) {
    if (index < 0 || index >= zrn::SCHEDULE_ENTRY_COUNT)
        return;
    const zrn::ScheduleEntry& entry = sched.table[static_cast<size_t>(index)];
    for (const std::string& command : zrn::ScheduleUploadSequence(entry))
        SendCommand(command);
    // The device's own word on what it stored: a refused value shows here.
    ReadBack(index, zrn::ALL_PARTS, {zrn::Change::Upload, entry});
}

void CZRNcomDlg::RefreshSchedules() {
    sched.nSelectedRow = zrn::NO_SELECTABLE_ACTIVE_ENTRY;
    for (int id :
         {IDC_START_DATE, IDC_START_TIME, IDC_STOP_DATE, IDC_STOP_TIME, IDC_INTERVAL,
          IDC_SAMPLE_HOLDING, IDC_OPEN_VALVE, IDC_PUMP_ON, IDC_BUTTON_DISCARD, IDC_BUTTON_SAVE})
        EnableItem(id, false);
    EnableItem(IDC_BUTTON_ADD, true);
    // The rows say "Reading..." until every reply of their entry is in.
    sched.bEditPending = 0;
    for (int index = 0; index < zrn::SCHEDULE_ENTRY_COUNT; ++index)
        QueryScheduleEntry(index);
    RefreshScheduleList();
}

int CZRNcomDlg::EditedEntry() const {
    return sched.bEditPending ? zrn::SelectedEntryIndex(sched) : -1;
}

zrn::ReadStates CZRNcomDlg::ListedStates() const {
    zrn::ReadStates states{};
    for (int i = 0; i < zrn::SCHEDULE_ENTRY_COUNT; ++i)
        states[static_cast<size_t>(i)] = onDevice.State(i);
    if (const int edited = EditedEntry(); edited >= 0)
        states[static_cast<size_t>(edited)] = zrn::ReadState::Read;
    return states;
}

void CZRNcomDlg::ApplyDeviceOutcome(const zrn::DeviceSchedules::Outcome& outcome) {
    for (const std::string& query : outcome.ask)
        SendCommand(query);
    if (outcome.report)
        ReportLater(*outcome.report);
    const int index = outcome.nEntry;
    if (index < 0)
        return;
    // The entry being edited keeps the operator's values until they are saved or dropped.
    const bool edited = index == EditedEntry();
    if (!edited)
        sched.table[static_cast<size_t>(index)] = onDevice.Entry(index);
    RefreshScheduleList();
    if (outcome.bCompleted && !edited && index == zrn::SelectedEntryIndex(sched))
        ShowSelectedEntry();
    // An import goes on once the read-backs of its step are in.
    planFiles.OnDeviceSchedules();
}

void CZRNcomDlg::ProcessScheduleResponse() {
    const zrn::ScheduleReply reply = zrn::ParseScheduleReply(strResponse);
    if (reply.kind == zrn::ScheduleReplyKind::Ignored)
        return;
    if (reply.nNumber == 5)
        return; // the settings panel takes schedule number 5's replies
    const zrn::DeviceSchedules::Outcome outcome = onDevice.Arrived(reply);
    if (outcome.nEntry < 0) {
        RefreshScheduleList(); // a reply of an entry with nothing it understands
        return;
    }
    ApplyDeviceOutcome(outcome);
}

void CZRNcomDlg::OnBnClickedScheduleRefresh() {
    RefreshSchedules();
}

void CZRNcomDlg::OnBnClickedButtonSchedule() {
    // Reads the table again without emptying it first.
    for (int index = 0; index < zrn::SCHEDULE_ENTRY_COUNT; ++index)
        QueryScheduleEntry(index);
}

void CZRNcomDlg::OnEntryTest() {
    const int nEntry = zrn::SelectedEntryIndex(sched);
    if (nEntry < 0)
        return;
    SendCommand(zrn::ScheduleTestCommand(sched.table[static_cast<size_t>(nEntry)].nNumber));
}
