#pragma once
// Time conversions run in a zone with daylight saving, so a conversion that
// ignores the local-time rules shows up as an hour off. The one place the tests
// choose that zone.

#include "EnvGuard.h"

#include <gtest/gtest.h>

#include <ctime>

namespace zrntest {

inline constexpr const char* kDaylightSavingZone = "Europe/Berlin";

} // namespace zrntest

// Local time in `zone` while it lives; the zone before it afterwards.
class ZoneGuard {
public:
    explicit ZoneGuard(const char* zone) : tz("TZ", zone) { tzset(); }
    ~ZoneGuard() { tzset(); }

private:
    EnvGuard tz;
};

class BerlinZone : public ZoneGuard {
public:
    BerlinZone() : ZoneGuard(zrntest::kDaylightSavingZone) {}
};

// A fixture whose tests all run in Berlin.
class BerlinTime : public ::testing::Test {
private:
    BerlinZone zone;
};
