#pragma once
// The telnet side of a network serial port (RFC 2217, as ser2net serves it):
// option negotiation, the line settings and the data stream. No I/O: the
// port hands it the bytes of each read and sends what it returns.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zrn {

// Line settings asked of the gateway, in RFC 2217's own values. A 0 asks for
// the gateway's current value, and whatever it answers is taken.
struct ComPortSettings {
    std::uint32_t baud = 9600;
    std::uint8_t dataSize = 8;
    std::uint8_t parity = 1;   // NONE
    std::uint8_t stopSize = 1; // 1 stop bit
    std::uint8_t control = 1;  // no flow control
};

class TelnetClient {
public:
    // Longest sub-negotiation kept; longer ones are skipped to their end.
    static constexpr std::size_t kMaxSubnegotiation = 64;

    explicit TelnetClient(ComPortSettings wanted = {});

    // Bytes to send first: WILL BINARY, DO BINARY, WILL SGA, DO SGA, WILL
    // COM-PORT-OPTION; options already asked for or on are left out.
    std::string Start();

    // Bytes read from the network, in any chunks. Data bytes are appended to
    // `data`, answers owed to the gateway to `reply`.
    void Feed(std::string_view bytes, std::string& data, std::string& reply);

    // Data to send, with every 0xFF doubled.
    static std::string Escape(std::string_view data);

    enum class State { Negotiating, Ready, Refused };
    State Status() const { return state; }
    // Set when Refused: a sentence for the operator.
    const std::string& Problem() const { return problem; }
    // True when the refusal is about a setting, false when the gateway does
    // not speak the COM port option at all.
    bool SettingRefused() const { return settingRefused; }

    const ComPortSettings& Wanted() const { return wanted; }

private:
    enum class Parse : std::uint8_t { Data, Command, Option, Sub, SubIac };
    // RFC 1143's states, without WANTNO: this side never turns an option off.
    enum class Side : std::uint8_t { No, Yes, WantYes };
    static constexpr std::size_t kSettings = 5;

    void Store(unsigned char byte);
    void OnCommand(unsigned char byte, std::string& data);
    void OnOption(unsigned char option, std::string& reply);
    void OnSubnegotiation();
    void OnAnswer(std::size_t setting, const unsigned char* value, std::size_t length);
    void SendSettings(std::string& reply);
    void Refuse(std::string text, bool setting);

    ComPortSettings wanted;
    State state = State::Negotiating;
    std::string problem;
    bool settingRefused = false;

    Parse parse = Parse::Data;
    unsigned char verb = 0;
    std::array<Side, 256> us{};
    std::array<Side, 256> him{};

    std::array<unsigned char, kMaxSubnegotiation> sub{};
    std::size_t subLength = 0;
    bool subOverflow = false;

    bool asked = false;
    std::array<bool, kSettings> answered{};
};

} // namespace zrn
