// Reply parsers: fixed positions, the two scan formats and the "|" split.
#include "model/Catalogue.h"

#include "base/Text.h"
#include "model/FieldForms.h"

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
    if (letter == STATUS_ACTIVE || letter == STATUS_INACTIVE || letter == STATUS_EMPTY)
        return ScheduleReplyKind::Status;
    for (const FieldForm& form : kFieldForms)
        if (reply.substr(2).starts_with(form.code))
            return form.kind;
    return ScheduleReplyKind::Other;
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
    if (out.kind == ScheduleReplyKind::Status)
        out.chStatus = reply[2];
    if (const FieldForm* form = FormOf(out.kind)) {
        // "S<n><code>|" then two digits per number, one separator between them.
        const std::size_t first = 2 + form->code.size() + 1;
        for (std::size_t i = 0; i < form->bytes.size(); ++i)
            if (form->bytes[i] != nullptr)
                out.nValues[i] = FixedNumber(reply, first + 3 * i, 2);
    }
    return out;
}

bool StoreScheduleReply(ScheduleEntry& e, const ScheduleReply& reply) {
    const FieldForm* form = FormOf(reply.kind);
    if (form == nullptr)
        return false;
    for (std::size_t i = 0; i < form->bytes.size(); ++i)
        if (form->bytes[i] != nullptr)
            e.*form->bytes[i] = static_cast<std::uint8_t>(reply.nValues[i]);
    return true;
}

} // namespace zrn
