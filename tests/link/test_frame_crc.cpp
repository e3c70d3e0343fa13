#include "FrameCrc.h"

#include <gtest/gtest.h>

TEST(FrameCrc, CheckValueAndEmptyInput) {
    EXPECT_EQ(zrn::FrameCrc("123456789"), 0x29B1);
    EXPECT_EQ(zrn::FrameCrc(nullptr, 0), 0xFFFF);
}

TEST(FrameCrc, ClockQueryFrameIsTheDocumentedEightBytes) {
    EXPECT_EQ(zrn::BuildFrame("C"), std::string("\x02"
                                                "C\x03"
                                                "CA00\r"));
}

TEST(FrameCrc, EmptyTextStillFramed) {
    const std::string frame = zrn::BuildFrame("");
    ASSERT_EQ(frame.size(), 7u);
    EXPECT_EQ(frame.substr(0, 2), std::string("\x02\x03"));
    EXPECT_EQ(frame.back(), '\r');
}
