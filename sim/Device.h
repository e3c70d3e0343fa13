#pragma once
// The device's command interpreter: one command text in, ACK or NAK and an
// optional reply text out. No I/O; the PC's clock is injected.

#include "DeviceState.h"

#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zrnsim {

using WallClock = std::function<std::time_t()>;

struct Answer {
    bool accepted = false;
    std::optional<std::string> reply; // only for queries
};

class Device {
public:
    Device(DeviceState state, WallClock clock);

    // A refused command changes nothing.
    Answer Handle(std::string_view command);

    const DeviceState& State() const { return state_; }
    // A flash write that did not take: the stored values go back to what they were.
    void LoseWrite(const DeviceState& before) { KeepStoredValues(state_, before); }
    std::time_t DeviceTime() const;

private:
    Answer Clock(std::string_view args);
    Answer Identification(std::string_view args);
    Answer Address(std::string_view args);
    Answer Delay(std::string_view args);
    Answer Voltages() const;
    Answer Schedule(std::string_view command);
    Answer AllSchedules(std::string_view rest);
    Answer SdiDuration(char entry, std::string_view rest);
    Answer Entry(char entry, std::string_view rest);

    DeviceState state_;
    WallClock clock_;
    std::time_t started_;
};

} // namespace zrnsim
