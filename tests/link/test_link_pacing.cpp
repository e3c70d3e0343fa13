// Pacing on a real pseudo-terminal, seen from the device side: the far end
// time-stamps every frame it reads and every noise byte it writes.

#include "PtyHarness.h"
#include "ZRNComDll.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>
#include <utility>

using namespace zrntest;
using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;

namespace {

constexpr int kCommands = 8;
constexpr double kIdleRead = 20.0; // ms of silence before the worker may write
// Slack for the far end being scheduled late on a busy machine.
constexpr double kSlack = 2.0;

struct FarEnd {
    std::vector<Clock::time_point> frames; // when each CR was read
    std::vector<bool> timely;              // read within a few ms of arriving
    std::vector<Clock::time_point> noise;  // when each noise byte had been written
};

// A loop turn that began this long after the one before was held up, and
// what it read may have waited.
constexpr auto kLate = std::chrono::milliseconds(4);

// One thread both reads and writes, so a frame read at T was written after the
// read before T: either the last noise byte is an idle read's length back, or
// the gap before that byte was one.
FarEnd ReadFarEnd(const Pty& pty, Ms noiseFor, int frames) {
    FarEnd seen;
    const auto start = Clock::now();
    const auto bound = start + kWait;
    auto turn = Clock::now();
    while (static_cast<int>(seen.frames.size()) < frames && Clock::now() < bound) {
        pollfd p{pty.Master(), POLLIN, 0};
        ::poll(&p, 1, 1);
        const auto previous = std::exchange(turn, Clock::now());
        const bool timely = turn - previous < kLate;
        char chunk[256];
        ssize_t n;
        while ((n = ::read(pty.Master(), chunk, sizeof chunk)) > 0) {
            const auto now = Clock::now();
            for (ssize_t i = 0; i < n; ++i) {
                if (chunk[i] == '\r') {
                    seen.frames.push_back(now);
                    seen.timely.push_back(timely && now - turn < kLate);
                }
            }
        }
        if (Clock::now() - start < noiseFor) {
            pty.Write("~");
            seen.noise.push_back(Clock::now());
        }
    }
    return seen;
}

class LinkPacing : public ::testing::Test {
protected:
    void TearDown() override {
        fnZrnClose();
        EXPECT_TRUE(WaitForNoWorkers());
    }
    Pty pty;
    RecordingWindow window;
};

TEST_F(LinkPacing, OneCommandPerIdleReadAtLeastAnIdleReadApart) {
    for (int i = 0; i < kCommands; ++i)
        ASSERT_EQ(fnZrnSend("C"), 1);
    ASSERT_EQ(fnZrnOpen(&window, pty.Definition().c_str()), 1);
    const FarEnd seen = ReadFarEnd(pty, Ms(0), kCommands);
    ASSERT_EQ(seen.frames.size(), static_cast<std::size_t>(kCommands));
    // A frame read late shortens the gap after it; on a busy machine only the
    // gaps after frames read in time say something.
    for (std::size_t i = 1; i < seen.frames.size(); ++i) {
        if (seen.timely[i - 1]) {
            EXPECT_GE(Ms(seen.frames[i] - seen.frames[i - 1]).count(), kIdleRead - kSlack)
                << "frame " << i;
        }
    }
    // A late read of one frame shortens one gap and lengthens the next; the
    // span cannot shrink by more than the first frame's lateness.
    EXPECT_GE(Ms(seen.frames.back() - seen.frames.front()).count(),
              (kCommands - 1) * kIdleRead - kIdleRead / 2);
}

TEST_F(LinkPacing, NothingIsWrittenWhileBytesAreStillArriving) {
    ASSERT_EQ(fnZrnOpen(&window, pty.Definition().c_str()), 1);
    for (int i = 0; i < kCommands; ++i)
        ASSERT_EQ(fnZrnSend("C"), 1);
    const FarEnd seen = ReadFarEnd(pty, Ms(400), kCommands);
    ASSERT_EQ(seen.frames.size(), static_cast<std::size_t>(kCommands));
    ASSERT_FALSE(seen.noise.empty());
    std::size_t duringNoise = 0;
    for (const auto& frame : seen.frames) {
        auto after = std::upper_bound(seen.noise.begin(), seen.noise.end(), frame);
        if (after == seen.noise.begin() || after == seen.noise.end())
            continue; // before the first or after the last noise byte
        ++duringNoise;
        const auto last = after - 1;
        const double quietBefore = Ms(frame - *last).count();
        const double gapBefore = last == seen.noise.begin() ? 0 : Ms(*last - *(last - 1)).count();
        EXPECT_TRUE(quietBefore >= kIdleRead - kSlack || gapBefore >= kIdleRead - kSlack)
            << "a frame came " << quietBefore << " ms after a noise byte, " << gapBefore
            << " ms after the one before";
    }
    // On a quiet machine the noise holds every frame back until it stops.
    RecordProperty("FramesDuringNoise", static_cast<int>(duringNoise));
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
