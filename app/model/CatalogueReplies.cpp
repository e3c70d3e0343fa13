// Reply parsers: fixed positions, the two scan formats and the "|" split.
#include "model/Catalogue.h"

#include "base/Text.h"

#include <charconv>
#include <limits>

namespace zrn {

std::string_view FixedField(std::string_view reply, std::size_t pos, std::size_t n) {
    if (pos >= reply.size())
        return {};
    return reply.substr(pos, n);
}

int FixedNumber(std::string_view reply, std::size_t pos, std::size_t n) {
    int value = 0;
    for (char ch : FixedField(reply, pos, n)) {
        if (ch < '0' || ch > '9')
            break;
        value = value * 10 + (ch - '0');
    }
    return value;
}

namespace {

bool IsBlank(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r' || ch == '\f' || ch == '\v';
}

void SkipBlanks(std::string_view& text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
}

// The number part of a scanned field: from_chars takes a '-' but not a '+'.
std::string_view NumberStart(std::string_view text) {
    if (text.size() > 1 && text.front() == '+' && text[1] != '+' && text[1] != '-')
        text.remove_prefix(1);
    return text;
}

// One "%d" or "%f" of a formatted scan: blanks, optional sign, a number. A
// number out of range does not convert (the C scan's result would be undefined).
template <typename Number> bool ScanNumber(std::string_view& text, Number& value) {
    SkipBlanks(text);
    const std::string_view number = NumberStart(text);
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec != std::errc{})
        return false;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return true;
}

bool ScanLiteral(std::string_view& text, char ch) {
    if (text.empty() || text.front() != ch)
        return false;
    text.remove_prefix(1);
    return true;
}

} // namespace

int DecimalValue(std::string_view text) {
    return LeadingInteger(TrimBlanks(text));
}

std::string ParseAddressReply(std::string_view reply) {
    return std::string(FixedField(reply, 1, 1));
}

Voltages ParseVoltageReply(std::string_view reply, Voltages previous) {
    // "B|%f|%f|": each field is stored as soon as it converts, as the C scan does.
    Voltages out = previous;
    std::string_view rest = reply;
    if (!ScanLiteral(rest, 'B') || !ScanLiteral(rest, '|') || !ScanNumber(rest, out.fExternalVolts))
        return out;
    if (!ScanLiteral(rest, '|'))
        return out;
    ScanNumber(rest, out.fInternalVolts);
    return out;
}

std::string_view VoltageTraceExternal(std::string_view reply) {
    return FixedField(reply, 2, 4);
}
std::string_view VoltageTraceInternal(std::string_view reply) {
    return FixedField(reply, 7, 4);
}

std::string VoltsText(float volts) {
    char text[64]; // the widest float has 39 digits before the point
    const auto [end, ec] = std::to_chars(text, text + sizeof text, static_cast<double>(volts),
                                         std::chars_format::fixed, 2);
    return ec == std::errc{} ? std::string(text, end) : std::string();
}

std::optional<LocalDateTime> ParseClockReply(std::string_view reply) {
    LocalDateTime f;
    std::string_view rest = reply;
    const bool all =
        ScanLiteral(rest, 'C') && ScanLiteral(rest, '|') && ScanNumber(rest, f.month) &&
        ScanLiteral(rest, '/') && ScanNumber(rest, f.day) && ScanLiteral(rest, '/') &&
        ScanNumber(rest, f.year) && ScanLiteral(rest, '|') && ScanNumber(rest, f.hour) &&
        ScanLiteral(rest, ':') && ScanNumber(rest, f.minute) && ScanLiteral(rest, ':') &&
        ScanNumber(rest, f.second);
    if (!all || f.year > std::numeric_limits<int>::max() - 2000)
        return std::nullopt;
    f.year += 2000;
    return f;
}

VersionReply ParseVersionReply(std::string_view reply) {
    VersionReply out;
    out.strMajor = FixedField(reply, 2, 2);
    out.strMinor = FixedField(reply, 5, 2);
    out.bValid = reply.size() > 1;
    if (out.bValid) {
        out.nMajor = FixedNumber(reply, 2, 2);
        out.nMinor = FixedNumber(reply, 5, 2);
    }
    return out;
}

SdiIdent ParseIdentReply(std::string_view reply) {
    return SdiIdent{std::string(FixedField(reply, 2, SDI_VERSION_WIDTH)),
                    std::string(FixedField(reply, 4, SDI_MFG_NAME_WIDTH)),
                    std::string(FixedField(reply, 12, SDI_MFG_MODEL_WIDTH)),
                    std::string(FixedField(reply, 18, SDI_MFG_VERSION_WIDTH)),
                    std::string(FixedField(reply, 21, SDI_MFG_OPTIONAL_WIDTH))};
}

std::optional<std::string> ParseDelayReply(std::string_view reply) {
    const std::size_t first = reply.find('|');
    if (first == std::string_view::npos)
        return std::nullopt;
    const std::string_view rest = reply.substr(first + 1);
    return std::string(rest.substr(0, rest.find('|')));
}

namespace {

ScheduleReplyKind EntryReplyKind(std::string_view reply) {
    const char letter = reply[2];
    const char next = reply.size() > 3 ? reply[3] : '\0';
    switch (letter) {
    case 'A':
    case 'D':
    case '0':
        return ScheduleReplyKind::Status;
    case 'B':
        return next == 'D'   ? ScheduleReplyKind::StartDate
               : next == 'T' ? ScheduleReplyKind::StartTime
                             : ScheduleReplyKind::Other;
    case 'E':
        return next == 'D'   ? ScheduleReplyKind::StopDate
               : next == 'T' ? ScheduleReplyKind::StopTime
                             : ScheduleReplyKind::Other;
    case 'I':
        return ScheduleReplyKind::Interval;
    case 'V':
        return ScheduleReplyKind::Valve;
    case 'H':
        return ScheduleReplyKind::Hold;
    case 'P':
        return ScheduleReplyKind::Pump;
    default:
        return ScheduleReplyKind::Other;
    }
}

} // namespace

ScheduleReply ParseScheduleReply(std::string_view reply) {
    ScheduleReply out;
    if (reply.size() < 3)
        return out;
    const char digit = reply[1];
    if (digit >= '1' && digit <= '4')
        out.kind = EntryReplyKind(reply);
    else if (digit == '5' && (reply[2] == 'V' || reply[2] == 'H' || reply[2] == 'P'))
        out.kind = EntryReplyKind(reply);
    else
        return out;
    out.nNumber = digit - '0';
    using K = ScheduleReplyKind;
    switch (out.kind) {
    case K::Status:
        out.chStatus = reply[2];
        break;
    case K::StartDate:
    case K::StartTime:
    case K::StopDate:
    case K::StopTime:
        out.nValues = {FixedNumber(reply, 5, 2), FixedNumber(reply, 8, 2),
                       FixedNumber(reply, 11, 2)};
        break;
    case K::Interval:
        out.nValues = {FixedNumber(reply, 4, 2), FixedNumber(reply, 7, 2),
                       FixedNumber(reply, 10, 2)};
        break;
    case K::Valve:
    case K::Hold:
    case K::Pump:
        out.nValues = {0, FixedNumber(reply, 7, 2), FixedNumber(reply, 10, 2)};
        break;
    case K::Ignored:
    case K::Other:
        break;
    }
    return out;
}

bool StoreScheduleReply(ScheduleEntry& e, const ScheduleReply& reply) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(reply.nValues[i]); };
    using K = ScheduleReplyKind;
    switch (reply.kind) {
    case K::StartDate:
        e.nStartMonth = byte(0), e.nStartDay = byte(1), e.nStartYear = byte(2);
        return true;
    case K::StartTime:
        e.nStartHour = byte(0), e.nStartMinute = byte(1), e.nStartSecond = byte(2);
        return true;
    case K::StopDate:
        e.nStopMonth = byte(0), e.nStopDay = byte(1), e.nStopYear = byte(2);
        return true;
    case K::StopTime:
        e.nStopHour = byte(0), e.nStopMinute = byte(1), e.nStopSecond = byte(2);
        return true;
    case K::Interval:
        e.nIntervalHours = byte(0), e.nIntervalMinutes = byte(1), e.nIntervalSeconds = byte(2);
        return true;
    case K::Valve:
        e.nValveMinutes = byte(1), e.nValveSeconds = byte(2);
        return true;
    case K::Hold:
        e.nHoldMinutes = byte(1), e.nHoldSeconds = byte(2);
        return true;
    case K::Pump:
        e.nPumpMinutes = byte(1), e.nPumpSeconds = byte(2);
        return true;
    case K::Ignored:
    case K::Other:
    case K::Status:
        return false;
    }
    return false;
}

} // namespace zrn
