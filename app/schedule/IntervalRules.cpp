#include "schedule/IntervalRules.h"

#include "model/CalendarTime.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace zrn {

namespace {

// The offsets land just before the next step, so the aligned start is the
// first step at or after the base (59 seconds earlier when the base has seconds).
constexpr std::array<IntervalPreset, 5> kPresets{{
    {PRESET_15MIN, "Interval15Min", 15 * 60, 840, 15},
    {PRESET_30MIN, "Interval30Min", 30 * 60, 1740, 30},
    {PRESET_45MIN, "Interval45Min", 45 * 60, 0, 0},
    {PRESET_1HOUR, "Interval1Hr", 3600, 3540, 60},
    // A day less one second: the interval picker and the device hold no days.
    {PRESET_24HOURS, "Interval24Hr", 86399, 86399, 60},
}};

} // namespace

const IntervalPreset* FindIntervalPreset(int index) {
    if (index < 0 || index >= static_cast<int>(kPresets.size()))
        return nullptr;
    return &kPresets[static_cast<std::size_t>(index)];
}

StartStop ProposeStartStop(const IntervalPreset& preset, std::int64_t tBase) {
    StartStop proposal;
    proposal.tStart = AlignDownLocal(tBase + preset.tsStartOffset, preset.nStepMinutes);
    proposal.tStop = proposal.tStart + PROPOSED_SCHEDULE_SPAN;
    return proposal;
}

std::string IntervalText(std::int64_t tsTimeOfDay) {
    const SpanParts parts = SplitSpan(tsTimeOfDay);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", parts.hours, parts.minutes, parts.seconds);
    return text;
}

int IntervalPresetFor(std::string_view intervalText) {
    for (const IntervalPreset& preset : kPresets) {
        if (IntervalText(preset.tsInterval) == intervalText)
            return preset.nIndex;
    }
    return PRESET_CUSTOM;
}

bool SelectedEntryNotActive(const ScheduleState& state) {
    if (!SelectedEntryRead(state))
        return false;
    const int entry = SelectedEntryIndex(state);
    return state.table[static_cast<std::size_t>(entry)].chStatus != STATUS_ACTIVE;
}

double OleTimeOfDay(std::int64_t tsTimeOfDay) {
    return static_cast<double>(tsTimeOfDay) / 86400.0;
}

std::int64_t TimeOfDayFromOle(double days) {
    const double fraction = std::fabs(days - std::trunc(days));
    return std::llround(fraction * 86400.0) % 86400;
}

CustomPickerChange CustomTimingChange(CustomPicker which, int hour, int minute, int second) {
    char line[64] = "";
    bool saves = true;
    switch (which) {
    case CustomPicker::Interval:
        std::snprintf(line, sizeof line, "OnChange/Time Interval: %d:%d", hour, minute);
        break;
    case CustomPicker::OpenValve:
        std::snprintf(line, sizeof line, "OnChange/Open Valve: %d:%d", hour, minute);
        saves = false; // stored by the next save
        break;
    case CustomPicker::SampleHolding:
        std::snprintf(line, sizeof line, "OnChange/Sample Holding: %d:%d", hour, minute);
        break;
    case CustomPicker::PumpOn:
        std::snprintf(line, sizeof line, "OnChange/Pump On: %d:%d", hour, minute);
        break;
    }
    return {line, MakeSpan(0, hour, minute, second), saves};
}

} // namespace zrn
