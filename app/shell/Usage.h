#pragma once
// "ZRNcom --help" and "ZRNcom --version", answered before any window opens.
#include <optional>
#include <string>
#include <string_view>

namespace zrn {

// The text to print when an argument is exactly "--help" or "--version" (the
// first of them wins); nullopt otherwise, and the program starts as usual.
// The program's own switches are unaffected: neither contains them.
std::optional<std::string> InformationText(int argc, const char* const* argv,
                                           std::string_view version);

} // namespace zrn
