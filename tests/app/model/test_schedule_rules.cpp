#include "ScheduleTest.h"
#include "model/ScheduleRules.h"
#include "schedule/ScheduleState.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zrn;

namespace {
using ScheduleRules = ScheduleTest;
} // namespace

TEST_F(ScheduleRules, ConflictIsAnySharedInstantWithAnotherActiveEntry) {
    ScheduleTable table{};
    table[0] = Entry(1, 'D', At(2026, 6, 1, 0, 0), At(2026, 6, 30, 0, 0));
    table[1] = Entry(2, 'A', At(2026, 6, 10, 10, 0), At(2026, 6, 10, 12, 0));
    table[2] = Entry(3, 'A', At(2026, 6, 20, 10, 0), At(2026, 6, 20, 12, 0));
    const std::int64_t clock = At(2026, 6, 1, 0, 0);
    struct Case {
        std::int64_t start, stop;
        int excluded, expected;
        const char* what;
    };
    const Case cases[] = {
        {At(2026, 6, 10, 12, 0), At(2026, 6, 10, 14, 0), -1, 1, "starts when the other stops"},
        {At(2026, 6, 10, 12, 0, 1), At(2026, 6, 10, 14, 0), -1, -1, "one second later"},
        {At(2026, 6, 10, 8, 0), At(2026, 6, 10, 10, 0), -1, 1, "stops when the other starts"},
        {At(2026, 6, 10, 8, 0), At(2026, 6, 10, 9, 59, 59), -1, -1, "just before"},
        {At(2026, 6, 10, 9, 0), At(2026, 6, 10, 13, 0), -1, 1, "encloses"},
        {At(2026, 6, 10, 10, 30), At(2026, 6, 10, 11, 0), -1, 1, "enclosed"},
        {At(2026, 6, 9, 0, 0), At(2026, 6, 21, 0, 0), -1, 1, "first conflict wins"},
        {At(2026, 6, 9, 0, 0), At(2026, 6, 21, 0, 0), 1, 2, "selected entry skipped"},
        {At(2026, 6, 10, 9, 0), At(2026, 6, 10, 13, 0), 1, -1, "selected entry never counts"},
        {At(2026, 6, 15, 0, 0), At(2026, 6, 16, 0, 0), -1, -1, "inactive entry ignored"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ValidateDateTimeStop(table, c.excluded, clock, c.start, c.stop, -1, LogSink()),
                  c.expected)
            << c.what;
    EXPECT_TRUE(log.empty());
}

TEST_F(ScheduleRules, StopMustFollowStartAndTheDeviceClock) {
    const ScheduleTable table{};
    const std::int64_t start = At(2026, 6, 10, 10, 0);
    EXPECT_GE(ValidateDateTimeStop(table, -1, 0, start, start, -1, LogSink()), 10);
    EXPECT_GE(ValidateDateTimeStop(table, -1, 0, start, start - 1, -1, LogSink()), 10);
    EXPECT_EQ(log, (std::vector<std::string>{"ValidateDateTimeStop/ Stop is before Start",
                                             "ValidateDateTimeStop/ Stop is before Start"}));
    log.clear();
    const std::int64_t stop = start + 3600;
    EXPECT_EQ(ValidateDateTimeStop(table, -1, stop, start, stop, -1, LogSink()), 12);
    EXPECT_EQ(ValidateDateTimeStop(table, -1, stop + 99, start, stop, -1, LogSink()), 12);
    EXPECT_EQ(ValidateDateTimeStop(table, -1, stop - 1, start, stop, -1, LogSink()), -1);
    // The start may lie before the device clock.
    EXPECT_EQ(ValidateDateTimeStop(table, -1, start + 60, start, stop, -1, LogSink()), -1);
    EXPECT_TRUE(log.empty());
}

TEST_F(ScheduleRules, DateTimeChecksReplaceAndTraceTheCorrectedValues) {
    int y = 2026, mo = 13, d = 15, h = 10, mi = 0, s = 0;
    EXPECT_TRUE(CheckDateTime(y, mo, d, h, mi, s, TraceSink()));
    EXPECT_EQ(mo, 1);
    ASSERT_EQ(trace.size(), 1u);
    EXPECT_EQ(trace[0], "CZRNcomDlg/CheckDateTime; Error 1/15/2026 10:0:0\n");

    struct Case {
        int y, mo, d, h, mi, s;
        bool corrected;
    };
    const Case cases[] = {
        {2037, 12, 31, 23, 59, 59, false}, {1, 1, 1, 0, 0, 0, false},
        {2038, 1, 1, 0, 0, 0, true},       {0, 1, 1, 0, 0, 0, true},
        {2026, 0, 1, 0, 0, 0, true},       {2026, 4, 31, 0, 0, 0, false},
        {2026, 1, 32, 0, 0, 0, true},      {2026, 1, 0, 0, 0, 0, true},
        {2026, 1, 1, 24, 0, 0, true},      {2026, 1, 1, -1, 0, 0, true},
        {2026, 1, 1, 0, 60, 0, true},      {2026, 1, 1, 0, 0, 60, true},
    };
    for (const Case& c : cases) {
        int cy = c.y, cmo = c.mo, cd = c.d, ch = c.h, cmi = c.mi, cs = c.s;
        EXPECT_EQ(CheckDateTime(cy, cmo, cd, ch, cmi, cs, nullptr), c.corrected) << c.y << c.mo;
    }
    y = 2038, mo = 2, d = 3, h = 4, mi = 5, s = 6;
    CheckDateTime(y, mo, d, h, mi, s, nullptr);
    EXPECT_EQ(y, 2005);
}

TEST_F(ScheduleRules, SpanChecksReplaceAndTrace) {
    int days = 25001, hours = 24, minutes = 59, seconds = 60;
    EXPECT_TRUE(CheckTimeSpan(days, hours, minutes, seconds, TraceSink()));
    EXPECT_EQ(trace, std::vector<std::string>{"CZRNcomDlg/CheckTimeSpan; Error 0 0:59:0\n"});
    days = 25000, hours = 23, minutes = 59, seconds = 59;
    EXPECT_FALSE(CheckTimeSpan(days, hours, minutes, seconds, TraceSink()));
    EXPECT_EQ(trace.size(), 1u);
}

TEST_F(ScheduleRules, InvalidStoredEntryIsLoggedAndEmptied) {
    ScheduleTable table{};
    table[0] = Entry(1, 'A', At(2026, 6, 10, 10, 0), At(2026, 6, 10, 12, 0));
    table[1] = table[0];
    table[0].nStartMonth = 13;
    table[1].nStopYear = 38; // 2038
    table[2] = Entry(3, 'A', At(2026, 6, 10, 10, 0), At(2026, 6, 10, 12, 0));
    table[2].nIntervalHours = 24;
    table[3] = Entry(4, 'D', At(2026, 4, 30, 10, 0), At(2026, 6, 10, 12, 0));
    table[3].nStartDay = 31; // 31 April passes the range check
    for (int i = 0; i < SCHEDULE_ENTRY_COUNT; ++i)
        ValidateTableEntry(table, i, -1, LogSink(), TraceSink());
    EXPECT_EQ(log, (std::vector<std::string>{"Schedule Entry 0 has invalid value",
                                             "Schedule Entry 1 has invalid value",
                                             "Schedule Entry 2 has invalid value"}));
    EXPECT_EQ(Statuses(table), "000D");
    // The stored fields stay as received; only the status changes.
    EXPECT_EQ(table[0].nStartMonth, 13);
}

TEST_F(ScheduleRules, ListChecksTimesSelectionAlsoDurations) {
    ScheduleEntry e = Entry(1, 'D', At(2026, 4, 30, 10, 0), At(2026, 7, 1, 8, 30));
    e.nStartDay = 31;
    e.nValveMinutes = 1, e.nValveSeconds = 30;
    e.nPumpMinutes = 60; // out of range for the selection only

    const CheckedEntry listed = CheckEntry(e, -1, TraceSink());
    EXPECT_EQ(listed.tStart, At(2026, 5, 1, 10, 0));
    EXPECT_EQ(listed.tStop, At(2026, 7, 1, 8, 30));
    EXPECT_EQ(listed.tsInterval, 900);
    EXPECT_EQ(listed.tsOpenValve, 90);
    EXPECT_EQ(listed.tsPumpOn, 3600);
    EXPECT_FALSE(listed.bCorrected);
    EXPECT_TRUE(trace.empty());

    const CheckedEntry selected = CheckEntry(e, -1, TraceSink(), EntryCheck::TimesAndDurations);
    EXPECT_EQ(selected.tsOpenValve, 90);
    EXPECT_EQ(selected.tsPumpOn, 0);
    EXPECT_TRUE(selected.bCorrected);
    EXPECT_EQ(trace, std::vector<std::string>{"CZRNcomDlg/CheckTimeSpan; Error 0 0:0:0\n"});
}

TEST_F(ScheduleRules, InitialTableStartsNowForSevenDays) {
    ScheduleState state;
    state.nRowEntry = {0, 1, 2, 3};
    const std::int64_t now = At(2026, 3, 25, 9, 30, 15); // the week crosses the spring change
    InitScheduleTable(state, now, LogSink(), TraceSink());
    EXPECT_EQ(state.bScheduleReady, 1);
    EXPECT_EQ(state.nRowEntry, (std::array<int, 4>{-1, -1, -1, -1}));
    for (int i = 0; i < SCHEDULE_ENTRY_COUNT; ++i) {
        const ScheduleEntry& e = state.table[static_cast<std::size_t>(i)];
        EXPECT_EQ(e.nNumber, i + 1);
        EXPECT_EQ(e.chStatus, '0');
        ExpectTimes(e, {2026, 3, 25, 9, 30, 15}, {2026, 4, 1, 10, 30, 15}, 900, 60, 60, 60);
    }
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(trace.empty());

    InitScheduleTable(state, At(2040, 1, 1, 0, 0), LogSink(), TraceSink());
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[3], "Schedule Entry 3 has invalid value");
}

TEST_F(ScheduleRules, SelectedEntryFollowsTheRowMap) {
    ScheduleState state;
    EXPECT_EQ(SelectedEntryIndex(state), -1);
    state.nRowEntry = {2, 3, -1, -1};
    state.nSelectedRow = 1;
    EXPECT_EQ(SelectedEntryIndex(state), 3);
    state.nSelectedRow = 2;
    EXPECT_EQ(SelectedEntryIndex(state), -1);
    state.nSelectedRow = 7;
    EXPECT_EQ(SelectedEntryIndex(state), -1);
}
