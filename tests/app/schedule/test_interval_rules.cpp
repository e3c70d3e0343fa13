#include "TimeZone.h"
#include "model/CalendarTime.h"
#include "schedule/EntryDetails.h"
#include "schedule/IntervalRules.h"

#include <gtest/gtest.h>

using namespace zrn;

using IntervalRules = BerlinTime;

namespace {

std::int64_t Local(int year, int month, int day, int hour, int minute, int second) {
    return MakeLocalTime({year, month, day, hour, minute, second}).value();
}

LocalDateTime Fields(std::int64_t t) {
    return BreakLocalTime(t).value();
}

} // namespace

TEST(IntervalPresetTable, RowsSectionsAndIntervals) {
    struct Row {
        int index;
        const char* section;
        std::int64_t interval;
    };
    const Row rows[] = {
        {0, "Interval15Min", 900}, {1, "Interval30Min", 1800}, {2, "Interval45Min", 2700},
        {3, "Interval1Hr", 3600},  {4, "Interval24Hr", 86399},
    };
    for (const Row& row : rows) {
        const IntervalPreset* preset = FindIntervalPreset(row.index);
        ASSERT_NE(preset, nullptr) << row.index;
        EXPECT_EQ(preset->nIndex, row.index);
        EXPECT_STREQ(preset->section, row.section);
        EXPECT_EQ(preset->tsInterval, row.interval);
    }
    for (int outside : {-1, PRESET_CUSTOM, 6, 1023})
        EXPECT_EQ(FindIntervalPreset(outside), nullptr) << outside;
}

TEST_F(IntervalRules, StartProposalFromTheBaseForEachPreset) {
    struct Case {
        int preset;
        LocalDateTime base;
        LocalDateTime start;
    };
    const Case cases[] = {
        // The next step at or after the base.
        {PRESET_15MIN, {2026, 6, 10, 10, 7, 30}, {2026, 6, 10, 10, 15, 0}},
        {PRESET_30MIN, {2026, 6, 10, 10, 7, 30}, {2026, 6, 10, 10, 30, 0}},
        {PRESET_1HOUR, {2026, 6, 10, 10, 7, 30}, {2026, 6, 10, 11, 0, 0}},
        {PRESET_24HOURS, {2026, 6, 10, 10, 7, 30}, {2026, 6, 11, 10, 0, 0}},
        // A base on the step is kept; with seconds past it the start is earlier than the base.
        {PRESET_15MIN, {2026, 6, 10, 10, 0, 0}, {2026, 6, 10, 10, 0, 0}},
        {PRESET_15MIN, {2026, 6, 10, 10, 0, 59}, {2026, 6, 10, 10, 0, 0}},
        {PRESET_30MIN, {2026, 6, 10, 10, 30, 59}, {2026, 6, 10, 10, 30, 0}},
        {PRESET_30MIN, {2026, 6, 10, 10, 31, 0}, {2026, 6, 10, 11, 0, 0}},
        {PRESET_1HOUR, {2026, 6, 10, 10, 0, 0}, {2026, 6, 10, 10, 0, 0}},
        {PRESET_1HOUR, {2026, 6, 10, 23, 1, 0}, {2026, 6, 11, 0, 0, 0}},
        // Over the end of a month and a year.
        {PRESET_15MIN, {2026, 12, 31, 23, 50, 0}, {2027, 1, 1, 0, 0, 0}},
        {PRESET_24HOURS, {2026, 2, 28, 12, 30, 0}, {2026, 3, 1, 12, 0, 0}},
        // The day the clocks go forward has 23 hours: a day of seconds lands an hour later.
        {PRESET_24HOURS, {2026, 3, 28, 10, 7, 30}, {2026, 3, 29, 11, 0, 0}},
        // And the day they go back has 25.
        {PRESET_24HOURS, {2026, 10, 24, 10, 7, 30}, {2026, 10, 25, 9, 0, 0}},
    };
    for (const Case& c : cases) {
        const StartStop proposal =
            ProposeStartStop(*FindIntervalPreset(c.preset), MakeLocalTime(c.base).value());
        EXPECT_EQ(Fields(proposal.tStart), c.start)
            << "preset " << c.preset << " base " << c.base.hour << ":" << c.base.minute << ":"
            << c.base.second;
        EXPECT_EQ(proposal.tStop - proposal.tStart, 604799);
    }
}

TEST_F(IntervalRules, StopIsSevenDaysLessOneSecondAfterTheStart) {
    const StartStop summer =
        ProposeStartStop(*FindIntervalPreset(PRESET_15MIN), Local(2026, 6, 10, 10, 7, 30));
    EXPECT_EQ(Fields(summer.tStop), (LocalDateTime{2026, 6, 17, 10, 14, 59}));

    // Across the change to summer time the week is counted in seconds, so the
    // stop shows an hour later on the clock.
    const StartStop spring =
        ProposeStartStop(*FindIntervalPreset(PRESET_15MIN), Local(2026, 3, 28, 10, 7, 30));
    EXPECT_EQ(Fields(spring.tStart), (LocalDateTime{2026, 3, 28, 10, 15, 0}));
    EXPECT_EQ(Fields(spring.tStop), (LocalDateTime{2026, 4, 4, 11, 14, 59}));
}

TEST_F(IntervalRules, StartProposalInTheRepeatedHourOfAutumn) {
    // 25 October 2026: 02:00..02:59 runs twice (00:00 and 01:00 UTC). The
    // proposal is counted in seconds, so it comes after the base, never before.
    const std::int64_t firstTwoFifty = 1792889400; // 02:50:00 CEST
    const StartStop halfHour = ProposeStartStop(*FindIntervalPreset(PRESET_30MIN), firstTwoFifty);
    EXPECT_EQ(halfHour.tStart, firstTwoFifty + 600); // 02:00:00 CET
    EXPECT_EQ(Fields(halfHour.tStart), (LocalDateTime{2026, 10, 25, 2, 0, 0}));

    const std::int64_t firstTwoThirty = 1792888200; // 02:30:00 CEST
    const StartStop hour = ProposeStartStop(*FindIntervalPreset(PRESET_1HOUR), firstTwoThirty);
    EXPECT_EQ(hour.tStart, firstTwoThirty + 1800);
}

TEST_F(IntervalRules, BeforeAnySelectionTheBaseIsTheEpoch) {
    // 1970-01-01 01:14:00 in Berlin goes back to 01:00:00, second 0.
    const StartStop proposal = ProposeStartStop(*FindIntervalPreset(PRESET_15MIN), 0);
    EXPECT_EQ(proposal.tStart, 0);
    EXPECT_EQ(proposal.tStop, 604799);
}

TEST(IntervalRadio, IntervalTextChoosesThePreset) {
    struct Case {
        std::int64_t interval;
        const char* text;
        int preset;
    };
    const Case cases[] = {
        {900, "00:15:00", PRESET_15MIN},
        {1800, "00:30:00", PRESET_30MIN},
        {2700, "00:45:00", PRESET_45MIN}, // no button: every button ends unchecked
        {3600, "01:00:00", PRESET_1HOUR},
        {86399, "23:59:59", PRESET_24HOURS},
        {0, "00:00:00", PRESET_CUSTOM},
        {901, "00:15:01", PRESET_CUSTOM},
        {5400, "01:30:00", PRESET_CUSTOM},
        {86400, "00:00:00", PRESET_CUSTOM}, // a whole day is no time of day
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IntervalText(c.interval), c.text) << c.interval;
        EXPECT_EQ(IntervalPresetFor(IntervalText(c.interval)), c.preset) << c.text;
    }
    // Only the exact text matches.
    EXPECT_EQ(IntervalPresetFor("0:15:00"), PRESET_CUSTOM);
    EXPECT_EQ(IntervalPresetFor(""), PRESET_CUSTOM);
}

TEST(IntervalRadio, PickerTimeOfDayRoundTripsEverySecond) {
    for (std::int64_t second = 0; second < 86400; ++second)
        ASSERT_EQ(TimeOfDayFromOle(OleTimeOfDay(second)), second);
    // The picker's date part does not count, on either side of the zero date.
    EXPECT_EQ(TimeOfDayFromOle(46000.5), 43200);
    EXPECT_EQ(TimeOfDayFromOle(-1.25), 21600);
    EXPECT_EQ(TimeOfDayFromOle(0.99999999), 0);
}

TEST(SelectedEntry, NotActiveNeedsARowAnEntryAndAStatusOtherThanA) {
    struct Case {
        int row;
        int entry;
        char status;
        bool notActive;
    };
    const Case cases[] = {
        {-1, 0, 'D', false}, // no row
        {0, -1, 'D', false}, // a row without an entry
        {0, 2, 'A', false},  {0, 2, 'D', true},  {0, 2, '0', true},
        {3, 1, 'D', true},   {4, 1, 'D', false}, // a row the list cannot have
    };
    for (const Case& c : cases) {
        ScheduleState state;
        state.nSelectedRow = c.row;
        if (c.row >= 0 && c.row < SCHEDULE_ENTRY_COUNT)
            state.nRowEntry[static_cast<std::size_t>(c.row)] = c.entry;
        if (c.entry >= 0)
            state.table[static_cast<std::size_t>(c.entry)].chStatus =
                static_cast<std::uint8_t>(c.status);
        EXPECT_EQ(SelectedEntryNotActive(state), c.notActive)
            << c.row << " " << c.entry << " " << c.status;
    }
}

TEST(CustomTiming, EachPickerLogsHoursAndMinutesAndOnlyTheValveWaits) {
    struct Case {
        CustomPicker which;
        int hour, minute, second;
        const char* log;
        std::int64_t ts;
        bool saves;
    };
    const Case cases[] = {
        {CustomPicker::Interval, 2, 30, 15, "OnChange/Time Interval: 2:30", 9015, true},
        {CustomPicker::Interval, 23, 59, 59, "OnChange/Time Interval: 23:59", 86399, true},
        {CustomPicker::OpenValve, 0, 5, 30, "OnChange/Open Valve: 0:5", 330, false},
        {CustomPicker::SampleHolding, 0, 0, 45, "OnChange/Sample Holding: 0:0", 45, true},
        {CustomPicker::PumpOn, 0, 59, 59, "OnChange/Pump On: 0:59", 3599, true},
    };
    for (const Case& c : cases) {
        const CustomPickerChange change = CustomTimingChange(c.which, c.hour, c.minute, c.second);
        EXPECT_EQ(change.strLog, c.log);
        EXPECT_EQ(change.ts, c.ts) << c.log;
        EXPECT_EQ(change.bSaves, c.saves) << c.log;
    }
}

TEST_F(IntervalRules, DetailsTextsOfAnEntry) {
    struct Case {
        const char* name;
        SelectedEntryView view;
        EntryDetailsTexts texts;
    };
    auto view = [](int active, std::int64_t start, std::int64_t stop, std::int64_t interval,
                   std::int64_t valve, std::int64_t hold, std::int64_t pump) {
        return SelectedEntryView{{start, stop, interval, valve, hold, pump}, active};
    };
    const Case cases[] = {
        {"active, summer",
         view(1, Local(2026, 7, 1, 8, 0, 0), Local(2026, 7, 8, 13, 14, 59), 900, 120, 60, 75),
         {"Active", "07/01/2026", "08:00:00 AM", "07/08/2026", "01:14:59 PM", "00:15:00",
          "00:02:00", "00:01:00", "00:01:15"}},
        {"inactive, across the change to winter time",
         view(0, Local(2026, 10, 20, 0, 30, 0), Local(2026, 10, 27, 12, 0, 0), 86399, 3599, 0, 59),
         {"Inactive", "10/20/2026", "12:30:00 AM", "10/27/2026", "12:00:00 PM", "23:59:59",
          "00:59:59", "00:00:00", "00:00:59"}},
        // Any non-zero flag is active; a day or more shows its hours within the
        // last day; the durations drop their hours.
        {"hours dropped",
         view(2, Local(2026, 1, 5, 23, 59, 59), Local(2026, 1, 6, 0, 0, 0), 90061, 3900, 7200,
              86399),
         {"Active", "01/05/2026", "11:59:59 PM", "01/06/2026", "12:00:00 AM", "01:01:01",
          "00:05:00", "00:00:00", "00:59:59"}},
        // Before any selection: second 0 of 1970 in local time.
        {"nothing selected",
         {},
         {"Inactive", "01/01/1970", "01:00:00 AM", "01/01/1970", "01:00:00 AM", "00:00:00",
          "00:00:00", "00:00:00", "00:00:00"}},
    };
    for (const Case& c : cases) {
        const EntryDetailsTexts t = FormatEntryDetails(c.view);
        SCOPED_TRACE(c.name);
        EXPECT_EQ(t.strStatus, c.texts.strStatus);
        EXPECT_EQ(t.strStartDate, c.texts.strStartDate);
        EXPECT_EQ(t.strStartTime, c.texts.strStartTime);
        EXPECT_EQ(t.strStopDate, c.texts.strStopDate);
        EXPECT_EQ(t.strStopTime, c.texts.strStopTime);
        EXPECT_EQ(t.strInterval, c.texts.strInterval);
        EXPECT_EQ(t.strOpenValve, c.texts.strOpenValve);
        EXPECT_EQ(t.strSampleHolding, c.texts.strSampleHolding);
        EXPECT_EQ(t.strPumpOn, c.texts.strPumpOn);
    }
}
