#pragma once
// Everything the simulated device remembers. Survives an unplug.

#include "WireFields.h"

#include <array>
#include <cstdint>
#include <ctime>
#include <string>

namespace zrnsim {

enum class FieldKind { Date, TimeOfDay, Interval, Duration };

struct FieldSpec {
    std::string_view code;
    FieldKind kind;
};

// The fields of one schedule entry in the order the program reads them.
inline constexpr std::array<FieldSpec, 8> kScheduleFields{{
    {"BD", FieldKind::Date},
    {"BT", FieldKind::TimeOfDay},
    {"ED", FieldKind::Date},
    {"ET", FieldKind::TimeOfDay},
    {"I", FieldKind::Interval},
    {"V", FieldKind::Duration},
    {"H", FieldKind::Duration},
    {"P", FieldKind::Duration},
}};

// Dates are month, day, two-digit year; the others hours, minutes, seconds.
struct ScheduleEntry {
    char status = '0';
    std::array<Triple, kScheduleFields.size()> fields{};

    bool operator==(const ScheduleEntry&) const = default;
};

inline constexpr std::size_t kIdentificationLength = 2 + 8 + 6 + 3 + 13;
inline constexpr int kLongestSdiDuration = 999; // seconds, what the settings row can show

struct DeviceState {
    std::int64_t clockOffset = 0; // device clock minus PC clock, seconds
    bool schedulesHeld = false;   // between "S0D" and "S0A"
    std::array<ScheduleEntry, 4> schedules{};
    std::array<int, 3> sdiDurations{60, 60, 60}; // entry 5: valve, hold, pump seconds
    char address = '0';
    int delay = 15;
    std::string identification; // kIdentificationLength characters, fields right-aligned
    std::string firmware = "02.07";
    double externalVolts = 12.60;
    double internalVolts = 3.55;
    unsigned testRuns = 0;
};

// The values the device keeps in flash: the schedules, entry 5, address, delay and
// identification. Not the clock, the pause of sampling or the count of test runs.
bool SameStoredValues(const DeviceState& a, const DeviceState& b);
void KeepStoredValues(DeviceState& state, const DeviceState& kept);

// Whether a schedule field can hold the value (a date that exists, 0-59 minutes...).
bool FieldHolds(FieldKind kind, const Triple& value);
// "S5V|00:mm:ss|" with a total of at most 999 seconds.
bool SdiDurationHolds(const Triple& value);
bool IsAddress(char c);
bool IsIdentificationText(std::string_view text);

// Right-aligns each field in its width, cutting longer ones.
std::string MakeIdentification(std::string_view version, std::string_view maker,
                               std::string_view model, std::string_view makerVersion,
                               std::string_view optional);

// Clock now, address "0", two schedules of which the first is active.
DeviceState DefaultState(std::time_t now);

// Entry fields from calendar times and spans, for defaults and state files.
Triple DateOf(std::time_t t);
Triple TimeOf(std::time_t t);

} // namespace zrnsim
