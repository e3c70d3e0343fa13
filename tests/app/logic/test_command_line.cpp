#include "platform/CommandLine.h"

#include <gtest/gtest.h>

using namespace zrn;

TEST(CommandLine, ArgumentsJoinedBySingleSpaces) {
    const char* argv[] = {"/opt/zrn/ZRNcom", "-LOG_COMM", "two words", nullptr};
    EXPECT_EQ(CommandLineFromArgs(3, argv), "/opt/zrn/ZRNcom -LOG_COMM two words");
    EXPECT_EQ(CommandLineFromArgs(0, argv), "");
}

TEST(CommandLine, SwitchesAreCaseSensitiveSubstringsOfTheWholeLine) {
    struct Case {
        const char* line;
        bool edit, log, noScan;
    };
    const Case cases[] = {
        {"ZRNcom", false, false, false},
        {"ZRNcom -LOG_COMM", false, true, false},
        {"ZRNcom -log_comm", false, false, false},
        {"/tmp/x-LOG_COMM/ZRNcom", false, true, false},
        {"ZRNcom -NO_SCAN_COMM_PORTS -EDIT_SDI_INFO -LOG_COMM -LOG_COMM", true, true, true},
        {"ZRNcom --EDIT_SDI_INFOx", true, false, false},
    };
    for (const Case& c : cases) {
        const StartupSwitches s = ReadStartupSwitches(c.line);
        EXPECT_EQ(s.bEditSdiInfo, c.edit) << c.line;
        EXPECT_EQ(s.bLogComm, c.log) << c.line;
        EXPECT_EQ(s.bNoScanCommPorts, c.noScan) << c.line;
    }
}
