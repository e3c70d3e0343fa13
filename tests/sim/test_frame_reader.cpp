#include "FrameCrc.h"
#include "FrameReader.h"

#include <gtest/gtest.h>

namespace zrnsim {
namespace {

std::string WithDigits(std::string frame, const char* digits) {
    frame.replace(frame.size() - 5, 4, digits);
    return frame;
}

std::string LowerDigits(std::string frame) {
    for (std::size_t i = frame.size() - 5; i < frame.size() - 1; ++i)
        frame[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(frame[i])));
    return frame;
}

struct ReaderCase {
    const char* name;
    std::vector<std::string> chunks;
    std::vector<std::pair<bool, std::string>> frames; // intact, command text
};

class Reader : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(Reader, FindsTheFrames) {
    FrameReader reader;
    std::vector<ReceivedFrame> frames;
    for (const std::string& chunk : GetParam().chunks)
        reader.Feed(chunk, frames);
    ASSERT_EQ(frames.size(), GetParam().frames.size());
    for (std::size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(frames[i].intact, GetParam().frames[i].first) << i;
        if (frames[i].intact) {
            EXPECT_EQ(frames[i].text, GetParam().frames[i].second) << i;
        }
    }
}

const std::string kClock = zrn::BuildFrame("C");
const std::string kSet = zrn::BuildFrame("L|007|");

INSTANTIATE_TEST_SUITE_P(
    Streams, Reader,
    ::testing::Values(
        ReaderCase{"whole", {kClock}, {{true, "C"}}},
        ReaderCase{"byte by byte", {"\x02", "C", "\x03", "C", "A", "0", "0", "\r"}, {{true, "C"}}},
        ReaderCase{"two in one read", {kClock + kSet}, {{true, "C"}, {true, "L|007|"}}},
        ReaderCase{"split across reads",
                   {kSet.substr(0, 4), kSet.substr(4, 5), kSet.substr(9)},
                   {{true, "L|007|"}}},
        ReaderCase{"noise and a stray CR before", {"xy\r\x06" + kClock}, {{true, "C"}}},
        ReaderCase{
            "lower-case check digits", {LowerDigits(zrn::BuildFrame("S1?"))}, {{true, "S1?"}}},
        ReaderCase{"wrong checksum", {WithDigits(kClock, "CA01")}, {{false, ""}}},
        ReaderCase{"no ETX before the digits",
                   {"\x02"
                    "CXCA00\r"},
                   {{false, ""}}},
        ReaderCase{"too short",
                   {"\x02\x03"
                    "CA\r"},
                   {{false, ""}}},
        ReaderCase{"empty text is still a frame", {zrn::BuildFrame("")}, {{true, ""}}},
        ReaderCase{
            "lost bytes: a new STX starts over", {kSet.substr(0, 5) + kClock}, {{true, "C"}}},
        ReaderCase{"no STX at all", {"garbage\r\r"}, {}},
        ReaderCase{"unterminated frame is dropped at the limit",
                   {"\x02" + std::string(FrameReader::kMaxFrame, 'x') + "\r" + kClock},
                   {{true, "C"}}}),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        return name;
    });

} // namespace
} // namespace zrnsim
