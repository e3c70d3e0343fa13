#include "ScheduleTest.h"
#include "platform/Win.h"
#include "schedule/ScheduleLogic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zrn;

namespace {

class SchedulePanelLogic : public ScheduleTest {
protected:
    // Listed entries have one-minute durations, as Add proposes them.
    static ScheduleEntry Entry(int number, char status, std::int64_t start, std::int64_t stop,
                               std::int64_t interval = 900) {
        return ScheduleTest::Entry(number, status, start, stop, interval, 60);
    }
};

} // namespace

TEST_F(SchedulePanelLogic, AddProposesTheNextStartOnThePresetsGrid) {
    const std::int64_t base = At(2026, 3, 10, 10, 7, 30);
    struct Case {
        int preset;
        LocalDateTime start;
        std::int64_t interval;
    };
    const Case cases[] = {
        {PRESET_15MIN, {2026, 3, 10, 10, 15, 0}, 900},
        {PRESET_30MIN, {2026, 3, 10, 10, 30, 0}, 1800},
        {PRESET_45MIN, {2026, 3, 10, 10, 15, 0}, 900}, // no button: the 15-minute grid
        {PRESET_1HOUR, {2026, 3, 10, 11, 0, 0}, 3600},
        {PRESET_24HOURS, {2026, 3, 11, 10, 0, 0}, 86399},
        {5 /* Custom */, {2026, 3, 10, 10, 15, 0}, 900},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.preset);
        const AddProposal p = ProposeAdd(base, c.preset);
        EXPECT_EQ(Local(p.tStart), c.start);
        EXPECT_EQ(p.tsInterval, c.interval);
        EXPECT_EQ(p.tStop - p.tStart, 604799);
    }
    // A week less a second: 10:15:00 ends at 10:14:59 seven days on.
    EXPECT_EQ(Local(ProposeAdd(base, PRESET_15MIN).tStop),
              (LocalDateTime{2026, 3, 17, 10, 14, 59}));
}

TEST_F(SchedulePanelLogic, AddOnTheGridStillMovesOnByAStep) {
    // 10:00:00 + 15 min is already on the grid; 10:00:59 + 15 min rounds down to 10:15.
    EXPECT_EQ(Local(ProposeAdd(At(2026, 3, 10, 10, 0, 0), PRESET_15MIN).tStart),
              (LocalDateTime{2026, 3, 10, 10, 15, 0}));
    EXPECT_EQ(Local(ProposeAdd(At(2026, 3, 10, 10, 0, 59), PRESET_15MIN).tStart),
              (LocalDateTime{2026, 3, 10, 10, 15, 0}));
    EXPECT_EQ(Local(ProposeAdd(At(2026, 3, 10, 23, 59, 59), PRESET_1HOUR).tStart),
              (LocalDateTime{2026, 3, 11, 0, 0, 0}));
}

TEST_F(SchedulePanelLogic, AddAcrossTheSpringChangeCountsRealSeconds) {
    // Clocks go from 02:00 to 03:00 on 29 March 2026 in Berlin.
    const std::int64_t base = At(2026, 3, 29, 1, 50, 0);
    EXPECT_EQ(Local(ProposeAdd(base, PRESET_15MIN).tStart),
              (LocalDateTime{2026, 3, 29, 3, 0, 0})); // 01:50 + 15 min is 03:05 summer time
    EXPECT_EQ(Local(ProposeAdd(base, PRESET_1HOUR).tStart), (LocalDateTime{2026, 3, 29, 3, 0, 0}));
    // A day of seconds from Saturday 10:07:30 winter time is Sunday 11:07:30 summer time.
    const AddProposal day = ProposeAdd(At(2026, 3, 28, 10, 7, 30), PRESET_24HOURS);
    EXPECT_EQ(Local(day.tStart), (LocalDateTime{2026, 3, 29, 11, 0, 0}));
    EXPECT_EQ(day.tStop - day.tStart, 604799);
}

TEST_F(SchedulePanelLogic, AddAcrossTheAutumnChangeStaysOnTheGrid) {
    // 02:00-03:00 happens twice on 25 October 2026; the first 02:40 is summer time.
    const std::int64_t summer = At(2026, 10, 25, 1, 40, 0) + 3600;
    const AddProposal p = ProposeAdd(summer, PRESET_30MIN);
    EXPECT_EQ(p.tStart, summer + 1200); // 02:40 summer + 30 min = 02:10 winter -> 02:00 winter
    EXPECT_EQ(Local(p.tStart).minute % 30, 0);
    EXPECT_EQ(Local(p.tStart).second, 0);
}

TEST_F(SchedulePanelLogic, AddBeginsAfterTheClockAndAfterEveryListedStop) {
    ScheduleTable table{};
    table[0] = Entry(1, 'A', At(2026, 6, 1, 8, 0), At(2026, 6, 1, 18, 10));
    table[1] = Entry(2, 'D', At(2026, 6, 1, 8, 0), At(2026, 6, 1, 12, 0));
    // Not listed (no row): its later stop does not count.
    table[2] = Entry(3, '0', At(2026, 6, 1, 8, 0), At(2026, 6, 9, 0, 0));
    const RowMap rows{0, 1, -1, -1};
    const std::int64_t clock = At(2026, 6, 1, 10, 7, 30);
    const std::int64_t base = AddBaseTime(table, rows, clock, -1);
    EXPECT_EQ(base, At(2026, 6, 1, 18, 10));
    EXPECT_EQ(Local(ProposeAdd(base, PRESET_30MIN).tStart), (LocalDateTime{2026, 6, 1, 18, 30, 0}));
    // A clock past every stop is the base itself.
    EXPECT_EQ(AddBaseTime(table, rows, At(2026, 6, 2, 0, 0), -1), At(2026, 6, 2, 0, 0));
}

TEST_F(SchedulePanelLogic, AddedEntryIsInactiveWithOneMinuteDurations) {
    ScheduleEntry e{};
    e.nNumber = 3;
    e.nValveMinutes = 9;
    const AddProposal p = ProposeAdd(At(2026, 6, 1, 10, 7, 30), PRESET_1HOUR);
    FillAddedEntry(e, p);
    EXPECT_EQ(e.nNumber, 3);
    EXPECT_EQ(e.chStatus, 'D');
    ExpectTimes(e, {2026, 6, 1, 11, 0, 0}, {2026, 6, 8, 10, 59, 59}, 3600, 60, 60, 60);
}

TEST_F(SchedulePanelLogic, AddTakesOnlyASlotReadAsEmpty) {
    ScheduleTable table{};
    for (auto& e : table)
        e.chStatus = 'D';
    table[2].chStatus = 'A';
    ReadStates states = ALL_READ;
    EXPECT_EQ(FirstFreeReadEntry(table, states), -1) << "full";
    table[3].chStatus = '0';
    EXPECT_EQ(FirstFreeReadEntry(table, states), 3);
    table[1].chStatus = 0; // a never-set byte is as free as '0'
    EXPECT_EQ(FirstFreeReadEntry(table, states), 1);
    // A slot not read may hold a schedule on the device.
    states[1] = ReadState::NotRead;
    states[3] = ReadState::Reading;
    EXPECT_EQ(FirstFreeReadEntry(table, states), -1);
}

TEST_F(SchedulePanelLogic, EntriesNotReadAreListedByWhatIsKnownOrNotAtAll) {
    ScheduleTable table{};
    for (int i = 0; i < 4; ++i)
        table[static_cast<size_t>(i)] =
            Entry(i + 1, 'A', At(2026, 3, 7, 13, 5), At(2026, 3, 14, 13, 5));
    const ReadStates states{ReadState::Unknown, ReadState::Reading, ReadState::Read,
                            ReadState::NotRead};
    const ListRows out = BuildListRows(table, -1, LogSink(), {}, states);
    ASSERT_EQ(out.rows.size(), 3u);
    EXPECT_EQ(out.rows[0].texts[0], READING_TEXT);
    EXPECT_EQ(out.rows[0].texts[1], "") << "no value that did not come from the device";
    EXPECT_EQ(out.rows[0].nImage, -1);
    EXPECT_EQ(out.rows[1].texts[0], "Active");
    EXPECT_EQ(out.rows[2].texts[0], NOT_READ_TEXT);
    EXPECT_EQ(out.nRowEntry, (RowMap{1, 2, 3, -1}));
    // The stop of an entry not read does not move Add's base.
    EXPECT_EQ(AddBaseTime(table, out.nRowEntry, At(2026, 3, 1, 0, 0), -1, states),
              At(2026, 3, 14, 13, 5));
}

TEST_F(SchedulePanelLogic, RowsFollowEntryOrderAndSkipEmptyOnes) {
    ScheduleTable table{};
    table[0] = Entry(1, 'A', At(2026, 3, 7, 13, 5), At(2026, 3, 14, 13, 5), 3600);
    table[1] = Entry(2, '0', At(2026, 3, 7, 13, 5), At(2026, 3, 14, 13, 5));
    table[2] = Entry(3, 'D', At(2026, 3, 7, 0, 0), At(2026, 3, 8, 23, 59, 59), 86399);
    table[3] = Entry(4, '0', At(2026, 3, 7, 13, 5), At(2026, 3, 14, 13, 5));
    const ListRows out = BuildListRows(table, -1, LogSink(), {});
    ASSERT_EQ(out.rows.size(), 2u);
    EXPECT_EQ(out.nRowEntry, (RowMap{0, 2, -1, -1}));
    EXPECT_EQ(out.rows[0].nEntry, 0);
    EXPECT_EQ(out.rows[0].nImage, IMAGE_ACTIVE);
    EXPECT_EQ(out.rows[0].texts,
              (std::array<std::string, 6>{"Active", "03/07/2026", "01:05:00 PM", "03/14/2026",
                                          "01:05:00 PM", "01:00:00"}));
    EXPECT_EQ(out.rows[1].nImage, IMAGE_INACTIVE);
    EXPECT_EQ(out.rows[1].texts,
              (std::array<std::string, 6>{"Inactive", "03/07/2026", "12:00:00 AM", "03/08/2026",
                                          "11:59:59 PM", "23:59:59"}));
    EXPECT_TRUE(log.empty());
}

TEST_F(SchedulePanelLogic, AnInvalidEntryIsLoggedEmptiedAndNotShown) {
    ScheduleTable table{};
    for (int i = 0; i < 4; ++i)
        table[static_cast<size_t>(i)] =
            Entry(i + 1, 'D', At(2026, 3, 7, 8, 0), At(2026, 3, 8, 8, 0));
    table[0].nStartMonth = 13;
    table[2].nStopYear = 38; // 2038 is past what the checks accept
    table[3].nIntervalMinutes = 60;
    table[1].nStartMonth = 4; // 31 April passes the checks and becomes 1 May
    table[1].nStartDay = 31;
    const ListRows out = BuildListRows(table, -1, LogSink(), {});
    EXPECT_EQ(out.nRowEntry, (RowMap{1, -1, -1, -1}));
    EXPECT_EQ(out.rows.at(0).texts[1], "05/01/2026");
    EXPECT_EQ(log, (std::vector<std::string>{"Schedule Entry 0 has invalid value",
                                             "Schedule Entry 2 has invalid value",
                                             "Schedule Entry 3 has invalid value"}));
    EXPECT_EQ(Statuses(table), "0D00");
}

TEST(ScheduleSelection, FollowsItsEntryAcrossARebuild) {
    struct Case {
        const char* what;
        int row, entryBefore;
        RowMap after;
        int rowAfter;
        bool gone;
    };
    const Case cases[] = {
        {"nothing selected", -1, -1, {0, 1, -1, -1}, -1, false},
        {"rows did not move", 1, 2, {0, 2, -1, -1}, 1, false},
        {"an entry above appeared", 0, 2, {0, 2, -1, -1}, 1, false},
        {"an entry above went", 1, 2, {2, -1, -1, -1}, 0, false},
        {"the entry went", 1, 2, {0, 3, -1, -1}, -1, true},
        {"the last entry went", 0, 0, {-1, -1, -1, -1}, -1, true},
        {"a row without entry keeps its number", 3, -1, {0, -1, -1, -1}, 3, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const SelectionAfterRebuild s = FollowSelection(c.row, c.entryBefore, c.after);
        EXPECT_EQ(s.nSelectedRow, c.rowAfter);
        EXPECT_EQ(s.bEntryGone, c.gone);
    }
}

TEST(ScheduleLeaveEntry, AsksOnlyWhenAnEditIsPendingOnASelectedRow) {
    EXPECT_EQ(LeaveEntryPrompt(0, 1, true), LeavePrompt::None);
    EXPECT_EQ(LeaveEntryPrompt(1, -1, true), LeavePrompt::None);
    EXPECT_EQ(LeaveEntryPrompt(1, 0, true), LeavePrompt::SaveChanges);
    EXPECT_EQ(LeaveEntryPrompt(1, 0, false), LeavePrompt::Invalid);

    const PromptBox save = LeaveEntryBox(LeavePrompt::SaveChanges);
    EXPECT_STREQ(save.text,
                 "Save changes?\nYes to save, No to discard, and Cancel to return to last entry.");
    EXPECT_EQ(save.flags, win::MB_YESNOCANCEL | win::MB_ICONQUESTION | win::MB_DEFBUTTON2);
    const PromptBox invalid = LeaveEntryBox(LeavePrompt::Invalid);
    EXPECT_STREQ(invalid.text, "Entry has a conflict or is not valid.\nOK to Discard, and Cancel "
                               "to return to last entry.");
    EXPECT_EQ(invalid.flags, win::MB_OKCANCEL | win::MB_ICONQUESTION);
}

TEST(ScheduleLeaveEntry, EachAnswerHasOneOutcome) {
    using win::IDCANCEL, win::IDNO, win::IDOK, win::IDYES;
    struct Case {
        LeavePrompt prompt;
        int answer;
        LeaveAction action;
    };
    const Case cases[] = {
        {LeavePrompt::None, 0, LeaveAction::Continue},
        {LeavePrompt::SaveChanges, IDYES, LeaveAction::SaveAndContinue},
        {LeavePrompt::SaveChanges, IDNO, LeaveAction::RefreshAndStop},
        {LeavePrompt::SaveChanges, IDCANCEL, LeaveAction::RefreshAndStop},
        {LeavePrompt::Invalid, IDOK, LeaveAction::Continue},
        {LeavePrompt::Invalid, IDCANCEL, LeaveAction::RefreshAndStop},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LeaveEntryAction(c.prompt, c.answer), c.action)
            << static_cast<int>(c.prompt) << " " << c.answer;
}

TEST_F(SchedulePanelLogic, AStoredEditUploadsAsTenCommandsEndingInactive) {
    ScheduleState state;
    state.edit.tStart = At(2006, 3, 3, 7, 5);
    state.edit.tStop = At(2006, 3, 10, 7, 4, 59);
    state.edit.tsInterval = 3600;
    state.edit.tsOpenValve = 90;       // 1:30
    state.edit.tsSampleHolding = 3900; // 65 minutes: the hour is dropped
    state.edit.tsPumpOn = 61;
    ScheduleEntry e = Entry(3, 'A', 0, 0);
    StoreEditIntoEntry(e, state);
    EXPECT_EQ(e.chStatus, 'D');
    EXPECT_EQ(
        ScheduleUploadSequence(e),
        (CommandList{"S3D", "S3BD|03/03/06|", "S3BT|07:05:00|", "S3ED|03/10/06|", "S3ET|07:04:59|",
                     "S3I|01:00:00|", "S3V|00:01:30|", "S3H|00:05:00|", "S3P|00:01:01|", "S3D"}));
}

TEST(ScheduleContextMenu, DependsOnTheRowsStatus) {
    EXPECT_EQ(ContextMenuFor(-1, 0), EntryMenu::Add);
    EXPECT_EQ(ContextMenuFor(0, 'D'), EntryMenu::Inactive);
    EXPECT_EQ(ContextMenuFor(1, 'A'), EntryMenu::Active);
    EXPECT_EQ(ContextMenuFor(2, '0'), EntryMenu::Add);
}
