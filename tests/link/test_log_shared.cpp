// The traffic log as both systems run it: built into test_link_log (beside
// the program) and into test_link_win (beside the library).

#include "LinkTest.h"
#include "ZRNComDll.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <regex>

using namespace zrntest;

namespace {

TEST_F(TrafficLog, SwitchedOffCreatesNothing) {
    EXPECT_EQ(fnZrnLog(false), 0);
    EXPECT_TRUE(NewLogs().empty());
}

TEST_F(TrafficLog, NamedByTheTimeWithCommandAckAndRepliesInWorkerOrderAndCrLf) {
    ASSERT_EQ(fnZrnLog(true), 1);
    const auto logs = NewLogs();
    ASSERT_EQ(logs.size(), 1u);
    const std::string path = *logs.begin();
    EXPECT_TRUE(
        std::regex_match(std::filesystem::path(path).filename().string(),
                         std::regex("[A-Z][a-z]{2}_\\d\\d_\\d{4}_\\d\\d_\\d\\d_\\d\\d\\.LOG")))
        << path;

    ASSERT_EQ(fnZrnOpen(window.Handle(), line.Definition().c_str()), 1);
    fnZrnSend("B");
    ASSERT_EQ(line.ReadUntilCrs(1), Frame("B"));
    // The second reply is not forwarded, but logged; the bad one is neither.
    line.Write("\x06" + Frame("B|12.3") + Frame("B|9") +
               "\x02"
               "B|0\x03"
               "0000\r" +
               Frame("D|1"));
    window.WaitFor(3);
    const std::string expected = "B\r\nACK\r\nB|12.3\r\nB|9\r\nD|1\r\n";
    // The worker appends as traffic passes: look again until it shows.
    EXPECT_TRUE(WaitUntil([&] { return FileText(path) == expected; })) << FileText(path);

    // Off: the file stays, nothing more is written to it.
    EXPECT_EQ(fnZrnLog(false), 0);
    line.Write("\x15");
    window.WaitFor(4);
    EXPECT_EQ(FileText(path), expected);
}

} // namespace
