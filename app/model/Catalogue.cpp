// Command builders and the fixed command blocks.
#include "model/Catalogue.h"

#include <cstdio>

namespace zrn {

std::string ProbeCommand() {
    return "?";
}
std::string ClockQuery() {
    return "C";
}
std::string VoltageQuery() {
    return "B";
}
std::string VersionQuery() {
    return "F";
}
std::string ClockHoldCommand() {
    return "S0D";
}
std::string ClockReleaseCommand() {
    return "S0A";
}

std::string ClockSetCommand(const LocalDateTime& local) {
    const int year2 = (local.year % 100 + 100) % 100;
    char text[64];
    std::snprintf(text, sizeof text, "C|%02d/%02d/%02d|%02d:%02d:%02d|", local.month, local.day,
                  year2, local.hour, local.minute, local.second);
    return text;
}

CommandList ClockSetSequence(std::int64_t t) {
    const auto local = BreakLocalTime(t);
    if (!local)
        return {};
    return {ClockHoldCommand(), ClockSetCommand(*local), ClockReleaseCommand()};
}

namespace {

// The value cut to width and right-aligned with blanks.
std::string FixedWidth(std::string_view value, std::size_t width) {
    value = value.substr(0, width);
    return std::string(width - value.size(), ' ').append(value);
}

char DurationLetter(SdiDuration which) {
    switch (which) {
    case SdiDuration::Valve:
        return 'V';
    case SdiDuration::Hold:
        return 'H';
    case SdiDuration::Pump:
        return 'P';
    }
    return 'V';
}

} // namespace

std::string IdentQuery() {
    return "I";
}

std::string IdentSetCommand(const SdiIdent& ident) {
    return "I|" + FixedWidth(ident.strVersion, SDI_VERSION_WIDTH) +
           FixedWidth(ident.strMfgName, SDI_MFG_NAME_WIDTH) +
           FixedWidth(ident.strMfgModel, SDI_MFG_MODEL_WIDTH) +
           FixedWidth(ident.strMfgVersion, SDI_MFG_VERSION_WIDTH) +
           FixedWidth(ident.strMfgOptional, SDI_MFG_OPTIONAL_WIDTH) + "|";
}

std::string AddressQuery() {
    return "A";
}

bool IsAcceptableAddress(char ch) {
    return (ch >= '0' && ch <= '9') || ch == '?';
}

std::optional<std::string> AddressSetCommand(char ch) {
    if (!IsAcceptableAddress(ch))
        return std::nullopt;
    return std::string{'A', ch};
}

std::string DelayQuery() {
    return "L";
}

std::optional<std::string> DelaySetCommand(int nDelay) {
    if (nDelay < 0 || nDelay > MAX_DELAY)
        return std::nullopt;
    char text[16];
    std::snprintf(text, sizeof text, "L|%03d|", nDelay);
    return text;
}

std::string SdiDurationQuery(SdiDuration which) {
    return std::string{'S', '5', DurationLetter(which)};
}

std::optional<std::string> SdiDurationSetCommand(SdiDuration which, int nTotalSeconds) {
    if (nTotalSeconds < 0 || nTotalSeconds > MAX_SDI_DURATION)
        return std::nullopt;
    char text[32];
    std::snprintf(text, sizeof text, "S5%c|00:%02d:%02d|", DurationLetter(which),
                  nTotalSeconds / 60, nTotalSeconds % 60);
    return text;
}

CommandList AddressChangeSequence(char ch) {
    CommandList commands;
    if (auto set = AddressSetCommand(ch))
        commands.push_back(*set);
    commands.push_back(AddressQuery());
    return commands;
}

CommandList DelayChangeSequence(int nDelay) {
    CommandList commands;
    if (auto set = DelaySetCommand(nDelay))
        commands.push_back(*set);
    commands.push_back(DelayQuery());
    return commands;
}

CommandList SdiDurationChangeSequence(SdiDuration which, int nTotalSeconds) {
    auto set = SdiDurationSetCommand(which, nTotalSeconds);
    if (!set)
        return {};
    return {*set, SdiDurationQuery(which)};
}

namespace {

const char* FieldCode(ScheduleField field) {
    switch (field) {
    case ScheduleField::StartDate:
        return "BD";
    case ScheduleField::StartTime:
        return "BT";
    case ScheduleField::StopDate:
        return "ED";
    case ScheduleField::StopTime:
        return "ET";
    case ScheduleField::Interval:
        return "I";
    case ScheduleField::Valve:
        return "V";
    case ScheduleField::Hold:
        return "H";
    case ScheduleField::Pump:
        return "P";
    }
    return "";
}

constexpr ScheduleField kTransferOrder[] = {
    ScheduleField::StartDate, ScheduleField::StartTime, ScheduleField::StopDate,
    ScheduleField::StopTime,  ScheduleField::Interval,  ScheduleField::Valve,
    ScheduleField::Hold,      ScheduleField::Pump,
};

struct Triple {
    int a, b, c;
    bool isDate;
};

Triple FieldValues(ScheduleField field, const ScheduleEntry& e) {
    switch (field) {
    case ScheduleField::StartDate:
        return {e.nStartMonth, e.nStartDay, e.nStartYear, true};
    case ScheduleField::StartTime:
        return {e.nStartHour, e.nStartMinute, e.nStartSecond, false};
    case ScheduleField::StopDate:
        return {e.nStopMonth, e.nStopDay, e.nStopYear, true};
    case ScheduleField::StopTime:
        return {e.nStopHour, e.nStopMinute, e.nStopSecond, false};
    case ScheduleField::Interval:
        return {e.nIntervalHours, e.nIntervalMinutes, e.nIntervalSeconds, false};
    case ScheduleField::Valve:
        return {0, e.nValveMinutes, e.nValveSeconds, false};
    case ScheduleField::Hold:
        return {0, e.nHoldMinutes, e.nHoldSeconds, false};
    case ScheduleField::Pump:
        return {0, e.nPumpMinutes, e.nPumpSeconds, false};
    }
    return {0, 0, 0, false};
}

std::string EntryCommand(int n, const char* code) {
    char text[16];
    std::snprintf(text, sizeof text, "S%d%s", n, code);
    return text;
}

} // namespace

std::string ScheduleStatusQuery(int n) {
    return EntryCommand(n, "?");
}
std::string ScheduleFieldQuery(int n, ScheduleField field) {
    return EntryCommand(n, FieldCode(field));
}
std::string ScheduleInactivateCommand(int n) {
    return EntryCommand(n, "D");
}
std::string ScheduleDeleteCommand(int n) {
    return EntryCommand(n, "0");
}
std::string ScheduleTestCommand(int n) {
    return EntryCommand(n, "R");
}

std::string ScheduleStatusCommand(int n, char chStatus) {
    const char status[2] = {chStatus == '\0' ? STATUS_EMPTY : chStatus, '\0'};
    return EntryCommand(n, status);
}

std::string ScheduleFieldSetCommand(int n, ScheduleField field, const ScheduleEntry& entry) {
    const Triple v = FieldValues(field, entry);
    char text[48];
    if (v.isDate)
        std::snprintf(text, sizeof text, "S%d%s|%02d/%02d/%02d|", n, FieldCode(field), v.a, v.b,
                      v.c);
    else
        std::snprintf(text, sizeof text, "S%d%s|%02d:%02d:%02d|", n, FieldCode(field), v.a, v.b,
                      v.c);
    return text;
}

CommandList ScheduleReadSequence(int n) {
    CommandList commands{ScheduleStatusQuery(n)};
    for (ScheduleField field : kTransferOrder)
        commands.push_back(ScheduleFieldQuery(n, field));
    return commands;
}

CommandList ScheduleUploadSequence(const ScheduleEntry& entry) {
    const int n = entry.nNumber;
    CommandList commands{ScheduleInactivateCommand(n)};
    for (ScheduleField field : kTransferOrder)
        commands.push_back(ScheduleFieldSetCommand(n, field, entry));
    commands.push_back(ScheduleStatusCommand(n, static_cast<char>(entry.chStatus)));
    return commands;
}

CommandList FullReadSequence() {
    return {VersionQuery(),
            VoltageQuery(),
            IdentQuery(),
            DelayQuery(),
            AddressQuery(),
            SdiDurationQuery(SdiDuration::Valve),
            SdiDurationQuery(SdiDuration::Hold),
            SdiDurationQuery(SdiDuration::Pump),
            ClockQuery()};
}

int PollingPeriod(int nPollingTime) {
    return nPollingTime < MIN_POLLING_TIME ? MIN_POLLING_TIME : nPollingTime;
}

PollTick NormalPollTick(int nPollStep) {
    const std::string rotation[] = {DelayQuery(),
                                    AddressQuery(),
                                    SdiDurationQuery(SdiDuration::Valve),
                                    SdiDurationQuery(SdiDuration::Hold),
                                    SdiDurationQuery(SdiDuration::Pump),
                                    VoltageQuery()};
    PollTick tick{{ClockQuery()}, 0};
    if (nPollStep >= 0 && nPollStep < static_cast<int>(std::size(rotation))) {
        tick.commands.push_back(rotation[nPollStep]);
        tick.nNextPollStep = nPollStep + 1;
    }
    return tick;
}

} // namespace zrn
