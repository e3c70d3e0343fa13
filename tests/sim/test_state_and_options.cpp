#include "DeviceFixture.h"
#include "Options.h"
#include "StateFile.h"

namespace zrnsim {
namespace {

using testing::KnownDevice;

TEST_F(KnownDevice, StateFileSetsEveryValue) {
    EXPECT_EQ(device->Handle("C").reply, "C|12/06/26|14:05:09|");
    EXPECT_EQ(device->Handle("A").reply, "A3");
    EXPECT_EQ(device->Handle("S2BT").reply, "S2BT|07:05:00|");
    EXPECT_EQ(device->Handle("S5H").reply, "S5H|00:16:39|");
}

TEST(RawStateLine, DescribesFieldsTheDeviceWouldRefuse) {
    DeviceState state = DefaultState(0);
    std::istringstream in("raw_schedule3 = D 13/45/26 25:61:00 00/00/00 08:00:00 24:00:00 "
                          "01:99:00 00:01:00 00:01:00\nraw_schedule4 = X 01/01/26 00:00:00 "
                          "01/02/26 00:00:00 00:15:00 00:01:00 00:01:00 00:01:00\n");
    std::string error;
    ASSERT_TRUE(ApplyState(in, state, 0, error)) << error;
    Device device(state, [] { return std::time_t{0}; });
    EXPECT_EQ(device.Handle("S3?").reply, "S3D");
    EXPECT_EQ(device.Handle("S3BD").reply, "S3BD|13/45/26|");
    EXPECT_EQ(device.Handle("S3BT").reply, "S3BT|25:61:00|");
    EXPECT_EQ(device.Handle("S3ED").reply, "S3ED|00/00/00|");
    EXPECT_EQ(device.Handle("S3I").reply, "S3I|24:00:00|");
    EXPECT_EQ(device.Handle("S3V").reply, "S3V|01:99:00|");
    EXPECT_EQ(device.Handle("S4?").reply, "S4X");
    // The device still refuses to be set to such values.
    EXPECT_FALSE(device.Handle("S3BD|13/45/26|").accepted);
}

TEST(StateOut, TheWrittenStateReadsBackAsTheSameDevice) {
    DeviceState state = DefaultState(1'780'000'000);
    std::istringstream raw("raw_schedule3 = D 13/45/26 25:61:00 00/00/00 08:00:00 24:00:00 "
                           "01:99:00 00:01:00 00:01:00\naddress = 7\noptional = ABC\n");
    std::string error;
    ASSERT_TRUE(ApplyState(raw, state, 1'780'000'000, error)) << error;
    state.clockOffset = 3600;
    const std::string text = FormatState(state, 1'780'000'000);
    DeviceState again = DefaultState(0);
    std::istringstream in(text);
    ASSERT_TRUE(ApplyState(in, again, 1'780'000'000, error)) << error << "\n" << text;
    EXPECT_EQ(FormatState(again, 1'780'000'000), text);
    EXPECT_EQ(again.clockOffset, 3600);
    EXPECT_EQ(again.identification, state.identification);
    EXPECT_NE(text.find("raw_schedule3 = D 13/45/26"), std::string::npos) << text;
}

class BadStateLine : public ::testing::TestWithParam<const char*> {};

TEST_P(BadStateLine, IsRefusedWithItsLineNumber) {
    DeviceState state = DefaultState(0);
    std::istringstream in(std::string("# comment\n\n") + GetParam() + "\n");
    std::string error;
    EXPECT_FALSE(ApplyState(in, state, 0, error));
    EXPECT_NE(error.find("line 3"), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, BadStateLine,
    ::testing::Values("colour = blue", "address", "address = x", "address = 10", "delay = 1000",
                      "delay = -1", "delay = 1a", "clock = 13/01/26 00:00:00", "clock = 12/06/26",
                      "firmware = 2.7", "external_volts = lots", "valve = 1000",
                      "schedule5 = 0 01/01/26 00:00:00 01/02/26 00:00:00 "
                      "00:15:00 00:01:00 00:01:00 00:01:00",
                      "schedule1 = X 01/01/26 00:00:00 01/02/26 00:00:00 00:15:00 00:01:00 "
                      "00:01:00 00:01:00",
                      "schedule1 = A 01/01/26 00:00:00 01/02/26 00:00:00 00:15:00 00:01:00",
                      "raw_schedule1 = AB 01/01/26 00:00:00 01/02/26 00:00:00 00:15:00 00:01:00 "
                      "00:01:00 00:01:00",
                      "raw_schedule1 = A 1/1/26 00:00:00 01/02/26 00:00:00 00:15:00 00:01:00 "
                      "00:01:00 00:01:00",
                      "schedule1 = A 04/31/26 00:00:00 01/02/26 00:00:00 00:15:00 00:01:00 "
                      "00:01:00 00:01:00",
                      "schedule1 = A 01/01/26 00:00:00 01/02/26 00:00:00 00:15:00 01:01:00 "
                      "00:01:00 00:01:00",
                      "schedule1 = A 01/01/26 00:00:00 01/02/26 00:00:00 00:15:00 00:01:00 "
                      "00:01:00 00:01:00 extra",
                      "manufacturer = caf\xc3\xa9"));

TEST(Options, EverySwitchIsRead) {
    std::string error;
    const auto options = ParseOptions({"--link",
                                       "dev",
                                       "--state",
                                       "s.txt",
                                       "--baud",
                                       "9600",
                                       "--turnaround",
                                       "3",
                                       "--trace",
                                       "--seed",
                                       "42",
                                       "--nak-rate",
                                       "0.1",
                                       "--bad-crc-rate",
                                       "0.2",
                                       "--noise-rate",
                                       "0.3",
                                       "--drop-rate",
                                       "0.4",
                                       "--lower-case-rate",
                                       "0.5",
                                       "--keep-old-rate",
                                       "0.6",
                                       "--silent-after",
                                       "7",
                                       "--unplug-after",
                                       "1.5",
                                       "--unplug-pause",
                                       "250"},
                                      error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->link, "dev");
    EXPECT_EQ(options->stateFile, "s.txt");
    EXPECT_EQ(options->baud, 9600u);
    EXPECT_EQ(options->TurnaroundMs(), 3u);
    EXPECT_TRUE(options->trace);
    EXPECT_EQ(options->faults.seed, 42u);
    EXPECT_DOUBLE_EQ(options->faults.nakRate, 0.1);
    EXPECT_DOUBLE_EQ(options->faults.badCrcRate, 0.2);
    EXPECT_DOUBLE_EQ(options->faults.noiseRate, 0.3);
    EXPECT_DOUBLE_EQ(options->faults.dropRate, 0.4);
    EXPECT_DOUBLE_EQ(options->faults.lowerCaseRate, 0.5);
    EXPECT_DOUBLE_EQ(options->faults.keepOldRate, 0.6);
    EXPECT_EQ(options->faults.silentAfter, 7u);
    EXPECT_DOUBLE_EQ(options->unplugAfter.value_or(0), 1.5);
    EXPECT_EQ(options->unplugPauseMs, 250u);
}

TEST(Options, HelpNamesEverySwitch) {
    const std::string help = UsageText();
    for (const char* name :
         {"--help", "--link", "--state", "--baud", "--turnaround", "--trace", "--seed",
          "--nak-rate", "--bad-crc-rate", "--noise-rate", "--drop-rate", "--lower-case-rate",
          "--keep-old-rate", "--silent-after", "--unplug-after", "--unplug-pause"})
        EXPECT_NE(help.find(name), std::string::npos) << name;
}

TEST(Options, UnusableArgumentsAreRefused) {
    const std::vector<std::vector<std::string>> bad{{"--nak-rate", "1.5"},
                                                    {"--noise-rate", "-0.1"},
                                                    {"--keep-old-rate", "2"},
                                                    {"--baud", "fast"},
                                                    {"--baud"},
                                                    {"--silent-after", "-1"},
                                                    {"--frobnicate"},
                                                    {"--link", ""},
                                                    {"--turnaround", "5ms"}};
    for (const auto& args : bad) {
        std::string error;
        EXPECT_FALSE(ParseOptions(args, error)) << args[0];
        EXPECT_FALSE(error.empty());
    }
}

} // namespace
} // namespace zrnsim
