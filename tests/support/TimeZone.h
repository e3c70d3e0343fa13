#pragma once
// Runs a test's time conversions in a zone with daylight saving, so a
// conversion that ignores the local-time rules shows up as an hour off.

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

class BerlinTime : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* tz = std::getenv("TZ"))
            savedTz_ = tz, hadTz_ = true;
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
    }
    void TearDown() override {
        if (hadTz_)
            setenv("TZ", savedTz_.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::string savedTz_;
    bool hadTz_ = false;
};
