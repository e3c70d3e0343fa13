#pragma once
// The interval presets: their table, the start and stop they propose, the preset
// that matches an interval, and the custom pickers' changes.

#include "schedule/ScheduleState.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zrn {

inline constexpr int PRESET_15MIN = 0;
inline constexpr int PRESET_30MIN = 1;
inline constexpr int PRESET_45MIN = 2; // in the INI file, but no radio button selects it
inline constexpr int PRESET_1HOUR = 3;
inline constexpr int PRESET_24HOURS = 4;
inline constexpr int PRESET_CUSTOM = 5;

// A proposed schedule runs seven days less one second.
inline constexpr std::int64_t PROPOSED_SCHEDULE_SPAN = 604799;

struct IntervalPreset {
    int nIndex;
    const char* section;
    std::int64_t tsInterval;
    // The start proposal: the base plus the offset, moved back to a multiple of
    // the step within its local hour (60: the whole hour).
    std::int64_t tsStartOffset;
    int nStepMinutes;
};

// The rows 0..4; nullptr for any other index (custom included).
const IntervalPreset* FindIntervalPreset(int index);

struct StartStop {
    std::int64_t tStart = 0;
    std::int64_t tStop = 0;
};
// The start and stop a fixed preset proposes from the base time (the selected
// entry's start).
StartStop ProposeStartStop(const IntervalPreset& preset, std::int64_t tBase);

// The interval picker's time of day as "%H:%M:%S".
std::string IntervalText(std::int64_t tsTimeOfDay);
// The preset whose interval has that text; PRESET_CUSTOM for any other.
int IntervalPresetFor(std::string_view intervalText);

// A row is selected, it maps to an entry read from the device (or being
// edited), and that entry is not active: the panel's edits may be stored into it.
bool SelectedEntryNotActive(const ScheduleState& state);

// Date-time picker values (days since 1899-12-30) as a time of day and back.
double OleTimeOfDay(std::int64_t tsTimeOfDay);
std::int64_t TimeOfDayFromOle(double days);

// The four custom pickers, and what a change of one of them does.
enum class CustomPicker { Interval, OpenValve, SampleHolding, PumpOn };
struct CustomPickerChange {
    std::string strLog; // the log box line
    std::int64_t ts;    // the new working value
    bool bSaves;        // stored into the entry at once (not the open valve)
};
CustomPickerChange CustomTimingChange(CustomPicker which, int hour, int minute, int second);

} // namespace zrn
