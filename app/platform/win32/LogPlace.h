#pragma once
// Where the link library writes its traffic log on Windows: beside itself.
#include <optional>
#include <string>

namespace zrn {

// The folder of the loaded ZRNComDll.dll (else of the program), with a
// trailing "\\"; nullopt when Windows cannot name it.
std::optional<std::string> TrafficLogDirectory();

} // namespace zrn
