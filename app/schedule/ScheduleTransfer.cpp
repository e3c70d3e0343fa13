// Moving the schedule table between the program and the device: the
// download, the upload of one entry, the replies and the test request.
#include "model/Catalogue.h"
#include "model/PlanJson.h"
#include "platform/DebugOutput.h"
#include "platform/PcClock.h"
#include "platform/Win.h"
#include "protocol/ReplyTable.h"
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

zrn::LineSink LogSink(PanelHost& host) {
    return [&host](std::string_view line) { host.AppendLog(line); };
}

zrn::LineSink TraceSink() {
    return [](std::string_view line) { OutputDebugString(line); };
}

} // namespace schedpanel

SchedulePanel::SchedulePanel(PanelHost& host, const ClockPanel& clock, const std::string& iniFile)
    : PanelOf(host), intervals(host, *this, iniFile), clock(clock) {
    // The pickers show the current time until the device is read.
    const int64_t now = PcTime();
    tStartDatePicker = tStartTimePicker = now;
    tStopDatePicker = tStopTimePicker = now;
    sched.nDaylightFlag = -1;
    sched.nSelectedRow = zrn::NO_SELECTABLE_ACTIVE_ENTRY;
}

void SchedulePanel::RegisterReplies(ReplyTable& replies) {
    replies.Add("S", [this](const std::string& reply) { ProcessScheduleResponse(reply); });
}

void SchedulePanel::LinkClosed() {
    for (const zrn::DeviceSchedules::Outcome& outcome : onDevice.LinkClosed())
        ApplyDeviceOutcome(outcome);
}

void SchedulePanel::ReplyLost(const std::string& queryKey) {
    // Values that polling asks for anyway wait for their next turn.
    ApplyDeviceOutcome(onDevice.Lost(queryKey));
}

void SchedulePanel::QueryAllEntries() {
    for (int index = 0; index < zrn::SCHEDULE_ENTRY_COUNT; ++index)
        QueryScheduleEntry(index);
}

void SchedulePanel::QueryScheduleEntry(int index) {
    // The nine queries of entry index + 1, status first; the entry counts as read
    // once every one of them has been answered.
    ReadBack(index, zrn::ALL_PARTS, {});
}

void SchedulePanel::ReadBack(int index, std::uint16_t parts, const zrn::Expectation& expect) {
    BeginReadBack(index, parts, expect);
    RefreshScheduleList();
}

void SchedulePanel::BeginReadBack(int index, std::uint16_t parts, const zrn::Expectation& expect) {
    std::optional<zrn::Expectation> check;
    if (expect.entry.nNumber != 0) {
        check = expect;
        // Not yet read back: still what the device held before the change.
        heldBefore[static_cast<size_t>(index)] = onDevice.Entry(index);
    }
    readFrom[static_cast<size_t>(index)] = host.NextQuery();
    const zrn::CommandList queries = onDevice.BeginRead(index, parts, std::move(check));
    if (!host.LinkOpen()) {
        // Nothing can go out: what the device holds stays unknown.
        onDevice.ReadNotSent(index);
    }
    for (const std::string& command : queries)
        host.SendCommand(command);
}

void SchedulePanel::UploadScheduleEntry(int index) {
    if (index < 0 || index >= zrn::SCHEDULE_ENTRY_COUNT)
        return;
    SendEntry(index);
    RefreshScheduleList();
}

void SchedulePanel::SendEntry(int index) {
    const zrn::ScheduleEntry& entry = sched.table[static_cast<size_t>(index)];
    host.BeforeChange();
    for (const std::string& command : zrn::ScheduleUploadSequence(entry))
        host.SendCommand(command);
    // The device's own word on what it stored: a refused value shows here.
    BeginReadBack(index, zrn::ALL_PARTS, {zrn::Change::Upload, entry});
}

void SchedulePanel::RefreshSchedules() {
    sched.nSelectedRow = zrn::NO_SELECTABLE_ACTIVE_ENTRY;
    for (int id :
         {IDC_START_DATE, IDC_START_TIME, IDC_STOP_DATE, IDC_STOP_TIME, IDC_INTERVAL,
          IDC_SAMPLE_HOLDING, IDC_OPEN_VALVE, IDC_PUMP_ON, IDC_BUTTON_DISCARD, IDC_BUTTON_SAVE})
        Window().EnableItem(id, false);
    Window().EnableItem(IDC_BUTTON_ADD, true);
    // The rows say "Reading..." until every reply of their entry is in.
    sched.bEditPending = 0;
    QueryAllEntries();
    RefreshScheduleList();
}

int SchedulePanel::EditedEntry() const {
    return sched.bEditPending ? zrn::SelectedEntryIndex(sched) : -1;
}

zrn::ReadStates SchedulePanel::ListedStates() const {
    zrn::ReadStates states{};
    for (int i = 0; i < zrn::SCHEDULE_ENTRY_COUNT; ++i)
        states[static_cast<size_t>(i)] = onDevice.State(i);
    if (const int edited = EditedEntry(); edited >= 0)
        states[static_cast<size_t>(edited)] = zrn::ReadState::Read;
    return states;
}

void SchedulePanel::ApplyDeviceOutcome(const zrn::DeviceSchedules::Outcome& outcome) {
    for (const std::string& query : outcome.ask)
        host.SendCommand(query);
    if (outcome.report)
        host.ReportLater(*outcome.report);
    const int index = outcome.nEntry;
    if (outcome.checked && index >= 0)
        host.ChangeDone("schedule " + std::to_string(index + 1),
                        zrn::ScheduleJson(heldBefore[static_cast<size_t>(index)]),
                        zrn::ScheduleJson(outcome.checked->entry),
                        outcome.bCompleted && !outcome.report ? zrn::ChangeResult::Verified
                                                              : zrn::ChangeResult::Unknown);
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

void SchedulePanel::ProcessScheduleResponse(const std::string& text) {
    const zrn::ScheduleReply reply = zrn::ParseScheduleReply(text);
    if (reply.kind == zrn::ScheduleReplyKind::Ignored)
        return;
    if (reply.nNumber == 5)
        return; // the settings panel takes schedule number 5's replies
    if (const auto answered = host.AnsweredQuery();
        answered && reply.nNumber >= 1 && reply.nNumber <= zrn::SCHEDULE_ENTRY_COUNT &&
        *answered < readFrom[static_cast<size_t>(reply.nNumber - 1)]) {
        // A read begun since asked again: this tells of the entry before it.
        DebugTrace("ZRNcom/ProcessScheduleResponse; earlier read: %s\n", text.c_str());
        return;
    }
    const zrn::DeviceSchedules::Outcome outcome = onDevice.Arrived(reply);
    if (outcome.nEntry < 0) {
        RefreshScheduleList(); // a reply of an entry with nothing it understands
        return;
    }
    ApplyDeviceOutcome(outcome);
}

void SchedulePanel::OnBnClickedScheduleRefresh() {
    RefreshSchedules();
}

void SchedulePanel::OnBnClickedButtonSchedule() {
    // Reads the table again without emptying it first.
    QueryAllEntries();
}

void SchedulePanel::OnEntryTest() {
    const int nEntry = zrn::SelectedEntryIndex(sched);
    if (nEntry < 0)
        return;
    host.SendCommand(zrn::ScheduleTestCommand(sched.table[static_cast<size_t>(nEntry)].nNumber));
}
