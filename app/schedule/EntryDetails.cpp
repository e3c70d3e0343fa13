#include "schedule/EntryDetails.h"

#include "model/CalendarTime.h"

#include <cstdio>

namespace zrn {

namespace {

std::string HoursMinutesSeconds(int hours, int minutes, int seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", hours, minutes, seconds);
    return text;
}

// The device keeps no hours for these durations, so the box shows none either.
std::string Duration(std::int64_t ts) {
    const SpanParts parts = SplitSpan(ts);
    return HoursMinutesSeconds(0, parts.minutes, parts.seconds);
}

} // namespace

EntryDetailsTexts FormatEntryDetails(const SelectedEntryView& view) {
    EntryDetailsTexts texts;
    texts.strStatus = view.bActive != 0 ? "Active" : "Inactive";
    texts.strStartDate = FormatLocalTime(view.tStart, TimeText::Date);
    texts.strStartTime = FormatLocalTime(view.tStart, TimeText::Time);
    texts.strStopDate = FormatLocalTime(view.tStop, TimeText::Date);
    texts.strStopTime = FormatLocalTime(view.tStop, TimeText::Time);
    const SpanParts interval = SplitSpan(view.tsInterval);
    texts.strInterval = HoursMinutesSeconds(interval.hours, interval.minutes, interval.seconds);
    texts.strOpenValve = Duration(view.tsOpenValve);
    texts.strSampleHolding = Duration(view.tsSampleHolding);
    texts.strPumpOn = Duration(view.tsPumpOn);
    return texts;
}

} // namespace zrn
