// Moving the schedule table between the program and the device: the
// download, the upload of one entry, the replies and the test request.
#include "platform/DebugOutput.h"
#include "platform/Win.h"
#include "protocol/Catalogue.h"
#include "schedule/ScheduleLogic.h"
#include "schedule/SchedulePanel.h"
#include "shell/Resource.h"

#include <cstdarg>
#include <cstdio>

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
    // The nine queries of entry index + 1, status first; the schedule handler reads the replies.
    for (const std::string& command : zrn::ScheduleReadSequence(index + 1))
        SendCommand(command);
}

void CZRNcomDlg::UploadScheduleEntry(int index) {
    if (index < 0 || index >= zrn::SCHEDULE_ENTRY_COUNT)
        return;
    for (const std::string& command :
         zrn::ScheduleUploadSequence(sched.table[static_cast<size_t>(index)]))
        SendCommand(command);
}

void CZRNcomDlg::RefreshSchedules() {
    sched.nSelectedRow = zrn::NO_SELECTABLE_ACTIVE_ENTRY;
    for (int id :
         {IDC_START_DATE, IDC_START_TIME, IDC_STOP_DATE, IDC_STOP_TIME, IDC_INTERVAL,
          IDC_SAMPLE_HOLDING, IDC_OPEN_VALVE, IDC_PUMP_ON, IDC_BUTTON_DISCARD, IDC_BUTTON_SAVE})
        EnableItem(id, false);
    EnableItem(IDC_BUTTON_ADD, true);
    // The replies fill the table back one by one; the list follows each of them.
    for (zrn::ScheduleEntry& entry : sched.table)
        entry.chStatus = zrn::STATUS_EMPTY;
    sched.bEditPending = 0;
    for (int index = 0; index < zrn::SCHEDULE_ENTRY_COUNT; ++index)
        QueryScheduleEntry(index);
}

void CZRNcomDlg::ProcessScheduleResponse() {
    const zrn::ScheduleReply reply = zrn::ParseScheduleReply(strResponse);
    switch (zrn::ApplyScheduleReply(sched.table, reply)) {
    case zrn::ReplyEffect::SdiDuration:
        // Schedule number 5 carries the SDI row's durations: the settings panel shows them.
        ProcessSdiDurationResponse(strResponse[2], reply.nValues[1], reply.nValues[2]);
        return;
    case zrn::ReplyEffect::Rebuild:
        RefreshScheduleList();
        return;
    case zrn::ReplyEffect::Ignored:
        return;
    }
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
