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

TEST(FrameCrc, NibbleTableHoldsMultiplesOfThePolynomial) {
    const auto& table = zrn::FrameCrcTable();
    EXPECT_EQ(table[0], 0x0000);
    EXPECT_EQ(table[1], 0x1021);
    EXPECT_EQ(table[2], 0x2042);
    EXPECT_EQ(table[3], 0x3063);
    EXPECT_EQ(table[8], 0x8108);
    EXPECT_EQ(table[15], 0xF1EF);
    // Carry-less multiples: each entry is the XOR of the entries of its bits.
    for (unsigned i = 0; i < 16; ++i) {
        std::uint16_t expected = 0;
        for (unsigned bit = 0; bit < 4; ++bit) {
            if (i & (1u << bit))
                expected ^= table[1u << bit];
        }
        EXPECT_EQ(table[i], expected) << i;
    }
}
