// The start and stop pickers: a date change keeps the time of day already
// held and a time change keeps the date, so the two halves of an instant are
// edited independently. Every accepted change is stored into the entry.
#include "model/CalendarTime.h"
#include "platform/PanelSupport.h"
#include "platform/Win.h"
#include "resources/Resource.h"
#include "schedule/SchedulePanel.h"

using namespace win;
using schedpanel::Text;

namespace {

// The date of the picker with the time of day of t.
int64_t WithDate(int64_t t, int year, int month, int day, int nDaylightFlag) {
    const zrn::LocalDateTime held = zrn::BreakLocalTime(t).value_or(zrn::LocalDateTime{});
    return zrn::MakeLocalTime({year, month, day, held.hour, held.minute, held.second},
                              nDaylightFlag)
        .value_or(t);
}

// The date of t with the picker's time of day.
int64_t WithTime(int64_t t, int hour, int minute, int second, int nDaylightFlag) {
    const zrn::LocalDateTime held = zrn::BreakLocalTime(t).value_or(zrn::LocalDateTime{});
    return zrn::MakeLocalTime({held.year, held.month, held.day, hour, minute, second},
                              nDaylightFlag)
        .value_or(t);
}

// bEditPending, the buttons, then the entry itself.
void Commit(CZRNcomDlg& dlg) {
    dlg.sched.bEditPending = 1;
    dlg.SetZrnButtonProperly();
    dlg.SaveActiveEntry();
}

} // namespace

void CZRNcomDlg::OnStartDateSetfocus(Notify& n) {
    AppendLog("DateTimePicker/StartDate/SetFocus");
    n.result = 0;
}

void CZRNcomDlg::OnStartDateDropdown(Notify& n) {
    AppendLog("DateTimePicker/StartDate/DropDown");
    bStartDropDown = 1;
    n.result = 0;
}

void CZRNcomDlg::OnStopDateDropdown(Notify& n) {
    AppendLog("DateTimePicker/StopDate/DropDown");
    bStopDropDown = 1;
    n.result = 0;
}

void CZRNcomDlg::OnStartDateChange(Notify& n) {
    n.result = 0;
    if (bStartDropDown) {
        // Browsing the open calendar picks nothing yet; the close-up does.
        AppendLog(Text("OnChange/Start Date: %d/%d/%d; DROPDOWN active", n.month, n.day, n.year));
        return;
    }
    AppendLog(Text("OnChange/Start Date: %d/%d/%d", n.month, n.day, n.year));
    sched.tEditStart = WithDate(sched.tEditStart, n.year, n.month, n.day, sched.nDaylightFlag);
    Commit(*this);
}

void CZRNcomDlg::OnStopDateChange(Notify& n) {
    n.result = 0;
    if (bStopDropDown) {
        AppendLog(Text("OnChange/Stop Date: %d/%d/%d; DROPDOWN active", n.month, n.day, n.year));
        return;
    }
    AppendLog(Text("OnChange/Stop Date: %d/%d/%d", n.month, n.day, n.year));
    sched.tEditStop = WithDate(sched.tEditStop, n.year, n.month, n.day, sched.nDaylightFlag);
    Commit(*this);
}

void CZRNcomDlg::OnStartDateCloseup(Notify& n) {
    n.result = 0;
    AppendLog("DateTimePicker/StartDate/CloseUp");
    bStartDropDown = 0;
    const auto picked = GetPickerFields(*this, IDC_START_DATE);
    if (!picked) {
        AppendLog("DateTimePicker/StartDate/CloseUp: Not Valid - GDT_VALID");
        return;
    }
    sched.tEditStart =
        WithDate(sched.tEditStart, picked->year, picked->month, picked->day, sched.nDaylightFlag);
    Commit(*this);
    AppendLog("DateTimePicker/StartDate/CloseUp: " +
              zrn::FormatLocalTime(sched.tEditStart, zrn::TimeText::DateTime));
}

void CZRNcomDlg::OnStopDateCloseup(Notify& n) {
    n.result = 0;
    AppendLog("DateTimePicker/StopDate/CloseUp");
    bStopDropDown = 0;
    const auto picked = GetPickerFields(*this, IDC_STOP_DATE);
    if (!picked) {
        AppendLog("DateTimePicker/StopDate/CloseUp: Not Valid - GDT_VALID");
        return;
    }
    sched.tEditStop =
        WithDate(sched.tEditStop, picked->year, picked->month, picked->day, sched.nDaylightFlag);
    Commit(*this);
    AppendLog("DateTimePicker/StopDate/CloseUp: " +
              zrn::FormatLocalTime(sched.tEditStop, zrn::TimeText::DateTime));
}

void CZRNcomDlg::OnStartTimeChange(Notify& n) {
    n.result = 0;
    AppendLog(Text("OnChange/Start Time: %d:%d:%d", n.hour, n.minute, n.second));
    const int64_t candidate =
        WithTime(sched.tEditStart, n.hour, n.minute, n.second, sched.nDaylightFlag);
    if (candidate == sched.tEditStart)
        return;
    AppendLog(Text("OnChange/Start Time: %d:%d, 2nd, exiting", n.hour, n.minute));
    sched.tEditStart = candidate;
    Commit(*this);
}

void CZRNcomDlg::OnStopTimeChange(Notify& n) {
    n.result = 0;
    AppendLog(Text("OnChange/Stop Time: %d:%d", n.hour, n.minute));
    const int64_t candidate =
        WithTime(sched.tEditStop, n.hour, n.minute, n.second, sched.nDaylightFlag);
    if (candidate == sched.tEditStop)
        return;
    sched.tEditStop = candidate;
    Commit(*this);
}
