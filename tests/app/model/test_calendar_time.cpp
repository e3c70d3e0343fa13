#include "TimeZone.h"
#include "model/CalendarTime.h"

#include <gtest/gtest.h>

using namespace zrn;

using CalendarTime = BerlinTime;

TEST_F(CalendarTime, LocalFieldsFollowDaylightSaving) {
    // 2026-12-06 14:05:09 CET and 2026-07-01 08:00:00 CEST.
    EXPECT_EQ(MakeLocalTime({2026, 12, 6, 14, 5, 9}), 1796562309);
    EXPECT_EQ(MakeLocalTime({2026, 7, 1, 8, 0, 0}), 1782885600);
    EXPECT_EQ(BreakLocalTime(1782885600), (LocalDateTime{2026, 7, 1, 8, 0, 0}));
    EXPECT_EQ(MakeLocalTime({1970, 1, 1, 0, 59, 59}), -1); // not mistaken for a failure
}

TEST_F(CalendarTime, OutOfRangeFieldsNormalise) {
    const auto t = MakeLocalTime({2026, 4, 31, 10, 0, 0});
    ASSERT_TRUE(t);
    EXPECT_EQ(BreakLocalTime(*t), (LocalDateTime{2026, 5, 1, 10, 0, 0}));
    EXPECT_EQ(BreakLocalTime(*MakeLocalTime({2026, 13, 1, 0, 0, 0})),
              (LocalDateTime{2027, 1, 1, 0, 0, 0}));
}

TEST_F(CalendarTime, GapAndFoldOfTheClockChange) {
    // 29 March 2026 02:30 does not exist in Berlin; the runtime moves it by the
    // hour it skipped, to one side or the other.
    const auto gap = MakeLocalTime({2026, 3, 29, 2, 30, 0});
    ASSERT_TRUE(gap);
    const LocalDateTime back = *BreakLocalTime(*gap);
    EXPECT_TRUE(back.hour == 1 || back.hour == 3) << back.hour;
    EXPECT_EQ(back.minute, 30);
    // 25 October 2026 02:30 happens twice; either instant reads back as 02:30.
    const auto fold = MakeLocalTime({2026, 10, 25, 2, 30, 0});
    ASSERT_TRUE(fold);
    EXPECT_TRUE(*fold == 1792888200 || *fold == 1792891800) << *fold;
    EXPECT_EQ(BreakLocalTime(*fold), (LocalDateTime{2026, 10, 25, 2, 30, 0}));
}

TEST_F(CalendarTime, EntryFieldsRoundTripInSummerAndWinter) {
    for (const LocalDateTime f :
         {LocalDateTime{2026, 1, 15, 6, 7, 8}, LocalDateTime{2026, 7, 15, 23, 59, 59},
          LocalDateTime{2037, 12, 31, 23, 59, 59}}) {
        const std::int64_t t = MakeLocalTime(f).value();
        ScheduleEntry e{};
        SetEntryStart(e, t);
        SetEntryStop(e, t + 3600);
        EXPECT_EQ(EntryStartFields(e), f);
        EXPECT_EQ(MakeLocalTime(EntryStartFields(e)), t);
        EXPECT_EQ(MakeLocalTime(EntryStopFields(e)), t + 3600);
    }
}

TEST_F(CalendarTime, SpansSplitWithinTheirUnits) {
    const SpanParts p = SplitSpan(90061);
    EXPECT_EQ(p.days, 1);
    EXPECT_EQ(p.hours, 1);
    EXPECT_EQ(p.minutes, 1);
    EXPECT_EQ(p.seconds, 1);
    EXPECT_EQ(MakeSpan(1, 1, 1, 1), 90061);

    ScheduleEntry e{};
    SetEntryInterval(e, 86399);
    EXPECT_EQ(e.nIntervalHours, 23);
    EXPECT_EQ(e.nIntervalMinutes, 59);
    EXPECT_EQ(e.nIntervalSeconds, 59);
    SetEntryInterval(e, 86400 + 1800); // a day and a half hour keeps the half hour
    EXPECT_EQ(EntryInterval(e), 1800);
    SetEntryOpenValve(e, 3690); // 1:01:30 drops the hour
    EXPECT_EQ(e.nValveMinutes, 1);
    EXPECT_EQ(e.nValveSeconds, 30);
    SetEntrySampleHolding(e, 59);
    SetEntryPumpOn(e, 600);
    EXPECT_EQ(EntrySampleHolding(e), 59);
    EXPECT_EQ(EntryPumpOn(e), 600);
}

TEST_F(CalendarTime, DisplayFormsIgnoreTheLocale) {
    const std::int64_t afternoon = MakeLocalTime({2026, 12, 6, 14, 5, 9}).value();
    const std::int64_t midnight = MakeLocalTime({2026, 3, 7, 0, 0, 0}).value();
    const std::int64_t noon = MakeLocalTime({2026, 3, 7, 12, 0, 0}).value();
    EXPECT_EQ(FormatLocalTime(afternoon, TimeText::Date), "12/06/2026");
    EXPECT_EQ(FormatLocalTime(afternoon, TimeText::Time), "02:05:09 PM");
    EXPECT_EQ(FormatLocalTime(afternoon, TimeText::DateTime), "12/06/2026 02:05:09 PM");
    EXPECT_EQ(FormatLocalTime(afternoon, TimeText::Clock24), "14:05:09");
    EXPECT_EQ(FormatLocalTime(midnight, TimeText::Time), "12:00:00 AM");
    EXPECT_EQ(FormatLocalTime(noon, TimeText::Time), "12:00:00 PM");
}

TEST_F(BerlinTime, AlignDownLocalKeepsTheLocalQuarterHalfOrWholeHour) {
    const int64_t t = *zrn::MakeLocalTime({2026, 3, 29, 10, 7, 30}); // the day clocks go forward
    EXPECT_EQ(zrn::AlignDownLocal(t, 15), *zrn::MakeLocalTime({2026, 3, 29, 10, 0, 0}));
    EXPECT_EQ(zrn::AlignDownLocal(t + 1800, 30), *zrn::MakeLocalTime({2026, 3, 29, 10, 30, 0}));
    EXPECT_EQ(zrn::AlignDownLocal(t + 3600, 60), *zrn::MakeLocalTime({2026, 3, 29, 11, 0, 0}));
    const int64_t onTheHour = *zrn::MakeLocalTime({2026, 3, 29, 10, 0, 59});
    EXPECT_EQ(zrn::AlignDownLocal(onTheHour, 15), onTheHour - 59);
}
