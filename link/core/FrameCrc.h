#pragma once
// Wire framing shared by the link worker and the simulated device.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zrn {

inline constexpr unsigned char STX = 0x02;
inline constexpr unsigned char ETX = 0x03;
inline constexpr unsigned char ACK = 0x06;
inline constexpr unsigned char NAK = 0x15;
inline constexpr unsigned char CR = 0x0D;

// Entry i is i times the polynomial 0x1021, carry-less: 0x0000, 0x1021, ... 0xF1EF.
const std::array<std::uint16_t, 16>& FrameCrcTable();

// CRC-16/CCITT-FALSE, a nibble at a time; length 0 gives 0xFFFF.
std::uint16_t FrameCrc(const unsigned char* bytes, std::size_t length);
std::uint16_t FrameCrc(std::string_view bytes);

// STX, text, ETX, the CRC as "%04X", CR.
std::string BuildFrame(std::string_view text);

} // namespace zrn
