#include "StateFile.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

namespace zrnsim {
namespace {

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

std::optional<Triple> TripleToken(std::string_view token, char separator) {
    const auto fields = ParseBarFields("|" + std::string(token) + "|", std::string(1, separator));
    if (!fields)
        return std::nullopt;
    return fields->front();
}

template <typename Number> bool ToNumber(std::string_view text, Number& out) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size();
}

bool SetIntInRange(std::string_view value, int low, int high, int& out) {
    int number = 0;
    if (!ToNumber(value, number) || number < low || number > high)
        return false;
    out = number;
    return true;
}

bool SetClock(std::string_view value, DeviceState& state, std::time_t now) {
    const auto space = value.find(' ');
    if (space == std::string_view::npos)
        return false;
    const auto date = TripleToken(value.substr(0, space), '/');
    const auto time = TripleToken(Trim(value.substr(space)), ':');
    if (!date || !time || !IsCalendarDate(*date) || !IsTimeOfDay(*time))
        return false;
    std::tm local{};
    local.tm_mon = (*date)[0] - 1;
    local.tm_mday = (*date)[1];
    local.tm_year = (*date)[2] + 100;
    local.tm_hour = (*time)[0];
    local.tm_min = (*time)[1];
    local.tm_sec = (*time)[2];
    local.tm_isdst = -1;
    state.clockOffset = static_cast<std::int64_t>(std::mktime(&local)) - now;
    return true;
}

// Checked: every field as the device itself would accept it. Raw: any
// two-digit numbers and any one status character, for tests of what the
// program does with a device that holds nonsense.
bool SetSchedule(std::string_view value, ScheduleEntry& entry, bool raw) {
    std::istringstream words{std::string(value)};
    std::string status;
    words >> status;
    const bool known = status == "A" || status == "D" || status == "0";
    if (!known && !(raw && status.size() == 1 && status[0] > ' ' && status[0] < 0x7F))
        return false;
    ScheduleEntry parsed{status[0], {}};
    for (std::size_t i = 0; i < kScheduleFields.size(); ++i) {
        std::string token;
        const FieldKind kind = kScheduleFields[i].kind;
        if (!(words >> token))
            return false;
        const auto triple = TripleToken(token, kind == FieldKind::Date ? '/' : ':');
        if (!triple || (!raw && !FieldHolds(kind, *triple)))
            return false;
        parsed.fields[i] = *triple;
    }
    std::string extra;
    if (words >> extra)
        return false;
    entry = parsed;
    return true;
}

// The five identification fields with their widths, in wire order.
constexpr std::array<std::pair<std::string_view, std::size_t>, 5> kIdentificationFields{{
    {"sdi_version", 2},
    {"manufacturer", 8},
    {"model", 6},
    {"manufacturer_version", 3},
    {"optional", 13},
}};

bool SetIdentificationField(std::string_view key, std::string_view value, DeviceState& state) {
    std::size_t offset = 0;
    for (const auto& [name, width] : kIdentificationFields) {
        if (name == key) {
            value = value.substr(0, width);
            const std::string field = std::string(width - value.size(), ' ') + std::string(value);
            if (!IsIdentificationText(state.identification.substr(0, offset) + field +
                                      state.identification.substr(offset + width)))
                return false;
            state.identification.replace(offset, width, field);
            return true;
        }
        offset += width;
    }
    return false;
}

bool IsIdentificationKey(std::string_view key) {
    for (const auto& field : kIdentificationFields)
        if (field.first == key)
            return true;
    return false;
}

bool SetFirmware(std::string_view value, DeviceState& state) {
    // "NN.NN", the layout the program reads by position.
    if (value.size() != 5 || value[2] != '.')
        return false;
    for (const std::size_t i : {0, 1, 3, 4})
        if (value[i] < '0' || value[i] > '9')
            return false;
    state.firmware = std::string(value);
    return true;
}

bool SetVolts(std::string_view value, double& out) {
    double volts = 0;
    if (!ToNumber(value, volts) || volts < 0 || volts > 99)
        return false;
    out = volts;
    return true;
}

bool Apply(std::string_view key, std::string_view value, DeviceState& state, std::time_t now) {
    if (key == "clock")
        return SetClock(value, state, now);
    if (key == "address") {
        if (value.size() != 1 || !IsAddress(value[0]))
            return false;
        state.address = value[0];
        return true;
    }
    if (key == "delay")
        return SetIntInRange(value, 0, 999, state.delay);
    if (key == "firmware")
        return SetFirmware(value, state);
    if (key == "external_volts")
        return SetVolts(value, state.externalVolts);
    if (key == "internal_volts")
        return SetVolts(value, state.internalVolts);
    if (key == "valve" || key == "hold" || key == "pump") {
        const std::size_t index = key == "valve" ? 0 : key == "hold" ? 1 : 2;
        return SetIntInRange(value, 0, kLongestSdiDuration, state.sdiDurations[index]);
    }
    if (IsIdentificationKey(key))
        return SetIdentificationField(key, value, state);
    if (key.size() == 9 && key.substr(0, 8) == "schedule" && key[8] >= '1' && key[8] <= '4')
        return SetSchedule(value, state.schedules[static_cast<std::size_t>(key[8] - '1')], false);
    if (key.size() == 13 && key.substr(0, 12) == "raw_schedule" && key[12] >= '1' && key[12] <= '4')
        return SetSchedule(value, state.schedules[static_cast<std::size_t>(key[12] - '1')], true);
    return false;
}

} // namespace

std::string FormatState(const DeviceState& state, std::time_t now) {
    std::ostringstream out;
    const std::time_t clock = now + static_cast<std::time_t>(state.clockOffset);
    out << "clock = " << FormatTriple(DateOf(clock), '/') << ' ' << FormatTriple(TimeOf(clock), ':')
        << '\n';
    out << "address = " << state.address << '\n';
    out << "delay = " << state.delay << '\n';
    out << "firmware = " << state.firmware << '\n';
    char volts[64];
    std::snprintf(volts, sizeof volts, "external_volts = %.2f\ninternal_volts = %.2f\n",
                  state.externalVolts, state.internalVolts);
    out << volts;
    const char* durations[] = {"valve", "hold", "pump"};
    for (std::size_t i = 0; i < 3; ++i)
        out << durations[i] << " = " << state.sdiDurations[i] << '\n';
    std::size_t offset = 0;
    for (const auto& [name, width] : kIdentificationFields) {
        out << name << " = " << Trim(std::string_view(state.identification).substr(offset, width))
            << '\n';
        offset += width;
    }
    for (std::size_t n = 0; n < state.schedules.size(); ++n) {
        const ScheduleEntry& entry = state.schedules[n];
        bool holds = entry.status == 'A' || entry.status == 'D' || entry.status == '0';
        std::string fields;
        for (std::size_t i = 0; i < kScheduleFields.size(); ++i) {
            const FieldKind kind = kScheduleFields[i].kind;
            holds = holds && FieldHolds(kind, entry.fields[i]);
            fields += ' ' + FormatTriple(entry.fields[i], kind == FieldKind::Date ? '/' : ':');
        }
        out << (holds ? "schedule" : "raw_schedule") << n + 1 << " = " << entry.status << fields
            << '\n';
    }
    return out.str();
}

bool SaveStateFile(const std::string& path, const DeviceState& state, std::time_t now) {
    const std::string temporary = path + ".new";
    {
        std::ofstream out(temporary, std::ios::trunc);
        if (!(out << FormatState(state, now)))
            return false;
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}

bool ApplyState(std::istream& in, DeviceState& state, std::time_t now, std::string& error) {
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::string_view text = Trim(line);
        if (text.empty() || text[0] == '#')
            continue;
        const auto equals = text.find('=');
        const std::string_view key =
            equals == std::string_view::npos ? text : Trim(text.substr(0, equals));
        const std::string_view value =
            equals == std::string_view::npos ? std::string_view{} : Trim(text.substr(equals + 1));
        if (equals == std::string_view::npos || !Apply(key, value, state, now)) {
            error = "line " + std::to_string(number) + ": cannot use \"" + std::string(text) + "\"";
            return false;
        }
    }
    return true;
}

bool LoadStateFile(const std::string& path, DeviceState& state, std::time_t now,
                   std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    if (!ApplyState(in, state, now, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

} // namespace zrnsim
