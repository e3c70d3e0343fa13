#pragma once
// A device in a known state with a clock the test moves.

#include "Device.h"
#include "StateFile.h"
#include "TimeZone.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

namespace zrnsim::testing {

inline constexpr const char* kKnownState = R"(
clock = 12/06/26 14:05:09
address = 3
delay = 15
firmware = 02.07
external_volts = 12.60
internal_volts = 3.55
valve = 90
hold = 999
pump = 0
sdi_version = 13
manufacturer = ZRNSIM
model = ZRN100
manufacturer_version = 207
optional = SIM0001
schedule1 = A 12/06/26 08:00:00 12/13/26 08:00:00 01:00:00 00:01:00 00:02:00 00:03:30
schedule2 = D 01/02/27 07:05:00 02/29/28 23:59:59 00:15:00 00:00:00 00:59:59 00:01:00
)";

class KnownDevice : public ::testing::Test {
protected:
    void SetUp() override {
        DeviceState state = DefaultState(now);
        std::istringstream in(kKnownState);
        std::string error;
        ASSERT_TRUE(ApplyState(in, state, now, error)) << error;
        device.emplace(state, [this] { return now; });
    }

    ZoneGuard utc{"UTC"};
    std::time_t now = 1'700'000'000;
    std::optional<Device> device;
};

} // namespace zrnsim::testing
