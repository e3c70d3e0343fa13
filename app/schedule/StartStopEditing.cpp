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

} // namespace

void SchedulePanel::CommitEdit() {
    sched.bEditPending = 1;
    SetZrnButtonProperly();
    SaveActiveEntry();
}

void SchedulePanel::OnStartDateSetfocus(Notify& n) {
    host.AppendLog("DateTimePicker/StartDate/SetFocus");
    n.result = 0;
}

// The start and the stop date pickers differ only in these.
struct SchedulePanel::DateEnd {
    const char* name; // "Start" or "Stop", as the log says
    int dateId;
    int64_t zrn::EntryTimes::*edit;
    int SchedulePanel::*dropDown;
};

const SchedulePanel::DateEnd& SchedulePanel::EndOf(int dateId) {
    static constexpr DateEnd kStart{"Start", IDC_START_DATE, &zrn::EntryTimes::tStart,
                                    &SchedulePanel::bStartDropDown};
    static constexpr DateEnd kStop{"Stop", IDC_STOP_DATE, &zrn::EntryTimes::tStop,
                                   &SchedulePanel::bStopDropDown};
    return dateId == IDC_STOP_DATE ? kStop : kStart;
}

void SchedulePanel::OnDateDropdown(Notify& n) {
    const DateEnd& end = EndOf(n.id);
    host.AppendLog(Text("DateTimePicker/%sDate/DropDown", end.name));
    this->*end.dropDown = 1;
    n.result = 0;
}

void SchedulePanel::OnDateChange(Notify& n) {
    const DateEnd& end = EndOf(n.id);
    n.result = 0;
    if (this->*end.dropDown) {
        // Browsing the open calendar picks nothing yet; the close-up does.
        host.AppendLog(
            Text("OnChange/%s Date: %d/%d/%d; DROPDOWN active", end.name, n.month, n.day, n.year));
        return;
    }
    host.AppendLog(Text("OnChange/%s Date: %d/%d/%d", end.name, n.month, n.day, n.year));
    int64_t& edited = sched.edit.*end.edit;
    edited = WithDate(edited, n.year, n.month, n.day, sched.nDaylightFlag);
    CommitEdit();
}

void SchedulePanel::OnDateCloseup(Notify& n) {
    const DateEnd& end = EndOf(n.id);
    n.result = 0;
    host.AppendLog(Text("DateTimePicker/%sDate/CloseUp", end.name));
    this->*end.dropDown = 0;
    const auto picked = GetPickerFields(Window(), end.dateId);
    if (!picked) {
        host.AppendLog(Text("DateTimePicker/%sDate/CloseUp: Not Valid - GDT_VALID", end.name));
        return;
    }
    int64_t& edited = sched.edit.*end.edit;
    edited = WithDate(edited, picked->year, picked->month, picked->day, sched.nDaylightFlag);
    CommitEdit();
    host.AppendLog(Text("DateTimePicker/%sDate/CloseUp: ", end.name) +
                   zrn::FormatLocalTime(edited, zrn::TimeText::DateTime));
}

void SchedulePanel::OnStartTimeChange(Notify& n) {
    n.result = 0;
    host.AppendLog(Text("OnChange/Start Time: %d:%d:%d", n.hour, n.minute, n.second));
    const int64_t candidate =
        WithTime(sched.edit.tStart, n.hour, n.minute, n.second, sched.nDaylightFlag);
    if (candidate == sched.edit.tStart)
        return;
    host.AppendLog(Text("OnChange/Start Time: %d:%d, 2nd, exiting", n.hour, n.minute));
    sched.edit.tStart = candidate;
    CommitEdit();
}

void SchedulePanel::OnStopTimeChange(Notify& n) {
    n.result = 0;
    host.AppendLog(Text("OnChange/Stop Time: %d:%d", n.hour, n.minute));
    const int64_t candidate =
        WithTime(sched.edit.tStop, n.hour, n.minute, n.second, sched.nDaylightFlag);
    if (candidate == sched.edit.tStop)
        return;
    sched.edit.tStop = candidate;
    CommitEdit();
}
