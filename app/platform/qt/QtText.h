#pragma once
// The program's 8-bit texts are UTF-8 for Qt.
#include <QString>
#include <string_view>

inline QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
