// The exports as both systems run them: built into test_link_exports (a
// pseudo-terminal) and into test_link_win (COM1 under wine).

#include "LinkTest.h"
#include "ZRNComDll.h"

#include <gtest/gtest.h>

using namespace zrntest;

namespace {

const std::string kAck = "\x06";
const std::string kNak = "\x15";

TEST_F(LinkExports, CommandGoesOutAsTheDocumentedFrame) {
    ASSERT_EQ(fnZrnOpen(window.Handle(), line.Definition().c_str()), 1);
    ASSERT_EQ(fnZrnSend("C"), 1);
    EXPECT_EQ(line.ReadUntilCrs(1), std::string("\x02"
                                                "C\x03"
                                                "CA00\r"));
    ASSERT_EQ(fnZrnSend(""), 1);
    EXPECT_EQ(line.ReadUntilCrs(1), Frame(""));
}

// One per idle read: test_link_pacing.cpp, win/test_link_win_pacing.cpp.
TEST_F(LinkExports, ThreeQueuedCommandsLeaveInOrderAndTheLastIsAcknowledged) {
    ASSERT_EQ(fnZrnSend("S0D"), 1);
    ASSERT_EQ(fnZrnSend("C|12/06/26|14:05:09|"), 1);
    ASSERT_EQ(fnZrnSend("S0A"), 1);
    ASSERT_EQ(fnZrnOpen(window.Handle(), line.Definition().c_str()), 1);
    EXPECT_EQ(line.ReadUntilCrs(3), Frame("S0D") + Frame("C|12/06/26|14:05:09|") + Frame("S0A"));
    ASSERT_TRUE(debug.WaitForLine("ZRNComDllThread pop'd S0A, depth = 0\n"));

    line.Write(kAck);
    window.WaitFor(1);
    line.Write(kAck);
    EXPECT_EQ(window.WaitFor(2),
              (std::vector<Notice>{{LINK_ACK, "S0A"}, {LINK_ACK, std::nullopt}}));

    const std::string traces = debug.Text();
    EXPECT_NE(traces.find("ZrnSend pushed S0D, depth = 1\n"
                          "ZrnSend pushed C|12/06/26|14:05:09|, depth = 2\n"
                          "ZrnSend pushed S0A, depth = 3\n"),
              std::string::npos);
    EXPECT_NE(traces.find("ZrnOpen " + line.Definition() + " Passed\n"), std::string::npos);
    EXPECT_NE(traces.find("ZRNComDllThread pop'd S0D, depth = 2\n"), std::string::npos);
    EXPECT_NE(traces.find("ZRNComDllThread pop'd C|12/06/26|14:05:09|, depth = 1\n"),
              std::string::npos);
}

TEST_F(LinkExports, AckThenReplyAndNakAreReported) {
    ASSERT_EQ(fnZrnOpen(window.Handle(), line.Definition().c_str()), 1);
    fnZrnSend("B");
    line.ReadUntilCrs(1);
    debug.WaitForLine("ZRNComDllThread pop'd B");
    line.Write(kAck + Frame("B|12.3|3.1"));
    window.WaitFor(2);
    fnZrnSend("F");
    line.ReadUntilCrs(1);
    debug.WaitForLine("ZRNComDllThread pop'd F");
    // Refused: reported, and the reply behind it is not forwarded.
    line.Write(kNak + Frame("F|2.0") + Frame("D|1"));
    EXPECT_EQ(
        window.WaitFor(4),
        (std::vector<Notice>{
            {LINK_ACK, "B"}, {LINK_REPLY, "B|12.3|3.1"}, {LINK_NAK, "F"}, {LINK_DATA, "D|1"}}));
}

TEST_F(LinkExports, QueuedCommandsAreDiscardedByCloseInOrder) {
    fnZrnSend("A");
    fnZrnSend("B");
    fnZrnSend("C");
    EXPECT_EQ(fnZrnClose(), 1);
    EXPECT_EQ(debug.Text(), "ZrnSend pushed A, depth = 1\n"
                            "ZrnSend pushed B, depth = 2\n"
                            "ZrnSend pushed C, depth = 3\n"
                            "ZrnClose pop'd A, depth = 2\n"
                            "ZrnClose pop'd B, depth = 1\n"
                            "ZrnClose pop'd C, depth = 0\n");
}

TEST_F(LinkExports, OpenTwiceTellsTheNewWindowAndCommandsLeaveOnce) {
    ASSERT_EQ(fnZrnOpen(window.Handle(), line.Definition().c_str()), 1);
    RecordingWindow second;
    ASSERT_EQ(fnZrnOpen(second.Handle(), line.Definition().c_str()), 1);
    line.Write(kAck);
    EXPECT_EQ(second.WaitFor(1), (std::vector<Notice>{{LINK_ACK, std::nullopt}}));
    EXPECT_TRUE(window.Notices().empty());
    // One worker only: a command leaves once.
    fnZrnSend("C");
    EXPECT_EQ(line.ReadUntilCrs(1), Frame("C"));
    EXPECT_EQ(line.ReadUntilCrs(1, 100ms), "");
}

TEST_F(LinkExports, NoWindowMeansNoNotificationButTheLinkRuns) {
    ASSERT_EQ(fnZrnOpen(nullptr, line.Definition().c_str()), 1);
    line.Write(kAck + Frame("D|1"));
    fnZrnSend("C");
    EXPECT_EQ(line.ReadUntilCrs(1), Frame("C"));
}

// The notification handler closes the link: close must not wait for the
// worker, which is inside that very notification.
struct ClosingWindow : RecordingWindow {
    void OnNotice(const Notice& notice) override {
        fnZrnClose();
        RecordingWindow::OnNotice(notice);
    }
};

TEST_F(LinkExports, CloseFromInsideANotification) {
    ClosingWindow closing;
    ASSERT_EQ(fnZrnOpen(closing.Handle(), line.Definition().c_str()), 1);
    line.Write(kAck + kAck + Frame("D|1"));
    EXPECT_EQ(closing.WaitFor(1).size(), 1u);
    ASSERT_TRUE(WorkerEnded());
    // Closed after the first: the rest of that read is told to nobody.
    EXPECT_EQ(closing.Notices().size(), 1u);
    ASSERT_EQ(fnZrnOpen(window.Handle(), line.Definition().c_str()), 1);
    line.Write(kAck);
    EXPECT_EQ(window.WaitFor(1), (std::vector<Notice>{{LINK_ACK, std::nullopt}}));
}

} // namespace
