#include "FrameCrc.h"

#include <array>
#include <cstdio>

namespace zrn {
namespace {

// Entry i is i times the polynomial 0x1021: 32 bytes instead of 512.
constexpr std::array<std::uint16_t, 16> kNibbleTable = [] {
    std::array<std::uint16_t, 16> t{};
    for (unsigned i = 0; i < 16; ++i) {
        std::uint16_t crc = static_cast<std::uint16_t>(i << 12);
        for (int bit = 0; bit < 4; ++bit)
            crc = static_cast<std::uint16_t>((crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1);
        t[i] = crc;
    }
    return t;
}();

std::uint16_t StepNibble(std::uint16_t crc, unsigned nibble) {
    const unsigned index = (crc >> 12) ^ nibble;
    return static_cast<std::uint16_t>((crc << 4) ^ kNibbleTable[index & 0x0F]);
}

} // namespace

const std::array<std::uint16_t, 16>& FrameCrcTable() {
    return kNibbleTable;
}

std::uint16_t FrameCrc(const unsigned char* bytes, std::size_t length) {
    std::uint16_t crc = 0xFFFF;
    for (std::size_t i = 0; i < length; ++i) {
        crc = StepNibble(crc, bytes[i] >> 4);
        crc = StepNibble(crc, bytes[i] & 0x0F);
    }
    return crc;
}

std::uint16_t FrameCrc(std::string_view bytes) {
    return FrameCrc(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

std::string BuildFrame(std::string_view text) {
    std::string frame;
    frame.reserve(text.size() + 7);
    frame.push_back(static_cast<char>(STX));
    frame.append(text);
    frame.push_back(static_cast<char>(ETX));
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04X", FrameCrc(frame));
    frame.append(digits, 4);
    frame.push_back(static_cast<char>(CR));
    return frame;
}

} // namespace zrn
