#include "LogName.h"

#include "PortName.h"

#include <array>
#include <clocale>
#include <locale.h>

namespace zrn {
namespace {

// A locale_t that frees itself.
class UserTimeLocale {
public:
    UserTimeLocale() : locale(::newlocale(LC_TIME_MASK, "", nullptr)) {
        // An unknown locale name in the environment: fall back to the C names.
        if (locale == nullptr)
            locale = ::newlocale(LC_TIME_MASK, "C", nullptr);
    }
    ~UserTimeLocale() {
        if (locale != nullptr)
            ::freelocale(locale);
    }
    UserTimeLocale(const UserTimeLocale&) = delete;
    UserTimeLocale& operator=(const UserTimeLocale&) = delete;

    locale_t get() const { return locale; }

private:
    locale_t locale;
};

} // namespace

std::optional<std::string> LogFileName(std::time_t when) {
    std::tm local{};
    if (::localtime_r(&when, &local) == nullptr)
        return std::nullopt;
    const UserTimeLocale locale;
    if (locale.get() == nullptr)
        return std::nullopt;
    // Date and time text must fit in 32 characters with the NUL.
    std::array<char, 32> text{};
    if (::strftime_l(text.data(), text.size(), "%b_%d_%Y_%H_%M_%S", &local, locale.get()) == 0)
        return std::nullopt;
    return std::string(text.data()) + ".LOG";
}

std::optional<std::string> NewLogPath(std::time_t when, std::string_view port) {
    const auto directory = TrafficLogDirectory();
    auto name = LogFileName(when);
    if (name && !port.empty())
        name->insert(name->size() - 4, "_" + PortFileTag(port));
    if (!directory || !name)
        return std::nullopt;
    return *directory + *name;
}

} // namespace zrn
