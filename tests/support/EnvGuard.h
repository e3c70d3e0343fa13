#pragma once
// Sets an environment variable for the life of a test, then puts the old value back.
#include <cstdlib>
#include <optional>
#include <string>

class EnvGuard {
public:
    EnvGuard(const char* name, const char* value) : name(name) {
        if (const char* old = std::getenv(name))
            previous = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~EnvGuard() {
        if (previous)
            ::setenv(name.c_str(), previous->c_str(), 1);
        else
            ::unsetenv(name.c_str());
    }
    EnvGuard(const EnvGuard&) = delete;
    EnvGuard& operator=(const EnvGuard&) = delete;

private:
    std::string name;
    std::optional<std::string> previous;
};
