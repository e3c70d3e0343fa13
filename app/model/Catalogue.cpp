// Command builders and the fixed command blocks.
#include "model/Catalogue.h"

#include "model/FieldForms.h"

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
    constexpr char kLetters[] = {'V', 'H', 'P'}; // in SdiDuration order
    return kLetters[static_cast<std::size_t>(which)];
}

// The value command when the value is acceptable, then the query that reads
// back what the device holds.
CommandList SetThenQuery(std::optional<std::string> set, std::string query) {
    CommandList commands;
    if (set)
        commands.push_back(std::move(*set));
    commands.push_back(std::move(query));
    return commands;
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
    return SetThenQuery(AddressSetCommand(ch), AddressQuery());
}

CommandList DelayChangeSequence(int nDelay) {
    return SetThenQuery(DelaySetCommand(nDelay), DelayQuery());
}

CommandList SdiDurationChangeSequence(SdiDuration which, int nTotalSeconds) {
    auto set = SdiDurationSetCommand(which, nTotalSeconds);
    if (!set)
        return {};
    return {*set, SdiDurationQuery(which)};
}

namespace {

std::string EntryCommand(int n, std::string_view code) {
    return "S" + std::to_string(n) + std::string(code);
}

} // namespace

std::string ScheduleStatusQuery(int n) {
    return EntryCommand(n, "?");
}
std::string ScheduleFieldQuery(int n, ScheduleField field) {
    return EntryCommand(n, FormOf(field).code);
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
    return EntryCommand(n, std::string(1, chStatus == '\0' ? STATUS_EMPTY : chStatus));
}

std::string ScheduleFieldSetCommand(int n, ScheduleField field, const ScheduleEntry& entry) {
    const FieldForm& form = FormOf(field);
    int number[3] = {};
    for (std::size_t i = 0; i < form.bytes.size(); ++i)
        if (form.bytes[i] != nullptr)
            number[i] = entry.*form.bytes[i];
    const char separator = form.isDate ? '/' : ':';
    char value[48];
    std::snprintf(value, sizeof value, "|%02d%c%02d%c%02d|", number[0], separator, number[1],
                  separator, number[2]);
    return EntryCommand(n, form.code) + value;
}

CommandList ScheduleReadSequence(int n) {
    CommandList commands{ScheduleStatusQuery(n)};
    for (const FieldForm& form : kFieldForms)
        commands.push_back(ScheduleFieldQuery(n, form.field));
    return commands;
}

CommandList ScheduleUploadSequence(const ScheduleEntry& entry) {
    const int n = entry.nNumber;
    CommandList commands{ScheduleInactivateCommand(n)};
    for (const FieldForm& form : kFieldForms)
        commands.push_back(ScheduleFieldSetCommand(n, form.field, entry));
    commands.push_back(ScheduleStatusCommand(n, static_cast<char>(entry.chStatus)));
    return commands;
}

CommandList StatusChangeSequence(int n, char chStatus) {
    return {ScheduleStatusCommand(n, chStatus), ScheduleStatusQuery(n)};
}

CommandList ClearAllSequence() {
    CommandList commands;
    for (int n = 1; n <= SCHEDULE_ENTRY_COUNT; ++n)
        commands.push_back(ScheduleDeleteCommand(n));
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
