// Pacing under wine, with a pseudo-terminal behind COM1: one command per idle
// read, nothing written while the device talks. Judged from the worker's own
// view of its port (PortLog): the far end sits behind wine's serial port and a
// relay, whose scheduling says nothing about when a frame was written.

#include "PortLog.h"
#include "WinHarness.h"
#include "ZRNComDll.h"

#include <gtest/gtest.h>

using namespace zrntest;
using Kind = zrn::PortEvent::Kind;

namespace {

constexpr auto kIdleRead = 20ms;

// Workers are not waited for here: a closed one may still finish its read
// while the next test runs, so the log lives as long as the process.
PortLog& Port() {
    static PortLog* log = new PortLog;
    return *log;
}

class LinkWinPacing : public ::testing::Test {
protected:
    void SetUp() override { Port().Clear(); }
    void TearDown() override {
        fnZrnClose();
        // A notification begun before the close is handled, not left waiting.
        WaitUntil([] { return false; }, 50ms);
    }

    Line line;
    RecordingWindow window;
};

TEST_F(LinkWinPacing, QueuedCommandsLeaveOnePerIdleRead) {
    ASSERT_EQ(fnZrnSend("S0D"), 1);
    ASSERT_EQ(fnZrnSend("C|12/06/26|14:05:09|"), 1);
    ASSERT_EQ(fnZrnSend("S0A"), 1);
    ASSERT_EQ(fnZrnOpen(window.Handle(), line.Definition().c_str()), 1);
    EXPECT_EQ(line.ReadUntilCrs(3), Frame("S0D") + Frame("C|12/06/26|14:05:09|") + Frame("S0A"));
    const auto records = Port().WaitForWrites(3, kWait);
    EXPECT_EQ(Count(records, Kind::Wrote), 3u);
    EXPECT_TRUE(KeepsPacing(records, kIdleRead));
}

TEST_F(LinkWinPacing, WhileTheDeviceTalksNoCommandGoesOut) {
    ASSERT_EQ(fnZrnOpen(window.Handle(), line.Definition().c_str()), 1);
    fnZrnSend("C");
    // A byte of noise every few milliseconds, for a while.
    std::string seen;
    const auto until = std::chrono::steady_clock::now() + 200ms;
    while (std::chrono::steady_clock::now() < until) {
        line.Write("\r");
        seen += line.ReadUntilCrs(1, 3ms);
    }
    if (seen.empty())
        seen = line.ReadUntilCrs(1);
    EXPECT_EQ(seen, Frame("C"));
    const auto records = Port().WaitForWrites(1, kWait);
    EXPECT_EQ(Count(records, Kind::Wrote), 1u);
    EXPECT_GT(Count(records, Kind::Received), 0u);
    EXPECT_TRUE(KeepsPacing(records, kIdleRead));
}

} // namespace
