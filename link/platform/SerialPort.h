#pragma once
// The termios serial port under the link.

#include <optional>
#include <string>
#include <string_view>
#include <termios.h>

#include "LinkError.h"
#include "UniqueFd.h"

namespace zrn {

enum class StopBits { One, OneAndHalf, Two };
enum class Parity { None, Even, Odd, Mark, Space };

struct LineSettings {
    speed_t speed;
    Parity parity;
    int dataBits;
    StopBits stopBits;
};

// The device path: the text before the first ":" of a definition.
std::string DeviceName(std::string_view definition);

// "9600,N,8,1" (the text after the first ":"); nothing when any part is bad.
std::optional<LineSettings> ParseLineSettings(std::string_view text);

// Opens the device for exclusive non-blocking raw use, DTR and RTS off.
// Invalid, with `error` saying why, when the device is missing, refused, busy
// or no terminal.
UniqueFd OpenSerialPort(const std::string& device, LinkError& error);

// Sets baud rate and frame format in `tio`; false for a speed termios refuses.
bool SetLineFormat(termios& tio, const LineSettings& settings);

// Applies baud rate and frame format; false leaves the port as it was.
bool ApplyLineSettings(int fd, const LineSettings& settings);

// Gives up exclusive use, so the port can be opened again at once, and closes.
void CloseSerialPort(UniqueFd& port);

} // namespace zrn
