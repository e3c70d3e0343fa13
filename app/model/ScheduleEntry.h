#pragma once
// The device's schedule record as the program mirrors it, and what is known
// of each entry on the device.

#include <array>
#include <cstdint>

namespace zrn {

inline constexpr int SCHEDULE_ENTRY_COUNT = 4;
inline constexpr int NO_SELECTABLE_ACTIVE_ENTRY = -1;

inline constexpr char STATUS_ACTIVE = 'A';
inline constexpr char STATUS_INACTIVE = 'D';
inline constexpr char STATUS_EMPTY = '0';

// Byte fields in the device's order; year fields count from 2000. Valve, hold
// and pump have no hours: the wire always sends "00" for them.
struct ScheduleEntry {
    std::uint8_t nNumber; // 1..4, entry index + 1
    std::uint8_t nStartYear;
    std::uint8_t nStartMonth;
    std::uint8_t nStartDay;
    std::uint8_t nStartHour;
    std::uint8_t nStartMinute;
    std::uint8_t nStartSecond;
    std::uint8_t nStopYear;
    std::uint8_t nStopMonth;
    std::uint8_t nStopDay;
    std::uint8_t nStopHour;
    std::uint8_t nStopMinute;
    std::uint8_t nStopSecond;
    std::uint8_t nIntervalHours;
    std::uint8_t nIntervalMinutes;
    std::uint8_t nIntervalSeconds;
    std::uint8_t nValveMinutes;
    std::uint8_t nValveSeconds;
    std::uint8_t nHoldMinutes;
    std::uint8_t nHoldSeconds;
    std::uint8_t nPumpMinutes;
    std::uint8_t nPumpSeconds;
    std::uint8_t chStatus; // STATUS_ACTIVE, STATUS_INACTIVE or STATUS_EMPTY
    bool operator==(const ScheduleEntry&) const = default;
};
static_assert(sizeof(ScheduleEntry) == 23, "ScheduleEntry mirrors the device's 23-byte record");

using ScheduleTable = std::array<ScheduleEntry, SCHEDULE_ENTRY_COUNT>;

// An entry's instants and spans, converted from its fields.
struct EntryTimes {
    std::int64_t tStart = 0;
    std::int64_t tStop = 0;
    std::int64_t tsInterval = 0;
    std::int64_t tsOpenValve = 0;
    std::int64_t tsSampleHolding = 0;
    std::int64_t tsPumpOn = 0;
};

// What is known of an entry on the device.
enum class ReadState {
    Unknown, // never asked: not listed
    Reading, // queries out, not all answered yet
    Read,    // every reply since the queries went out: the device's values
    NotRead, // asked, but some reply never came
};
// Per entry; in the list an entry being edited counts as read (its values are
// the operator's).
using ReadStates = std::array<ReadState, SCHEDULE_ENTRY_COUNT>;
inline constexpr ReadStates ALL_READ{ReadState::Read, ReadState::Read, ReadState::Read,
                                     ReadState::Read};

} // namespace zrn
