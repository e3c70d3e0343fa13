#include "Device.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace zrnsim {
namespace {

Answer Ack() {
    return {true, std::nullopt};
}
Answer Nak() {
    return {false, std::nullopt};
}
Answer Reply(std::string text) {
    return {true, std::move(text)};
}

char SeparatorOf(FieldKind kind) {
    return kind == FieldKind::Date ? '/' : ':';
}

// Splits "BD|..|" into the field code and the "|..|" values.
std::pair<std::string_view, std::string_view> SplitCode(std::string_view rest) {
    const auto bar = rest.find('|');
    if (bar == std::string_view::npos)
        return {rest, {}};
    return {rest.substr(0, bar), rest.substr(bar)};
}

std::optional<Triple> OneField(std::string_view values, char separator) {
    const auto fields = ParseBarFields(values, std::string_view(&separator, 1));
    if (!fields)
        return std::nullopt;
    return fields->front();
}

Triple AsMinutesSeconds(int seconds) {
    return {0, seconds / 60, seconds % 60};
}

} // namespace

Device::Device(DeviceState state, WallClock clock)
    : state_(std::move(state)), clock_(std::move(clock)), started_(clock_()) {}

std::time_t Device::DeviceTime() const {
    return clock_() + static_cast<std::time_t>(state_.clockOffset);
}

Answer Device::Handle(std::string_view command) {
    if (command.empty())
        return Nak();
    const std::string_view args = command.substr(1);
    switch (command[0]) {
    case '?':
        return args.empty() ? Ack() : Nak();
    case 'C':
        return Clock(args);
    case 'F':
        return args.empty() ? Reply("F|" + state_.firmware + "|") : Nak();
    case 'B':
        return args.empty() ? Voltages() : Nak();
    case 'I':
        return Identification(args);
    case 'A':
        return Address(args);
    case 'L':
        return Delay(args);
    case 'S':
        return Schedule(command);
    default:
        return Nak();
    }
}

Answer Device::Clock(std::string_view args) {
    if (args.empty()) {
        const std::time_t now = DeviceTime();
        return Reply("C|" + FormatTriple(DateOf(now), '/') + "|" + FormatTriple(TimeOf(now), ':') +
                     "|");
    }
    const auto fields = ParseBarFields(args, "/:");
    if (!fields || !IsCalendarDate((*fields)[0]) || !IsTimeOfDay((*fields)[1]))
        return Nak();
    const auto [date, time] = std::pair((*fields)[0], (*fields)[1]);
    std::tm local{};
    local.tm_mon = date[0] - 1;
    local.tm_mday = date[1];
    local.tm_year = date[2] + 100;
    local.tm_hour = time[0];
    local.tm_min = time[1];
    local.tm_sec = time[2];
    local.tm_isdst = -1;
    const std::time_t wanted = std::mktime(&local);
    if (wanted == static_cast<std::time_t>(-1))
        return Nak();
    state_.clockOffset = static_cast<std::int64_t>(wanted) - static_cast<std::int64_t>(clock_());
    return Ack();
}

Answer Device::Identification(std::string_view args) {
    if (args.empty())
        return Reply("I|" + state_.identification + "|");
    if (args.size() != kIdentificationLength + 2 || args.front() != '|' || args.back() != '|')
        return Nak();
    const std::string_view text = args.substr(1, kIdentificationLength);
    if (!IsIdentificationText(text))
        return Nak();
    state_.identification = std::string(text);
    return Ack();
}

Answer Device::Address(std::string_view args) {
    if (args.empty())
        return Reply(std::string("A") + state_.address);
    if (args.size() != 1)
        return Nak();
    // "?" is the bus's wildcard, not an address a sensor can take: accepted, kept as it was.
    if (args[0] == '?')
        return Ack();
    if (!IsAddress(args[0]))
        return Nak();
    state_.address = args[0];
    return Ack();
}

Answer Device::Delay(std::string_view args) {
    if (args.empty()) {
        char text[16];
        std::snprintf(text, sizeof text, "L|%03d|", state_.delay);
        return Reply(text);
    }
    if (args.size() != 5 || args[0] != '|' || args[4] != '|')
        return Nak();
    int value = 0;
    for (const char c : args.substr(1, 3)) {
        if (c < '0' || c > '9')
            return Nak();
        value = value * 10 + (c - '0');
    }
    state_.delay = value;
    return Ack();
}

Answer Device::Voltages() const {
    // A slow swing around the nominal values, as a battery under a daily load would show.
    const double hours = static_cast<double>(clock_() - started_) / 3600.0;
    const double swing = std::sin(2.0 * std::numbers::pi * hours / 6.0);
    char text[40];
    std::snprintf(text, sizeof text, "B|%.2f|%.2f|", state_.externalVolts + 0.05 * swing,
                  state_.internalVolts + 0.01 * swing);
    return Reply(text);
}

Answer Device::Schedule(std::string_view command) {
    if (command.size() < 3)
        return Nak();
    const char entry = command[1];
    const std::string_view rest = command.substr(2);
    if (entry == '0')
        return AllSchedules(rest);
    if (entry == '5')
        return SdiDuration(entry, rest);
    if (entry >= '1' && entry <= '4')
        return Entry(entry, rest);
    return Nak();
}

Answer Device::AllSchedules(std::string_view rest) {
    // Sampling pauses while the clock is being changed, so no run starts at a half-set time.
    if (rest == "D") {
        state_.schedulesHeld = true;
        return Ack();
    }
    if (rest == "A") {
        state_.schedulesHeld = false;
        return Ack();
    }
    return Nak();
}

Answer Device::SdiDuration(char entry, std::string_view rest) {
    static constexpr std::string_view kLetters = "VHP";
    const auto [code, values] = SplitCode(rest);
    if (code.size() != 1 || kLetters.find(code[0]) == std::string_view::npos)
        return Nak();
    int& seconds = state_.sdiDurations[kLetters.find(code[0])];
    if (values.empty())
        return Reply(std::string("S") + entry + std::string(code) + "|" +
                     FormatTriple(AsMinutesSeconds(seconds), ':') + "|");
    const auto value = OneField(values, ':');
    if (!value || !SdiDurationHolds(*value))
        return Nak();
    seconds = (*value)[1] * 60 + (*value)[2];
    return Ack();
}

Answer Device::Entry(char entry, std::string_view rest) {
    ScheduleEntry& slot = state_.schedules[static_cast<std::size_t>(entry - '1')];
    if (rest == "?")
        return Reply(std::string("S") + entry + slot.status);
    if (rest == "A" || rest == "D" || rest == "0") {
        slot.status = rest[0];
        return Ack();
    }
    if (rest == "R") {
        ++state_.testRuns;
        return Ack();
    }
    const auto [code, values] = SplitCode(rest);
    for (std::size_t i = 0; i < kScheduleFields.size(); ++i) {
        const FieldSpec& field = kScheduleFields[i];
        if (field.code != code)
            continue;
        const char separator = SeparatorOf(field.kind);
        if (values.empty())
            return Reply(std::string("S") + entry + std::string(code) + "|" +
                         FormatTriple(slot.fields[i], separator) + "|");
        const auto value = OneField(values, separator);
        if (!value || !FieldHolds(field.kind, *value))
            return Nak();
        slot.fields[i] = *value;
        return Ack();
    }
    return Nak();
}

} // namespace zrnsim
