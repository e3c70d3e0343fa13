#pragma once
// Sets an environment variable for the life of a test, then puts the old value back.
#include <optional>
#include <string>

class EnvGuard {
public:
    // A null value unsets the variable.
    EnvGuard(const char* name, const char* value);
    ~EnvGuard();
    EnvGuard(const EnvGuard&) = delete;
    EnvGuard& operator=(const EnvGuard&) = delete;

private:
    std::string name;
    std::optional<std::string> previous;
};
