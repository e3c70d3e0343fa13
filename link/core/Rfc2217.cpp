#include "Rfc2217.h"

#include <iterator>
#include <utility>

namespace zrn {

namespace {

constexpr unsigned char IAC = 255;
constexpr unsigned char DONT = 254;
constexpr unsigned char DO = 253;
constexpr unsigned char WONT = 252;
constexpr unsigned char WILL = 251;
constexpr unsigned char SB = 250;
constexpr unsigned char SE = 240;

constexpr unsigned char BINARY = 0;
constexpr unsigned char SGA = 3;
constexpr unsigned char COM_PORT = 44;

// SET-BAUDRATE .. SET-CONTROL; the gateway answers each with its code + 100.
constexpr unsigned char kFirstSetting = 1;
constexpr unsigned char kAnswerOffset = 100;

void AppendCommand(std::string& out, unsigned char verb, unsigned char option) {
    out += static_cast<char>(IAC);
    out += static_cast<char>(verb);
    out += static_cast<char>(option);
}

void AppendEscaped(std::string& out, unsigned char byte) {
    out += static_cast<char>(byte);
    if (byte == IAC)
        out += static_cast<char>(IAC);
}

void AppendSetting(std::string& out, unsigned char code, const unsigned char* value,
                   std::size_t length) {
    out += static_cast<char>(IAC);
    out += static_cast<char>(SB);
    out += static_cast<char>(COM_PORT);
    out += static_cast<char>(code);
    for (std::size_t i = 0; i < length; ++i)
        AppendEscaped(out, value[i]);
    out += static_cast<char>(IAC);
    out += static_cast<char>(SE);
}

struct Named {
    std::uint32_t value;
    std::string_view name;
};

constexpr Named kParityNames[] = {{1, "none"}, {2, "odd"}, {3, "even"}, {4, "mark"}, {5, "space"}};
constexpr Named kStopNames[] = {{1, "1"}, {2, "2"}, {3, "1.5"}};
constexpr Named kControlNames[] = {
    {1, "none"},          {2, "xon-xoff"},          {3, "hardware"},
    {14, "inbound none"}, {15, "inbound xon-xoff"}, {16, "inbound hardware"},
    {17, "DCD"},          {18, "inbound DTR"},      {19, "DSR"}};

template <std::size_t N> std::string Name(const Named (&names)[N], std::uint32_t value) {
    for (const Named& named : names) {
        if (named.value == value)
            return std::string(named.name);
    }
    return "code " + std::to_string(value);
}

// SET-CONTROL mixes flow control with BREAK, DTR and RTS, which the gateway
// may report unasked: only an answer of the kind asked answers us. Kinds:
// outbound flow 0, BREAK 1, DTR 2, RTS 3, inbound flow 4.
constexpr int kControlKinds[] = {0, 0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 4, 0, 4, 0};

int ControlKind(std::uint32_t value) {
    return value < std::size(kControlKinds) ? kControlKinds[value] : -1;
}

constexpr const char* kSettingNames[] = {"baud rate", "data size", "parity", "stop bits",
                                         "flow control"};

std::string Refusal(std::size_t setting, std::uint32_t asked, std::uint32_t got) {
    std::string what;
    std::string answer;
    switch (setting) {
    case 0:
        what = std::to_string(asked) + " baud";
        answer = std::to_string(got);
        break;
    case 1:
        what = std::to_string(asked) + " data bits";
        answer = std::to_string(got);
        break;
    case 2:
        what = "parity " + Name(kParityNames, asked);
        answer = Name(kParityNames, got);
        break;
    case 3:
        what = Name(kStopNames, asked) + (asked == 1 ? " stop bit" : " stop bits");
        answer = Name(kStopNames, got);
        break;
    default:
        what = "flow control " + Name(kControlNames, asked);
        answer = Name(kControlNames, got);
        break;
    }
    return "the gateway refused " + what + " (it answered " + answer + ")";
}

} // namespace

TelnetClient::TelnetClient(ComPortSettings wanted) : wanted(wanted) {}

std::string TelnetClient::Start() {
    std::string out;
    const auto ask = [&out](std::array<Side, 256>& side, unsigned char verb, unsigned char option) {
        if (side[option] != Side::No)
            return;
        side[option] = Side::WantYes;
        AppendCommand(out, verb, option);
    };
    ask(us, WILL, BINARY);
    ask(him, DO, BINARY);
    ask(us, WILL, SGA);
    ask(him, DO, SGA);
    ask(us, WILL, COM_PORT);
    return out;
}

void TelnetClient::Feed(std::string_view bytes, std::string& data, std::string& reply) {
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        switch (parse) {
        case Parse::Data:
            if (byte == IAC)
                parse = Parse::Command;
            else
                data += c;
            break;
        case Parse::Command:
            OnCommand(byte, data);
            break;
        case Parse::Option:
            parse = Parse::Data;
            OnOption(byte, reply);
            break;
        case Parse::Sub:
            if (byte == IAC)
                parse = Parse::SubIac;
            else
                Store(byte);
            break;
        case Parse::SubIac:
            if (byte == IAC) {
                parse = Parse::Sub;
                Store(byte);
            } else if (byte == SE) {
                parse = Parse::Data;
                OnSubnegotiation();
            } else {
                // No IAC SE: the unfinished one is dropped, and what follows
                // is a command, lest a lost SE swallow the stream.
                OnCommand(byte, data);
            }
            break;
        }
    }
}

void TelnetClient::Store(unsigned char byte) {
    if (subLength < sub.size())
        sub[subLength++] = byte;
    else
        subOverflow = true;
}

void TelnetClient::OnCommand(unsigned char byte, std::string& data) {
    parse = Parse::Data;
    if (byte == IAC) {
        data += static_cast<char>(IAC);
    } else if (byte >= WILL && byte <= DONT) {
        verb = byte;
        parse = Parse::Option;
    } else if (byte == SB) {
        subLength = 0;
        subOverflow = false;
        parse = Parse::Sub;
    }
    // NOP, GA, DM, AYT and the like, and bytes that are no command, mean
    // nothing to a binary serial stream.
}

void TelnetClient::OnOption(unsigned char option, std::string& reply) {
    switch (verb) {
    case DO:
        if (us[option] == Side::Yes)
            return;
        if (us[option] == Side::No) {
            if (option != BINARY && option != SGA && option != COM_PORT) {
                AppendCommand(reply, WONT, option);
                return;
            }
            AppendCommand(reply, WILL, option);
        }
        us[option] = Side::Yes;
        if (option == COM_PORT)
            SendSettings(reply);
        return;
    case DONT:
        if (option == COM_PORT)
            Refuse("the gateway does not offer the COM port option (RFC 2217)", false);
        if (us[option] == Side::Yes)
            AppendCommand(reply, WONT, option);
        us[option] = Side::No;
        return;
    case WILL:
        if (him[option] == Side::Yes)
            return;
        if (him[option] == Side::No) {
            // ser2net offers ECHO; a serial line must not echo.
            if (option != BINARY && option != SGA) {
                AppendCommand(reply, DONT, option);
                return;
            }
            AppendCommand(reply, DO, option);
        }
        him[option] = Side::Yes;
        return;
    default: // WONT
        if (him[option] == Side::Yes)
            AppendCommand(reply, DONT, option);
        him[option] = Side::No;
        return;
    }
}

void TelnetClient::SendSettings(std::string& reply) {
    if (asked || state == State::Refused)
        return;
    asked = true;
    const std::uint32_t baud = wanted.baud;
    const unsigned char baudBytes[] = {
        static_cast<unsigned char>(baud >> 24), static_cast<unsigned char>(baud >> 16),
        static_cast<unsigned char>(baud >> 8), static_cast<unsigned char>(baud)};
    AppendSetting(reply, kFirstSetting, baudBytes, sizeof baudBytes);
    const unsigned char bytes[] = {wanted.dataSize, wanted.parity, wanted.stopSize, wanted.control};
    for (std::size_t i = 0; i < sizeof bytes; ++i)
        AppendSetting(reply, static_cast<unsigned char>(kFirstSetting + 1 + i), &bytes[i], 1);
}

void TelnetClient::OnSubnegotiation() {
    if (subOverflow || subLength < 2 || sub[0] != COM_PORT)
        return;
    const unsigned code = sub[1];
    if (code < kAnswerOffset + kFirstSetting || code >= kAnswerOffset + kFirstSetting + kSettings)
        return; // notifications, masks, purges: nothing this side waits for
    OnAnswer(code - kAnswerOffset - kFirstSetting, sub.data() + 2, subLength - 2);
}

void TelnetClient::OnAnswer(std::size_t setting, const unsigned char* value, std::size_t length) {
    // Answers before we asked, or after the first, answer nothing of ours.
    if (!asked || answered[setting] || state != State::Negotiating)
        return;
    const std::size_t expected = setting == 0 ? 4 : 1;
    if (length != expected) {
        answered[setting] = true;
        Refuse(std::string("the gateway sent a malformed answer about the ") +
                   kSettingNames[setting],
               true);
        return;
    }
    std::uint32_t got = value[0];
    if (setting == 0)
        got = std::uint32_t{value[0]} << 24 | std::uint32_t{value[1]} << 16 |
              std::uint32_t{value[2]} << 8 | value[3];
    const std::uint32_t wantedValues[] = {wanted.baud, wanted.dataSize, wanted.parity,
                                          wanted.stopSize, wanted.control};
    const std::uint32_t want = wantedValues[setting];
    if (setting == kSettings - 1) {
        const int kind = ControlKind(want);
        const int gotKind = ControlKind(got);
        if (kind >= 0 && gotKind >= 0 && kind != gotKind)
            return;
    }
    answered[setting] = true;
    if (want != 0 && got != want) {
        Refuse(Refusal(setting, want, got), true);
        return;
    }
    for (const bool done : answered) {
        if (!done)
            return;
    }
    state = State::Ready;
}

void TelnetClient::Refuse(std::string text, bool setting) {
    if (state == State::Refused)
        return;
    state = State::Refused;
    problem = std::move(text);
    settingRefused = setting;
}

std::string TelnetClient::Escape(std::string_view data) {
    std::string out;
    out.reserve(data.size());
    for (const char c : data)
        AppendEscaped(out, static_cast<unsigned char>(c));
    return out;
}

} // namespace zrn
