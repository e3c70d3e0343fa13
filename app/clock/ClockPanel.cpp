// The clock panel: the device clock, the PC clock, setting the device clock.
#include "clock/ClockPanel.h"

#include "model/CalendarTime.h"
#include "model/Catalogue.h"
#include "model/ClockSync.h"
#include "model/PlanText.h"
#include "platform/MessageBox.h"
#include "platform/PanelSupport.h"
#include "platform/PcClock.h"
#include "platform/Win.h"
#include "protocol/LinkApi.h"
#include "protocol/ReplyTable.h"
#include "resources/Resource.h"

#include <cstdio>

using namespace win;
using zrn::FormatLocalTime;
using zrn::TimeText;

namespace {

// Local fields of t; all zero when t cannot be broken down.
zrn::LocalDateTime Fields(int64_t t) {
    return zrn::BreakLocalTime(t).value_or(zrn::LocalDateTime{});
}

// "<lead>M-D-YYYY H:MM:SS<tail>", the form of the edit log lines.
std::string FieldsText(const char* lead, const zrn::LocalDateTime& f, const char* tail = "") {
    char text[160];
    std::snprintf(text, sizeof text, "%s%d-%d-%d %d:%02d:%02d%s", lead, f.month, f.day, f.year,
                  f.hour, f.minute, f.second, tail);
    return text;
}

} // namespace

void ClockPanel::ShowPcClock() {
    const int64_t now = PcTime();
    Window().SetDlgItemText(IDC_PC_DATE, FormatLocalTime(now, TimeText::Date));
    Window().SetDlgItemText(IDC_PC_TIME, FormatLocalTime(now, TimeText::Time));
}

void ClockPanel::SendClockCommand(int64_t t) {
    // Straight to the library, not through SendCommand: a clock change is
    // queued even while no port is open.
    for (const std::string& command : zrn::ClockSetSequence(t))
        Link().send(command.c_str());
    if (clockChange)
        JournalClockChange(std::nullopt); // sent again before a reading told
    clockChange = ClockChange{tZrnClock, t, PcTime(), host.NextQuery()};
}

// Verified when a reading asked after the change is within two seconds of the
// time set plus the seconds since: the device's clock goes on ticking.
void ClockPanel::JournalClockChange(std::optional<int64_t> deviceNow) {
    const ClockChange change = *clockChange;
    clockChange.reset();
    const auto text = [](int64_t t) -> zrn::Json {
        const auto fields = zrn::BreakLocalTime(t);
        return fields && t != 0 ? zrn::Json(zrn::DateTimeText(*fields)) : zrn::Json();
    };
    const int64_t expected = change.tAfter + (PcTime() - change.tSentAtPc);
    const bool verified = deviceNow && *deviceNow - expected <= 2 && expected - *deviceNow <= 2;
    host.ChangeDone("clock", text(change.tBefore), text(change.tAfter),
                    verified ? zrn::ChangeResult::Verified : zrn::ChangeResult::Unknown);
}

void ClockPanel::OnBnClickedButtonClock() {
    host.SendCommand(zrn::ClockQuery());
}

void ClockPanel::ProcessReadClockResponse(const std::string& reply) {
    // 1-2. A reply that does not give all six numbers changes nothing.
    const auto fields = zrn::ParseClockReply(reply);
    if (!fields)
        return;
    const auto t = zrn::MakeLocalTime(*fields, daylightFlag);
    if (!t)
        return;
    tZrnClock = *t;
    if (const auto answered = host.AnsweredQuery();
        clockChange && answered && *answered >= clockChange->nFirstQuery)
        JournalClockChange(tZrnClock);
    // 3. An edit in progress keeps its text for this one reply.
    if (bFollowZrnClock) {
        Window().SetDlgItemText(IDC_ZRN_DATE_TEXT, FormatLocalTime(tZrnClock, TimeText::Date));
        Window().SetDlgItemText(IDC_ZRN_TIME_TEXT, FormatLocalTime(tZrnClock, TimeText::Time));
    }
    // 4.
    ShowPcClock();
    // 5. Synchronising goes on, one set-clock sequence per reply, until the
    //    clocks agree or the device has had its attempts.
    const int64_t now = PcTime();
    switch (zrn::NextSyncAction(bSyncToPc != 0, nSyncAttempts, now, tZrnClock)) {
    case zrn::SyncAction::None:
        break;
    case zrn::SyncAction::Agreed:
        bSyncToPc = 0;
        break;
    case zrn::SyncAction::Send:
        ++nSyncAttempts;
        SendClockCommand(now);
        break;
    case zrn::SyncAction::GiveUp:
        bSyncToPc = 0;
        // Sampling must not stay paused by a hold whose release went astray.
        Link().send(zrn::ClockReleaseCommand().c_str());
        host.AppendLog(
            "Synchronize ZRN clock to PC: the ZRN clock still differs from the PC clock after " +
            std::to_string(zrn::MAX_SYNC_ATTEMPTS) + " attempts; stopped.");
        break;
    }
    // 6-7.
    host.AppendLog("CZRNcomDlg/ProcessReadClockResponse: " + reply + "\r\n");
    bFollowZrnClock = 1;
}

void ClockPanel::OnSetfocusZrnDateText() {
    Window().ShowItem(IDC_ZRN_DATE_TEXT, false);
    SetPickerTime(Window(), IDC_ZRN_DATE, DeviceClockOrPc());
    Window().ShowItem(IDC_ZRN_DATE, true);
    Window().GotoDlgCtrl(IDC_ZRN_DATE);
}

void ClockPanel::OnSetfocusZrnTimeText() {
    Window().ShowItem(IDC_ZRN_TIME_TEXT, false);
    SetPickerTime(Window(), IDC_ZRN_TIME, DeviceClockOrPc());
    Window().ShowItem(IDC_ZRN_TIME, true);
    Window().GotoDlgCtrl(IDC_ZRN_TIME);
}

void ClockPanel::OnSetfocusZrnPicker(Notify&) {
    Window().UpdateData(true);
}

void ClockPanel::OnKillfocusZrnDate(Notify&) {
    Window().ShowItem(IDC_ZRN_DATE_TEXT, true);
    Window().ShowItem(IDC_ZRN_DATE, false);
}

void ClockPanel::OnKillfocusZrnTime(Notify&) {
    Window().ShowItem(IDC_ZRN_TIME_TEXT, true);
    Window().ShowItem(IDC_ZRN_TIME, false);
}

void ClockPanel::OnDropdownZrnDate(Notify&) {
    host.AppendLog("DateTimePicker/ZRN Date/DropDown");
    bDateDropDown = 1;
}

void ClockPanel::OnDatetimechangeZrnDate(Notify& n) {
    const zrn::LocalDateTime clock = Fields(DeviceClockOrPc());
    if (bDateDropDown) {
        // 1. Browsing the calendar picks nothing yet; the close-up does.
        host.AppendLog(FieldsText(
            "OnChange/ZRN Date: ", {n.year, n.month, n.day, clock.hour, clock.minute, clock.second},
            ", DROPDOWN active"));
    } else {
        // 2. The new date at the device clock's time of day.
        SetPendingClock({n.year, n.month, n.day, clock.hour, clock.minute, clock.second});
        host.AppendLog(FieldsText("OnChange/ZRN Date: ", Fields(tPendingClock), ", New Updated"));
        bFollowZrnClock = 0;
    }
    // 3.
    Window().ShowItem(IDC_CANCEL_CLOCK_EDIT, true);
    Window().SetDlgItemText(IDC_ZRN_DATE_TEXT,
                            FormatLocalTime(PendingOrDeviceClock(), TimeText::Date));
    n.result = 0;
}

void ClockPanel::OnCloseupZrnDate(Notify&) {
    // 1.
    host.AppendLog("DateTimePicker/ZRN Date/CloseUp");
    bDateDropDown = 0;
    // 2.
    const std::optional<PickerFields> picked = GetPickerFields(Window(), IDC_ZRN_DATE);
    if (!picked) {
        host.AppendLog("DateTimePicker/ZRN Date/CloseUp: Not Valid - GDT_VALID");
        return;
    }
    // 3. The picked date keeps the time of day of the value being built.
    const zrn::LocalDateTime base = Fields(PendingOrDeviceClock());
    SetPendingClock(
        {picked->year, picked->month, picked->day, base.hour, base.minute, base.second});
    host.AppendLog("DateTimePicker/ZRN Date/CloseUp: " +
                   FormatLocalTime(tPendingClock, TimeText::DateTime));
    // 4.
    Window().ShowItem(IDC_CANCEL_CLOCK_EDIT, true);
    Window().SetDlgItemText(IDC_ZRN_DATE_TEXT, FormatLocalTime(tPendingClock, TimeText::Date));
    bFollowZrnClock = 0;
}

void ClockPanel::OnDatetimechangeZrnTime(Notify& n) {
    // 1-2.
    host.AppendLog(
        FieldsText("OnChange/ZRN Time: ", {n.year, n.month, n.day, n.hour, n.minute, n.second}));
    const zrn::LocalDateTime clock = Fields(DeviceClockOrPc());
    host.AppendLog(FieldsText("OnChange/ZRN Time: Before= ", clock));
    // 3. The new time of day on the device clock's date.
    SetPendingClock({clock.year, clock.month, clock.day, n.hour, n.minute, n.second});
    // 4-5.
    Window().UpdateData(true);
    host.AppendLog(FieldsText("OnChange/ZRN Time: New= ", Fields(tPendingClock)));
    // 6.
    bFollowZrnClock = 0;
    Window().ShowItem(IDC_CANCEL_CLOCK_EDIT, true);
    Window().SetDlgItemText(IDC_ZRN_TIME_TEXT, FormatLocalTime(tPendingClock, TimeText::Time));
}

void ClockPanel::OnBnClickedCancelClockEdit() {
    Window().ShowItem(IDC_CANCEL_CLOCK_EDIT, false);
    bFollowZrnClock = 1;
    bPendingClockChosen = false;
}

void ClockPanel::OnBnClickedUpdateZrnClock() {
    // Only a value the operator picked is ever offered or sent.
    if (!bPendingClockChosen) {
        MessageBox(&Window(), "Pick a new date or time for the ZRN clock first.", {},
                   MB_OK | MB_ICONINFORMATION);
        return;
    }
    // 1-2. Clock replies are still handled while the box is open.
    const std::string text = FormatLocalTime(tPendingClock, TimeText::DateTime);
    if (MessageBox(&Window(), "Change ZRN Clock to " + text + " ?", {},
                   MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    // 3.
    SendClockCommand(tPendingClock);
    host.AppendLog("OnBnClickedButton/SetZrnClock: " + text + " ?");
    Window().ShowItem(IDC_CANCEL_CLOCK_EDIT, false);
    bFollowZrnClock = 1;
    bPendingClockChosen = false;
}

void ClockPanel::OnBnClickedSyncZrnClock() {
    bSyncToPc = 1;
    nSyncAttempts = 0;
}

void ClockPanel::SetPendingClock(const zrn::LocalDateTime& fields) {
    if (const auto t = zrn::MakeLocalTime(fields, daylightFlag)) {
        tPendingClock = *t;
        bPendingClockChosen = true;
    }
}

int64_t ClockPanel::DeviceClockOrPc() const {
    // Before the first clock reply there is no device clock to build on: 1970 is nobody's choice.
    return tZrnClock != 0 ? tZrnClock : PcTime();
}

int64_t ClockPanel::PendingOrDeviceClock() const {
    return bPendingClockChosen ? tPendingClock : DeviceClockOrPc();
}

ClockPanel::ClockPanel(PanelHost& host, const int& daylightFlag)
    : PanelOf(host), daylightFlag(daylightFlag) {
    // The pickers show the current time until the device is read.
    tZrnDatePicker = tZrnTimePicker = PcTime();
}

void ClockPanel::OnInitDialog() {
    Window().Item<DateTimePicker>(IDC_ZRN_TIME)->SetTimeStyle();
    bDateDropDown = 0;
    ShowPcClock();
    bSyncToPc = 0;
}

void ClockPanel::DoDataExchange(DataExchange& dx) {
    dx.DateTime(IDC_ZRN_DATE, tZrnDatePicker);
    dx.DateTime(IDC_ZRN_TIME, tZrnTimePicker);
}

void ClockPanel::RegisterReplies(ReplyTable& replies) {
    replies.Add("C", [this](const std::string& reply) { ProcessReadClockResponse(reply); });
}

// The device clock: date and time boxes, their pickers, the three buttons.
ClockPanel::Rows ClockPanel::EventRows() {
    using D = ClockPanel;
    static constexpr EventEntry<D> rows[] = {
        {IDC_BUTTON_CLOCK, BN_CLICKED, &D::OnBnClickedButtonClock},
        {IDC_ZRN_DATE, NM_SETFOCUS, &D::OnSetfocusZrnPicker},
        {IDC_ZRN_DATE, NM_KILLFOCUS, &D::OnKillfocusZrnDate},
        {IDC_ZRN_DATE, DTN_DROPDOWN, &D::OnDropdownZrnDate},
        {IDC_ZRN_DATE, DTN_CLOSEUP, &D::OnCloseupZrnDate},
        {IDC_ZRN_DATE, DTN_DATETIMECHANGE, &D::OnDatetimechangeZrnDate},
        {IDC_ZRN_DATE, DTN_WMKEYDOWN, &D::OnNotifyHandled},
        {IDC_ZRN_TIME, NM_SETFOCUS, &D::OnSetfocusZrnPicker},
        {IDC_ZRN_TIME, NM_KILLFOCUS, &D::OnKillfocusZrnTime},
        {IDC_ZRN_TIME, DTN_DATETIMECHANGE, &D::OnDatetimechangeZrnTime},
        {IDC_ZRN_DATE_TEXT, EN_SETFOCUS, &D::OnSetfocusZrnDateText},
        {IDC_ZRN_TIME_TEXT, EN_SETFOCUS, &D::OnSetfocusZrnTimeText},
        {IDC_CANCEL_CLOCK_EDIT, BN_CLICKED, &D::OnBnClickedCancelClockEdit},
        {IDC_UPDATE_ZRN_CLOCK, BN_CLICKED, &D::OnBnClickedUpdateZrnClock},
        {IDC_SYNC_ZRN_CLOCK, BN_CLICKED, &D::OnBnClickedSyncZrnClock},
    };
    return rows;
}
