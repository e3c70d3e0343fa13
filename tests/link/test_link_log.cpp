// The traffic log beside the program, through the shared library; the cases
// Windows runs as well are in test_log_shared.cpp.

#include "LinkTest.h"
#include "ZRNComDll.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace zrntest;

namespace {

TEST_F(TrafficLog, TwoSwitchOnsInOneSecondLeaveOneEmptiedFile) {
    ASSERT_EQ(fnZrnOpen(window.Handle(), line.Definition().c_str()), 1);
    // A second boundary between the two calls gives two names; try again then.
    for (int attempt = 0; attempt < 3; ++attempt) {
        for (const auto& path : NewLogs())
            std::filesystem::remove(path);
        ASSERT_EQ(fnZrnLog(true), 1);
        const std::string first = *NewLogs().begin();
        fnZrnSend("C");
        line.ReadUntilCrs(1);
        ASSERT_TRUE(WaitUntil([&] { return FileText(first) == "C\r\n"; }));
        ASSERT_EQ(fnZrnLog(true), 1);
        const auto logs = NewLogs();
        if (logs.size() == 1) {
            EXPECT_EQ(*logs.begin(), first);
            EXPECT_EQ(FileText(first), "");
            return;
        }
    }
    FAIL() << "no two calls within one second";
}

} // namespace
