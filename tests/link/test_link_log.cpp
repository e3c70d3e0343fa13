// The traffic log beside the program, through the shared library.

#include "LogName.h"
#include "PtyHarness.h"
#include "ZRNComDll.h"

#include <dirent.h>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <regex>
#include <set>
#include <thread>
#include <unistd.h>

using namespace zrntest;

namespace {

std::set<std::string> LogFiles() {
    std::set<std::string> names;
    const auto directory = zrn::ProgramDirectory();
    if (DIR* dir = ::opendir(directory->c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name.size() > 4 && name.ends_with(".LOG"))
                names.insert(*directory + name);
        }
        ::closedir(dir);
    }
    return names;
}

std::string Content(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class TrafficLog : public ::testing::Test {
protected:
    void SetUp() override { before = LogFiles(); }
    void TearDown() override {
        fnZrnClose();
        EXPECT_TRUE(WaitForNoWorkers());
        fnZrnLog(false);
        for (const auto& path : NewLogs())
            ::unlink(path.c_str());
    }

    std::set<std::string> NewLogs() const {
        std::set<std::string> added;
        for (const auto& path : LogFiles())
            if (!before.contains(path))
                added.insert(path);
        return added;
    }

    // The worker appends as traffic passes: look again until it shows.
    bool WaitForContent(const std::string& path, const std::string& expected) {
        const auto deadline = std::chrono::steady_clock::now() + kWait;
        while (Content(path) != expected) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(2ms);
        }
        return true;
    }

    std::set<std::string> before;
    Pty pty;
    RecordingWindow window;
};

TEST_F(TrafficLog, SwitchedOffCreatesNothing) {
    EXPECT_EQ(fnZrnLog(false), 0);
    EXPECT_TRUE(NewLogs().empty());
}

TEST_F(TrafficLog, CommandAckAndRepliesInWorkerOrderWithCrLf) {
    ASSERT_EQ(fnZrnLog(true), 1);
    const auto logs = NewLogs();
    ASSERT_EQ(logs.size(), 1u);
    const std::string path = *logs.begin();
    EXPECT_TRUE(std::regex_search(
        path, std::regex("/[A-Z][a-z]{2}_\\d\\d_\\d{4}_\\d\\d_\\d\\d_\\d\\d\\.LOG$")))
        << path;

    ASSERT_EQ(fnZrnOpen(&window, pty.Definition().c_str()), 1);
    fnZrnSend("B");
    ASSERT_EQ(pty.ReadUntilCrs(1), Frame("B"));
    // The second reply is not forwarded, but logged; the bad one is neither.
    pty.Write("\x06" + Frame("B|12.3") + Frame("B|9") +
              "\x02"
              "B|0\x03"
              "0000\r" +
              Frame("D|1"));
    window.WaitFor(3);
    EXPECT_TRUE(WaitForContent(path, "B\r\nACK\r\nB|12.3\r\nB|9\r\nD|1\r\n")) << Content(path);

    // Off: the file stays, nothing more is written to it.
    EXPECT_EQ(fnZrnLog(false), 0);
    pty.Write("\x15");
    window.WaitFor(4);
    EXPECT_EQ(Content(path), "B\r\nACK\r\nB|12.3\r\nB|9\r\nD|1\r\n");
}

TEST_F(TrafficLog, TwoSwitchOnsInOneSecondLeaveOneEmptiedFile) {
    ASSERT_EQ(fnZrnOpen(&window, pty.Definition().c_str()), 1);
    // A second boundary between the two calls gives two names; try again then.
    for (int attempt = 0; attempt < 3; ++attempt) {
        for (const auto& path : NewLogs())
            ::unlink(path.c_str());
        ASSERT_EQ(fnZrnLog(true), 1);
        const std::string first = *NewLogs().begin();
        fnZrnSend("C");
        pty.ReadUntilCrs(1);
        ASSERT_TRUE(WaitForContent(first, "C\r\n"));
        ASSERT_EQ(fnZrnLog(true), 1);
        const auto logs = NewLogs();
        if (logs.size() == 1) {
            EXPECT_EQ(*logs.begin(), first);
            EXPECT_EQ(Content(first), "");
            return;
        }
    }
    FAIL() << "no two calls within one second";
}

} // namespace
