#include "platform/CommandLine.h"

#include <gtest/gtest.h>

using namespace zrn;

namespace zrn {
void PrintTo(const StartupSwitches& s, std::ostream* os) {
    *os << "{edit " << s.bEditSdiInfo << ", log " << s.bLogComm << ", no scan "
        << s.bNoScanCommPorts << '}';
}
} // namespace zrn

TEST(CommandLine, ArgumentsJoinedBySingleSpaces) {
    const char* argv[] = {"/opt/zrn/ZRNcom", "-LOG_COMM", "two words", nullptr};
    EXPECT_EQ(CommandLineFromArgs(3, argv), "/opt/zrn/ZRNcom -LOG_COMM two words");
    EXPECT_EQ(CommandLineFromArgs(0, argv), "");
}

TEST(CommandLine, SwitchesAreCaseSensitiveSubstringsOfTheWholeLine) {
    struct Case {
        const char* line;
        StartupSwitches found; // edit SDI info, log, no port scan
    };
    const Case cases[] = {
        {"ZRNcom", {false, false, false}},
        {"ZRNcom -LOG_COMM", {false, true, false}},
        {"ZRNcom -log_comm", {false, false, false}},
        {"/tmp/x-LOG_COMM/ZRNcom", {false, true, false}},
        {"ZRNcom -NO_SCAN_COMM_PORTS -EDIT_SDI_INFO -LOG_COMM -LOG_COMM", {true, true, true}},
        {"ZRNcom --EDIT_SDI_INFOx", {true, false, false}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadStartupSwitches(c.line), c.found) << c.line;
}
