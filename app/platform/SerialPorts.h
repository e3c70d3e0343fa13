#pragma once
// The serial ports Windows lists (Windows only).
#include <string>
#include <vector>

namespace zrn {

// The data of every value under HKLM\HARDWARE\DEVICEMAP\SERIALCOMM, as
// stored (the value type is not examined), in the registry's order; empty
// when the key cannot be read.
std::vector<std::string> SerialCommValues();

} // namespace zrn
