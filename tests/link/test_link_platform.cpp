// Line settings, device names and the traffic log's file name.

#include "EnvGuard.h"
#include "LogName.h"
#include "SerialPort.h"
#include "TimeZone.h"

#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <regex>

namespace {

using zrn::Parity;
using zrn::StopBits;

struct SettingsCase {
    const char* text;
    bool valid;
    speed_t speed = B0;
    tcflag_t cflags = 0; // CSIZE, parity and stop bits expected
};

const SettingsCase kSettings[] = {
    {"9600,N,8,1", true, B9600, CS8},
    {"19200,e,7,1", true, B19200, CS7 | PARENB},
    {"2400,O,8,2", true, B2400, CS8 | PARENB | PARODD | CSTOPB},
    {"1200,M,7,1", true, B1200, CS7 | PARENB | PARODD | CMSPAR},
    {"115200,S,6,2", true, B115200, CS6 | PARENB | CMSPAR | CSTOPB},
    {"110,N,5,1.5", true, B110, CS5 | CSTOPB},
    {" 9600 , n , 8 , 1 ", true, B9600, CS8},
    {"9600,N,8,1.5", false},
    {"9600,X,8,1", false},
    {"9600,N,9,1", false},
    {"9600,N,4,1", false},
    {"9600,N,8,3", false},
    {"9601,N,8,1", false},
    {"abc,N,8,1", false},
    {"9600,N,8", false},
    {"9600,N,8,1,1", false},
    {"", false},
};

TEST(LineSettings, ParsedAndTurnedIntoTermiosFlags) {
    for (const SettingsCase& c : kSettings) {
        const auto settings = zrn::ParseLineSettings(c.text);
        ASSERT_EQ(settings.has_value(), c.valid) << c.text;
        if (!settings)
            continue;
        termios tio{};
        tio.c_cflag = CS8 | PARENB | PARODD | CMSPAR | CSTOPB | CREAD;
        ASSERT_TRUE(zrn::SetLineFormat(tio, *settings)) << c.text;
        EXPECT_EQ(cfgetospeed(&tio), c.speed) << c.text;
        EXPECT_EQ(tio.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB), c.cflags) << c.text;
        EXPECT_EQ(tio.c_cflag & CREAD, static_cast<tcflag_t>(CREAD)) << c.text;
        EXPECT_EQ((tio.c_iflag & INPCK) != 0, (c.cflags & PARENB) != 0) << c.text;
    }
}

TEST(LineSettings, DeviceIsTheTextBeforeTheFirstColon) {
    EXPECT_EQ(zrn::DeviceName("/dev/ttyUSB0:9600,N,8,1"), "/dev/ttyUSB0");
    EXPECT_EQ(zrn::DeviceName("/dev/ttyS0"), "/dev/ttyS0");
    EXPECT_EQ(zrn::DeviceName(":9600"), "");
    EXPECT_EQ(zrn::DeviceName("a:b:c"), "a");
}

TEST(LogName, MonthDayYearThenTimeInTheCLocale) {
    const ZoneGuard utc("UTC");
    const EnvGuard locale("LC_ALL", "C");
    // 6 December 2026, 14:05:09 UTC.
    EXPECT_EQ(zrn::LogFileName(1796565909), "Dec_06_2026_14_05_09.LOG");
    EXPECT_EQ(zrn::LogFileName(1767225600), "Jan_01_2026_00_00_00.LOG");
}

TEST(LogName, AnUnknownLocaleFallsBackToTheCNames) {
    const ZoneGuard utc("UTC");
    const EnvGuard locale("LC_ALL", "xx_NOPE.UTF-8");
    EXPECT_EQ(zrn::LogFileName(1796565909), "Dec_06_2026_14_05_09.LOG");
}

TEST(LogName, ProgramDirectoryIsWhereThisTestLives) {
    const auto directory = zrn::ProgramDirectory();
    ASSERT_TRUE(directory.has_value());
    EXPECT_EQ(directory->back(), '/');
    EXPECT_TRUE(std::regex_search(*directory, std::regex("/bin/$")));
}

} // namespace
