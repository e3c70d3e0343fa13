#include "model/Catalogue.h"

#include <gtest/gtest.h>
#include <limits>

#include <climits>

using namespace zrn;

namespace zrn {
// Failures name the fields rather than dump the bytes.
void PrintTo(const VersionReply& v, std::ostream* os) {
    *os << '{' << v.strMajor << ", " << v.strMinor << ", " << v.bValid << ", " << v.nMajor << ", "
        << v.nMinor << '}';
}
void PrintTo(const ScheduleReply& r, std::ostream* os) {
    *os << '{' << static_cast<int>(r.kind) << ", " << r.nNumber << ", " << int{r.chStatus} << ", "
        << r.nValues[0] << ':' << r.nValues[1] << ':' << r.nValues[2] << '}';
}
} // namespace zrn

TEST(CatalogueReplies, ClockNeedsAllSixNumbers) {
    struct Case {
        const char* reply;
        std::optional<LocalDateTime> expected;
    };
    const Case cases[] = {
        {"C|12/06/26|14:05:09|", LocalDateTime{2026, 12, 6, 14, 5, 9}},
        {"C|12/6/26|9:5:0|", LocalDateTime{2026, 12, 6, 9, 5, 0}},
        {"C|1/2/26|3:4:5|", LocalDateTime{2026, 1, 2, 3, 4, 5}},
        {"C|12/06/26|14:05:09", LocalDateTime{2026, 12, 6, 14, 5, 9}}, // the scan stops there
        {"C| 1/ 2/26| 3: 4: 5|", LocalDateTime{2026, 1, 2, 3, 4, 5}},
        {"C|12/06/26|14:05|", std::nullopt},
        {"C|12/06/26|14:05:x|", std::nullopt},
        {"C|12-06-26|14:05:09|", std::nullopt},
        {"C", std::nullopt},
        {"", std::nullopt},
        {"C|99999999999/06/26|14:05:09|", std::nullopt},
        {"C|12/06/2147483647|14:05:09|", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseClockReply(c.reply), c.expected) << c.reply;
}

TEST(CatalogueReplies, VoltagesKeepWhatTheScanDoesNotFill) {
    const Voltages previous{1.5f, 2.5f};
    struct Case {
        const char* reply;
        float external, internal;
    };
    const Case cases[] = {
        {"B|12.6|3.55|", 12.6f, 3.55f}, {"B|12.6", 12.6f, 2.5f},     {"B|12.6|x|", 12.6f, 2.5f},
        {"B|x|3.5|", 1.5f, 2.5f},       {"B", 1.5f, 2.5f},           {"B|-1|+2|", -1.0f, 2.0f},
        {"B|12.6;3.5|", 12.6f, 2.5f},   {"X|12.6|3.5|", 1.5f, 2.5f},
    };
    for (const Case& c : cases) {
        const Voltages v = ParseVoltageReply(c.reply, previous);
        EXPECT_FLOAT_EQ(v.fExternalVolts, c.external) << c.reply;
        EXPECT_FLOAT_EQ(v.fInternalVolts, c.internal) << c.reply;
    }
    EXPECT_EQ(VoltageTraceExternal("B|12.6|03.5|"), "12.6");
    EXPECT_EQ(VoltageTraceInternal("B|12.6|03.5|"), "03.5");
    EXPECT_EQ(VoltageTraceInternal("B|12"), "");
}

TEST(CatalogueReplies, VoltsAreShownWithTwoDecimalsAndAPoint) {
    const struct {
        float volts;
        const char* shown;
    } cases[] = {
        {12.6f, "12.60"}, {0.0f, "0.00"}, {-1.5f, "-1.50"}, {3.555f, "3.56"}, {1e6f, "1000000.00"}};
    for (const auto& c : cases)
        EXPECT_EQ(VoltsText(c.volts), c.shown) << c.volts;
    // The widest float still fits.
    EXPECT_EQ(VoltsText(-std::numeric_limits<float>::max()).size(), 43u);
}

TEST(CatalogueReplies, VersionFromFixedPositions) {
    struct Case {
        const char* reply;
        VersionReply expected; // major and minor text, valid, major, minor
    };
    const Case cases[] = {
        {"F|02.07|", {"02", "07", true, 2, 7}}, {"F|10.12|", {"10", "12", true, 10, 12}},
        {"F|a1.07|", {"a1", "07", true, 0, 7}}, {"F|1", {"1", "", true, 1, 0}},
        {"F|1x:3y", {"1x", "3y", true, 1, 3}},  {"F", {"", "", false, 0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseVersionReply(c.reply), c.expected) << c.reply;
}

TEST(CatalogueReplies, AddressIdentAndDelay) {
    EXPECT_EQ(ParseAddressReply("A5"), "5");
    EXPECT_EQ(ParseAddressReply("A"), "");

    EXPECT_EQ(ParseIdentReply("I|13ABCDEFGHMODEL1001OPTIONALFIELD"),
              (SdiIdent{"13", "ABCDEFGH", "MODEL1", "001", "OPTIONALFIELD"}));
    EXPECT_EQ(ParseIdentReply("I|13ABC"), (SdiIdent{"13", "ABC", "", "", ""}));
    EXPECT_EQ(ParseIdentReply("I"), SdiIdent{});
    // The identification command reads back as the same fields.
    const SdiIdent sent{" 1", "MAKER   ", "    X1", "001", "  OPTIONAL123"};
    EXPECT_EQ(ParseIdentReply(IdentSetCommand(sent)), sent);

    EXPECT_EQ(ParseDelayReply("L|007|"), "007");
    EXPECT_EQ(ParseDelayReply("L|015"), "015");
    EXPECT_EQ(ParseDelayReply("L||"), "");
    EXPECT_EQ(ParseDelayReply("L"), std::nullopt);
}

TEST(CatalogueReplies, ScheduleReplyForms) {
    using K = ScheduleReplyKind;
    struct Case {
        const char* reply;
        ScheduleReply expected; // kind, entry number, status, values
    };
    const Case cases[] = {
        {"S3A", {K::Status, 3, 'A', {0, 0, 0}}},
        {"S10", {K::Status, 1, '0', {0, 0, 0}}},
        {"S4D", {K::Status, 4, 'D', {0, 0, 0}}},
        {"S1", {K::Ignored, 0, 0, {0, 0, 0}}},
        {"S6A", {K::Ignored, 0, 0, {0, 0, 0}}},
        {"S0A", {K::Ignored, 0, 0, {0, 0, 0}}},
        {"S1?", {K::Other, 1, 0, {0, 0, 0}}},
        {"S1BX|01/02/03|", {K::Other, 1, 0, {0, 0, 0}}},
        {"S1B", {K::Other, 1, 0, {0, 0, 0}}},
        {"S2BD|12/06/26|", {K::StartDate, 2, 0, {12, 6, 26}}},
        {"S2BT|07:05:00|", {K::StartTime, 2, 0, {7, 5, 0}}},
        {"S4ED|01/31/27|", {K::StopDate, 4, 0, {1, 31, 27}}},
        {"S4ET|23:59:59|", {K::StopTime, 4, 0, {23, 59, 59}}},
        {"S1I|01:30:05|", {K::Interval, 1, 0, {1, 30, 5}}},
        {"S1V|07:01:30|", {K::Valve, 1, 0, {0, 1, 30}}},
        {"S2H|00:02:00|", {K::Hold, 2, 0, {0, 2, 0}}},
        {"S5P|00:16:39|", {K::Pump, 5, 0, {0, 16, 39}}},
        {"S5I|00:16:39|", {K::Ignored, 0, 0, {0, 0, 0}}},
        {"S5A", {K::Ignored, 0, 0, {0, 0, 0}}},
        {"S1BD|1", {K::StartDate, 1, 0, {1, 0, 0}}},
        {"S1BD|x3/4y/ 5|", {K::StartDate, 1, 0, {0, 4, 0}}},
        {"S1BD|13/06/26|", {K::StartDate, 1, 0, {13, 6, 26}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseScheduleReply(c.reply), c.expected) << c.reply;
}

TEST(CatalogueReplies, ValueRepliesStoreIntoTheEntry) {
    ScheduleEntry e{};
    e.nNumber = 2, e.chStatus = 'A', e.nValveMinutes = 9;
    EXPECT_TRUE(StoreScheduleReply(e, ParseScheduleReply("S2BD|12/06/26|")));
    EXPECT_TRUE(StoreScheduleReply(e, ParseScheduleReply("S2ET|23:58:57|")));
    EXPECT_TRUE(StoreScheduleReply(e, ParseScheduleReply("S2H|05:01:30|")));
    EXPECT_FALSE(StoreScheduleReply(e, ParseScheduleReply("S2D")));
    EXPECT_FALSE(StoreScheduleReply(e, ParseScheduleReply("S2?")));
    EXPECT_EQ(e.nStartMonth, 12);
    EXPECT_EQ(e.nStartDay, 6);
    EXPECT_EQ(e.nStartYear, 26);
    EXPECT_EQ(e.nStopHour, 23);
    EXPECT_EQ(e.nStopMinute, 58);
    EXPECT_EQ(e.nStopSecond, 57);
    EXPECT_EQ(e.nHoldMinutes, 1);
    EXPECT_EQ(e.nHoldSeconds, 30);
    EXPECT_EQ(e.nValveMinutes, 9);
    EXPECT_EQ(e.chStatus, 'A');
    EXPECT_EQ(e.nNumber, 2);
}

TEST(CatalogueReplies, TypedNumbersReadLikeTheCRuntime) {
    EXPECT_EQ(DecimalValue(" 30"), 30);
    EXPECT_EQ(DecimalValue("-5"), -5);
    EXPECT_EQ(DecimalValue("12abc"), 12);
    EXPECT_EQ(DecimalValue("abc"), 0);
    EXPECT_EQ(DecimalValue(""), 0);
    EXPECT_EQ(DecimalValue("99999999999"), INT_MAX);
    EXPECT_EQ(DecimalValue("-99999999999"), INT_MIN);
}
