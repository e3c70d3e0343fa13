#pragma once
// TEMPORARY STUB
#include <cstdint>
#include <string>
#include <string_view>
namespace zrn {
struct ComPortSettings {
    std::uint32_t baud = 9600;
    std::uint8_t dataSize = 8;
    std::uint8_t parity = 1;
    std::uint8_t stopSize = 1;
    std::uint8_t control = 1;
};
class TelnetClient {
public:
    explicit TelnetClient(ComPortSettings wanted = {}) : wanted(wanted) {}
    std::string Start() { return {}; }
    void Feed(std::string_view bytes, std::string& data, std::string&) { data.append(bytes); }
    static std::string Escape(std::string_view data) { return std::string(data); }
    enum class State { Negotiating, Ready, Refused };
    State Status() const { return State::Ready; }
    const std::string& Problem() const { return problem; }
    bool SettingRefused() const { return false; }
private:
    ComPortSettings wanted;
    std::string problem;
};
}
