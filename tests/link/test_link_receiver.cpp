// The receive path without a port: bytes in, notifications and log lines out.

#include "FrameCrc.h"
#include "LinkReceiver.h"
#include "ZRNComDll.h"

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using Events = std::vector<std::string>;

class Recorder final : public zrn::LinkEvents {
public:
    explicit Recorder(bool window = true) : window(window) {}

    bool Notify(unsigned wParam, const char* lParam) override {
        if (!window)
            return false;
        events.push_back(std::to_string(wParam) + ":" + (lParam ? lParam : "(null)"));
        return true;
    }
    void Log(std::string_view line) override { events.push_back("log:" + std::string(line)); }

    bool window;
    Events events;
};

const std::string ACK = "\x06";
const std::string NAK = "\x15";
std::string F(const std::string& text) {
    return zrn::BuildFrame(text);
}

std::string LowerDigits(std::string frame) {
    std::transform(frame.end() - 5, frame.end() - 1, frame.end() - 5,
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return frame;
}

// STX, text, then `before` in place of ETX, with a checksum that matches.
std::string WithByteBeforeDigits(const std::string& text, char before) {
    std::string frame = "\x02" + text + before;
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04X\r", zrn::FrameCrc(frame));
    return frame + digits;
}

// STX, the four digits of its own checksum, CR: no room for text or ETX.
std::string ChecksumOnlyFrame() {
    char frame[8];
    std::snprintf(frame, sizeof frame, "\x02%04X\r", zrn::FrameCrc("\x02"));
    return frame;
}

std::string BadChecksum(std::string frame) {
    frame[frame.size() - 2] = frame[frame.size() - 2] == '0' ? '1' : '0';
    return frame;
}

void Feed(zrn::LinkReceiver& receiver, const std::string& bytes, Recorder& events) {
    receiver.Receive(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), events);
}

// Feeds `bytes` in reads of `chunk` bytes (0: all at once), then one stray
// byte, the next read that releases an ACK left behind a handled frame.
Events FeedInReads(const std::string& bytes, std::size_t chunk, bool window = true) {
    zrn::LinkReceiver receiver;
    receiver.TakeCommand("C");
    Recorder events(window);
    const std::size_t step = chunk == 0 ? std::max<std::size_t>(bytes.size(), 1) : chunk;
    for (std::size_t at = 0; at < bytes.size(); at += step)
        Feed(receiver, bytes.substr(at, step), events);
    Feed(receiver, "x", events);
    return events.events;
}

struct Case {
    const char* name;
    std::string bytes;
    Events expected;
    bool window = true;
};

const std::string R = std::to_string(LINK_REPLY) + ":";
const std::string D = std::to_string(LINK_DATA) + ":";
const std::string A = std::to_string(LINK_ACK) + ":";
const std::string N = std::to_string(LINK_NAK) + ":";

const Case kCases[] = {
    {"AckThenReply",
     ACK + F("B|12.3|3.1"),
     {A + "C", "log:ACK", R + "B|12.3|3.1", "log:B|12.3|3.1"}},
    {"LowerCaseDigits",
     ACK + LowerDigits(F("C|12/06/26|14:05:09|")),
     {A + "C", "log:ACK", R + "C|12/06/26|14:05:09|", "log:C|12/06/26|14:05:09|"}},
    {"NoiseBeforeElements",
     "\r\xff junk" + ACK + "\r\r" + F("B|1"),
     {A + "C", "log:ACK", R + "B|1", "log:B|1"}},
    {"OnlyNoise", "\r\n\x7f garbage \x03", {}},
    {"NakThenReplyIsLoggedNotForwarded", NAK + F("B|1"), {N + "C", "log:NAK", "log:B|1"}},
    {"TwoRepliesAfterOneAck",
     ACK + F("B|1") + F("B|2"),
     {A + "C", "log:ACK", R + "B|1", "log:B|1", "log:B|2"}},
    {"DataReplyAfterTheFirstIsForwarded",
     ACK + F("B|1") + F("D|2"),
     {A + "C", "log:ACK", R + "B|1", "log:B|1", D + "D|2", "log:D|2"}},
    {"DataReplyWithoutAck", F("D|5"), {D + "D|5", "log:D|5"}},
    {"SecondAckHasNoCommand", ACK + ACK, {A + "C", "log:ACK", A + "(null)", "log:ACK"}},
    {"ByteBeforeDigitsIsNotExamined",
     ACK + WithByteBeforeDigits("B|1", 'X'),
     {A + "C", "log:ACK", R + "B|1", "log:B|1"}},
    {"EmptyReply", ACK + F(""), {A + "C", "log:ACK", R, "log:"}},
    {"BadChecksumLeavesTheAckStanding",
     ACK + BadChecksum(F("B|1")) + F("B|2"),
     {A + "C", "log:ACK", R + "B|2", "log:B|2"}},
    {"TooShortFramesAreDropped",
     ACK +
         "\x02"
         "AB\r" +
         ChecksumOnlyFrame() + F("B|3"),
     {A + "C", "log:ACK", R + "B|3", "log:B|3"}},
    {"NakAfterAnUnansweredAckStopsTheReply",
     ACK + NAK + F("B|1"),
     {A + "C", "log:ACK", N + "(null)", "log:NAK", "log:B|1"}},
    {"NulNoiseIsDropped",
     std::string("\0\0", 2) + ACK + std::string("\0", 1) + F("B|1") + std::string("x\0", 2) +
         F("D|2"),
     {A + "C", "log:ACK", R + "B|1", "log:B|1", D + "D|2", "log:D|2"}},
    {"NulInsideAFrameIsDropped",
     ACK +
         std::string("\x02"
                     "B|\0"
                     "1\x03",
                     6) +
         F("B|1").substr(5),
     {A + "C", "log:ACK", R + "B|1", "log:B|1"}},
    {"NoWindowStillLogs", ACK + F("B|1") + F("D|1"), {"log:ACK", "log:B|1", "log:D|1"}, false},
};

class ReceivePath : public ::testing::TestWithParam<Case> {};

TEST_P(ReceivePath, SameEventsWhateverTheReadSizes) {
    const Case& c = GetParam();
    for (std::size_t chunk : {0, 1, 2, 3, 7, 256})
        EXPECT_EQ(FeedInReads(c.bytes, chunk, c.window), c.expected) << "reads of " << chunk;
}

INSTANTIATE_TEST_SUITE_P(Link, ReceivePath, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReceivePathRules, AnAckLeftBehindAFrameWaitsForTheNextRead) {
    zrn::LinkReceiver receiver;
    Recorder events;
    Feed(receiver, F("D|1") + ACK, events);
    EXPECT_EQ(events.events, (Events{D + "D|1", "log:D|1"}));
    Feed(receiver, "\r", events);
    ASSERT_FALSE(events.events.empty());
    EXPECT_EQ(events.events.back(), "log:ACK");
}

TEST(ReceivePathRules, TheLastCommandWrittenIsTheOneAcknowledged) {
    zrn::LinkReceiver receiver;
    Recorder events;
    for (const char* text : {"S0D", "C|12/06/26|14:05:09|", "S0A"})
        receiver.TakeCommand(text);
    Feed(receiver, ACK + "x", events);
    ASSERT_FALSE(events.events.empty());
    EXPECT_EQ(events.events.front(), A + "S0A");
    EXPECT_FALSE(receiver.PendingCommand().has_value());
}

TEST(ReceivePathRules, AnUnterminatedFrameFillingTheBufferIsDroppedAndTheLinkGoesOn) {
    zrn::LinkReceiver receiver;
    Recorder events;
    const std::string endless = "\x02" + std::string(3000, 'a');
    for (std::size_t at = 0; at < endless.size(); at += 256)
        Feed(receiver, endless.substr(at, 256), events);
    EXPECT_TRUE(events.events.empty());
    // The rest of a partly dropped frame is noise; the next frame comes through.
    Feed(receiver, "tail\r" + F("D|1"), events);
    EXPECT_EQ(events.events, (Events{D + "D|1", "log:D|1"}));
}

TEST(ReceivePathRules, AnAckWithoutAWindowLeavesTheLineStateAlone) {
    zrn::LinkReceiver receiver;
    Recorder events(false);
    Feed(receiver, ACK + "x", events);
    EXPECT_EQ(receiver.LastLineEvent(), 0);

    events.window = true;
    Feed(receiver, NAK + "x", events);
    events.window = false;
    Feed(receiver, ACK + "x", events);
    EXPECT_EQ(receiver.LastLineEvent(), zrn::NAK);
    // The reply is judged by the NAK the window saw, so it is not forwarded.
    events.window = true;
    Feed(receiver, F("B|1"), events);
    EXPECT_EQ(events.events, (Events{"log:ACK", N + "(null)", "log:NAK", "log:ACK", "log:B|1"}));
}

TEST(ReceivePathRules, ABufferOfOnlyNoiseIsEmptied) {
    zrn::RxBuffer buffer;
    for (const std::string& noise :
         {std::string("\r\n junk \x03\x7f"), std::string("\0\0\0", 3), std::string(1500, 'n')}) {
        buffer.Feed(reinterpret_cast<const unsigned char*>(noise.data()), noise.size());
        EXPECT_EQ(buffer.Fill(), 0u);
    }
}

TEST(ReceivePathRules, BufferNeverHoldsMoreThanItsSizeLessTheNul) {
    zrn::RxBuffer buffer;
    const std::string bytes = "\x02" + std::string(5000, 'z');
    for (std::size_t at = 0; at < bytes.size(); at += 300) {
        buffer.Feed(reinterpret_cast<const unsigned char*>(bytes.data() + at),
                    std::min<std::size_t>(300, bytes.size() - at));
        EXPECT_LT(buffer.Fill(), zrn::RxBuffer::kSize);
    }
}

} // namespace
