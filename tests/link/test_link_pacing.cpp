// Pacing on a real pseudo-terminal: one command per idle read, at least an
// idle read apart, nothing written while bytes arrive.
//
// The rule is judged from the worker's own view of its port (PortLog): when
// the far end reads a frame says more about when it was scheduled than about
// when the frame was written, and the terminal itself hands bytes on a little
// later under load. The far end checks what it can know for certain: which
// frames arrived, in which order, and none before the worker began to write it.

#include "PortLog.h"
#include "PtyHarness.h"
#include "ZRNComDll.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <thread>
#include <unistd.h>

using namespace zrntest;
using Clock = std::chrono::steady_clock;
using Kind = zrn::PortEvent::Kind;

namespace {

constexpr int kCommands = 8;
constexpr auto kIdleRead = 20ms; // the read time-out that releases the next command

struct FarEnd {
    std::string bytes;                     // everything the link wrote
    std::vector<Clock::time_point> frames; // when each CR had been read
};

// Reads until `frames` CRs arrived (or the bound passed), writing a noise byte
// about every millisecond for the first `noiseFor`.
FarEnd ReadFarEnd(const Pty& pty, int frames, std::chrono::milliseconds noiseFor = 0ms) {
    FarEnd seen;
    const auto start = Clock::now();
    while (static_cast<int>(seen.frames.size()) < frames && Clock::now() < start + kWait) {
        pollfd p{pty.Master(), POLLIN, 0};
        ::poll(&p, 1, 1);
        char chunk[256];
        ssize_t n;
        while ((n = ::read(pty.Master(), chunk, sizeof chunk)) > 0) {
            const auto now = Clock::now();
            seen.bytes.append(chunk, static_cast<std::size_t>(n));
            for (ssize_t i = 0; i < n; ++i)
                if (chunk[i] == '\r')
                    seen.frames.push_back(now);
        }
        if (Clock::now() - start < noiseFor)
            pty.Write("~");
    }
    return seen;
}

std::string Frames(const std::string& text, int count) {
    std::string all;
    for (int i = 0; i < count; ++i)
        all += Frame(text);
    return all;
}

class LinkPacing : public ::testing::Test {
protected:
    void TearDown() override {
        fnZrnClose();
        EXPECT_TRUE(WaitForNoWorkers());
    }
    PortLog port; // outlives the workers: TearDown waits for them
    Pty pty;
    RecordingWindow window;
};

TEST_F(LinkPacing, OneCommandPerIdleReadAtLeastAnIdleReadApart) {
    for (int i = 0; i < kCommands; ++i)
        ASSERT_EQ(fnZrnSend("C"), 1);
    ASSERT_EQ(fnZrnOpen(&window, pty.Definition().c_str()), 1);
    const FarEnd seen = ReadFarEnd(pty, kCommands);
    EXPECT_EQ(seen.bytes, Frames("C", kCommands));
    const auto records = port.WaitForWrites(kCommands, kWait);
    ASSERT_EQ(Count(records, Kind::Wrote), static_cast<std::size_t>(kCommands));
    EXPECT_TRUE(KeepsPacing(records, kIdleRead));
    // No frame reaches the far end before the worker began to write it.
    std::size_t frame = 0;
    for (const PortRecord& record : records) {
        if (record.kind != Kind::Wrote || frame >= seen.frames.size())
            continue;
        EXPECT_GE(seen.frames[frame], record.began) << "frame " << frame;
        ++frame;
    }
}

TEST_F(LinkPacing, NothingIsWrittenWhileBytesAreStillArriving) {
    ASSERT_EQ(fnZrnOpen(&window, pty.Definition().c_str()), 1);
    for (int i = 0; i < kCommands; ++i)
        ASSERT_EQ(fnZrnSend("C"), 1);
    const FarEnd seen = ReadFarEnd(pty, kCommands, 400ms);
    EXPECT_EQ(seen.bytes, Frames("C", kCommands));
    const auto records = port.WaitForWrites(kCommands, kWait);
    ASSERT_EQ(Count(records, Kind::Wrote), static_cast<std::size_t>(kCommands));
    // The noise reached the worker, and no frame left while it was reading it.
    EXPECT_GT(Count(records, Kind::Received), 0u);
    EXPECT_TRUE(KeepsPacing(records, kIdleRead));
}

// With nothing queued the worker sleeps until there is work: no idle reads,
// however long it is left alone. A command sent then still waits for one.
TEST_F(LinkPacing, AnIdleLinkReadsOnlyWhenThereIsWork) {
    ASSERT_EQ(fnZrnOpen(&window, pty.Definition().c_str()), 1);
    std::this_thread::sleep_for(200ms); // any while: a loop that polls would read ten times
    EXPECT_EQ(Count(port.Records(), Kind::IdleRead), 0u);
    ASSERT_EQ(fnZrnSend("C"), 1);
    EXPECT_EQ(pty.ReadUntilCrs(1), Frame("C"));
    const auto records = port.WaitForWrites(1, kWait);
    EXPECT_EQ(Count(records, Kind::IdleRead), 1u);
    EXPECT_TRUE(KeepsPacing(records, kIdleRead));
}

// Sends that wake the worker in the middle of an idle read do not cut it short.
TEST_F(LinkPacing, SendsDuringAnIdleReadDoNotShortenIt) {
    ASSERT_EQ(fnZrnOpen(&window, pty.Definition().c_str()), 1);
    for (int i = 0; i < kCommands; ++i) {
        ASSERT_EQ(fnZrnSend("C"), 1);
        std::this_thread::sleep_for(3ms);
    }
    EXPECT_EQ(ReadFarEnd(pty, kCommands).bytes, Frames("C", kCommands));
    const auto records = port.WaitForWrites(kCommands, kWait);
    EXPECT_TRUE(KeepsPacing(records, kIdleRead));
}

// Line noise at plug-in often holds NULs; the frames around them still arrive.
TEST_F(LinkPacing, NulNoiseHidesNoFrame) {
    ASSERT_EQ(fnZrnOpen(&window, pty.Definition().c_str()), 1);
    const std::string nul(1, '\0');
    pty.Write(nul + nul + Frame("D|1") + nul + "\x06" + nul + Frame("B|12.60|3.10") + nul + "x" +
              nul + Frame("D|2") + nul);
    EXPECT_EQ(window.WaitFor(4), (std::vector<Notice>{{LINK_DATA, "D|1"},
                                                      {LINK_ACK, std::nullopt},
                                                      {LINK_REPLY, "B|12.60|3.10"},
                                                      {LINK_DATA, "D|2"}}));
}

} // namespace
