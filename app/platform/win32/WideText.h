#pragma once
// The platform layer speaks UTF-8; Windows' wide functions take UTF-16.
#include <string>
#include <string_view>

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
