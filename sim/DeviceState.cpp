#include "DeviceState.h"

#include <algorithm>

namespace zrnsim {
namespace {

bool IsMinutesSeconds(const Triple& value) {
    return value[1] >= 0 && value[1] <= 59 && value[2] >= 0 && value[2] <= 59;
}

std::string RightAligned(std::string_view text, std::size_t width) {
    text = text.substr(0, width);
    return std::string(width - text.size(), ' ') + std::string(text);
}

std::tm Local(std::time_t t) {
    std::tm fields{};
    localtime_r(&t, &fields);
    return fields;
}

ScheduleEntry MakeEntry(char status, std::time_t start, std::time_t stop, const Triple& interval) {
    ScheduleEntry entry;
    entry.status = status;
    entry.fields = {DateOf(start), TimeOf(start), DateOf(stop), TimeOf(stop),
                    interval,      {0, 1, 0},     {0, 1, 0},    {0, 1, 0}};
    return entry;
}

} // namespace

bool SameStoredValues(const DeviceState& a, const DeviceState& b) {
    return a.schedules == b.schedules && a.sdiDurations == b.sdiDurations &&
           a.address == b.address && a.delay == b.delay && a.identification == b.identification;
}

void KeepStoredValues(DeviceState& state, const DeviceState& kept) {
    state.schedules = kept.schedules;
    state.sdiDurations = kept.sdiDurations;
    state.address = kept.address;
    state.delay = kept.delay;
    state.identification = kept.identification;
}

bool FieldHolds(FieldKind kind, const Triple& value) {
    switch (kind) {
    case FieldKind::Date:
        return IsCalendarDate(value);
    case FieldKind::TimeOfDay:
        return IsTimeOfDay(value);
    case FieldKind::Interval:
        return value[0] >= 0 && value[0] <= 23 && IsMinutesSeconds(value);
    case FieldKind::Duration:
        // The entry record has no hours for these durations.
        return value[0] == 0 && IsMinutesSeconds(value);
    }
    return false;
}

bool SdiDurationHolds(const Triple& value) {
    return FieldHolds(FieldKind::Duration, value) &&
           value[1] * 60 + value[2] <= kLongestSdiDuration;
}

bool IsAddress(char c) {
    return c >= '0' && c <= '9';
}

bool IsIdentificationText(std::string_view text) {
    return text.size() == kIdentificationLength &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

std::string MakeIdentification(std::string_view version, std::string_view maker,
                               std::string_view model, std::string_view makerVersion,
                               std::string_view optional) {
    return RightAligned(version, 2) + RightAligned(maker, 8) + RightAligned(model, 6) +
           RightAligned(makerVersion, 3) + RightAligned(optional, 13);
}

Triple DateOf(std::time_t t) {
    const std::tm f = Local(t);
    return {f.tm_mon + 1, f.tm_mday, f.tm_year % 100};
}

Triple TimeOf(std::time_t t) {
    const std::tm f = Local(t);
    return {f.tm_hour, f.tm_min, f.tm_sec};
}

DeviceState DefaultState(std::time_t now) {
    constexpr std::time_t kDay = 24 * 60 * 60;
    std::tm morning = Local(now);
    morning.tm_hour = 8;
    morning.tm_min = 0;
    morning.tm_sec = 0;
    morning.tm_isdst = -1;
    const std::time_t today = std::mktime(&morning);

    DeviceState state;
    state.identification = MakeIdentification("13", "ZRNSIM", "ZRN100", "207", "SIM0001");
    state.schedules[0] = MakeEntry('A', today, today + 7 * kDay, {1, 0, 0});
    state.schedules[1] = MakeEntry('D', today + 14 * kDay, today + 21 * kDay, {0, 15, 0});
    // Empty slots still hold valid fields: the program checks every entry it reads.
    state.schedules[2] = MakeEntry('0', today, today + 7 * kDay, {0, 15, 0});
    state.schedules[3] = state.schedules[2];
    return state;
}

} // namespace zrnsim
