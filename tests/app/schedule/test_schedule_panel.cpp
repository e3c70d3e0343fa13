// The schedule panel in the real dialog with a recording link: the list built
// from replies, context menus, each action's commands, the leave-entry prompt.
#include "PanelTestAccess.h"
#include "DialogFixture.h"
#include "EnvGuard.h"
#include "PanelInput.h"
#include "PickerInput.h"
#include "ZRNComDll.h"
#include "model/CalendarTime.h"
#include "model/PlanFile.h"
#include "model/PlanJson.h"
#include "schedule/ScheduleLogic.h"

#include <cstring>
#include <filesystem>
#include <fstream>

using namespace win;

namespace {

class SchedulePanelTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        Make();
        dialog->link.bLinkOpen = 1;
    }
    // The replies of one entry as the device gives them.
    void Load(int n, char status, const char* startDate, const char* startTime,
              const char* stopDate, const char* stopTime, const char* interval = "01:00:00") {
        for (const std::string& reply :
             EntryReplies(n, status, startDate, startTime, stopDate, stopTime, interval))
            Notify(LINK_REPLY, reply.c_str());
    }
    // Entry 1 active 1-8 June, entry 3 inactive 10-17 June; entries 2 and 4 empty.
    void LoadTwo() {
        for (const std::string& reply : TwoEntriesReplies())
            Notify(LINK_REPLY, reply.c_str());
    }
    void Clock(const char* reply = "C|05/20/26|10:07:30|") { Notify(LINK_REPLY, reply); }
    void Send(int id, int code, int row = -1) { SendNotify(*dialog, id, code, row); }
    void Click(int row) { Send(IDC_LIST_CTRL, NM_CLICK, row); }
    void Press(int id) { Send(id, BN_CLICKED); }
    std::vector<std::string> Sent() { return LinkRecorder::sent; }
    void ClearSent() { LinkRecorder::sent.clear(); }
    ListView* List() { return dialog->Item<ListView>(IDC_LIST_CTRL); }
    std::string Cell(int row, int column) { return List()->GetItemText(row, column).toStdString(); }
    std::vector<int> Selected() { return List()->SelectedRows(); }
    // A new start time on the selected entry, as the picker reports it.
    void EditStartTime(int hour, int minute) {
        SendPicker(*dialog, IDC_START_TIME, DTN_DATETIMECHANGE, {.hour = hour, .minute = minute});
    }
    void StartDate(int code, const PickerFields& shown = {}) {
        SendPicker(*dialog, IDC_START_DATE, code, shown);
    }
};

} // namespace

TEST_F(SchedulePanelTest, ListShowsTheNonEmptyEntriesInEntryOrder) {
    ListView* list = List();
    ASSERT_EQ(list->ColumnCount(), 6);
    const char* headings[] = {"Status",    "Start Date", "Start Time",
                              "Stop Date", "Stop Time",  "Interval"};
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(list->ColumnHeading(c).toStdString(), headings[c]);

    LoadTwo();
    ASSERT_EQ(list->GetItemCount(), 2);
    const std::vector<std::string> row0{"Active",     "06/01/2026",  "08:00:00 AM",
                                        "06/08/2026", "08:00:00 AM", "01:00:00"};
    const std::vector<std::string> row1{"Inactive",   "06/10/2026",  "01:05:00 PM",
                                        "06/17/2026", "01:05:00 PM", "00:15:00"};
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(Cell(0, c), row0[static_cast<size_t>(c)]);
        EXPECT_EQ(Cell(1, c), row1[static_cast<size_t>(c)]);
    }
    EXPECT_EQ(list->GetItemData(0), 0);
    EXPECT_EQ(list->GetItemData(1), 2);
    EXPECT_EQ(list->ItemImage(0), 0);
    EXPECT_EQ(list->ItemImage(1), 1);
    EXPECT_EQ(PanelTestAccess::sched(dialog->panels.schedule).nRowEntry,
              (zrn::RowMap{0, 2, -1, -1}));
}

TEST_F(SchedulePanelTest, AnInvalidReplyEmptiesItsEntryAtTheNextRebuild) {
    LoadTwo();
    Notify(LINK_REPLY, "S1BD|13/01/26|");
    EXPECT_EQ(List()->GetItemCount(), 1);
    EXPECT_NE(Text(IDC_LOG).find("Schedule Entry 0 has invalid value"), std::string::npos);
    EXPECT_EQ(PanelTestAccess::sched(dialog->panels.schedule).table[0].chStatus, '0');
}

TEST_F(SchedulePanelTest, StatusReplyZeroEmptiesScheduleOneToo) {
    LoadTwo();
    Notify(LINK_REPLY, "S10");
    EXPECT_EQ(List()->GetItemCount(), 1);
    EXPECT_EQ(Cell(0, 0), "Inactive");
    EXPECT_FALSE(debug.Contains("not available yet"));
}

TEST_F(SchedulePanelTest, ContextMenuDependsOnTheRowsStatus) {
    LoadTwo();
    PopupMenuAnswer menus(0);
    Send(IDC_LIST_CTRL, NM_RCLICK, 0);
    Send(IDC_LIST_CTRL, NM_RCLICK, 1);
    Send(IDC_LIST_CTRL, NM_RCLICK, -1);
    ASSERT_EQ(menus.asked.size(), 3u);
    EXPECT_EQ(menus.asked[0].defaultId, unsigned(ID_ENTRY_DEACTIVATE));
    EXPECT_EQ(menus.asked[0].items.size(), 7u);
    EXPECT_EQ(menus.asked[1].defaultId, unsigned(ID_ENTRY_ACTIVATE));
    EXPECT_EQ(menus.asked[1].items[4].id, unsigned(ID_ENTRY_TEST_DISABLED));
    EXPECT_EQ(menus.asked[2].defaultId, unsigned(ID_ENTRY_ADD));
    EXPECT_EQ(menus.asked[2].items.size(), 1u);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(SchedulePanelTest, TestFromTheMenuSendsTheEntrysNumber) {
    LoadTwo();
    PopupMenuAnswer menus(ID_ENTRY_TEST_DISABLED);
    Send(IDC_LIST_CTRL, NM_RCLICK, 1);
    EXPECT_EQ(Sent(), (std::vector<std::string>{"S3R"}));
}

TEST_F(SchedulePanelTest, RefreshEmptiesTheTableAndReadsAllFour) {
    LoadTwo();
    Click(1);
    Press(IDC_SCHEDULE_REFRESH);
    const std::vector<std::string> sent = Sent();
    ASSERT_EQ(sent.size(), 36u);
    EXPECT_EQ(sent[0], "S1?");
    EXPECT_EQ(sent[9], "S2?");
    EXPECT_EQ(sent[35], "S4P");
    EXPECT_EQ(PanelTestAccess::sched(dialog->panels.schedule).nSelectedRow, -1);
    // Until every reply of an entry is in, its row says so instead of showing values.
    ASSERT_EQ(List()->GetItemCount(), 4);
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(Cell(row, 0), "Reading...");
    ClearSent();
    // The hidden "Schedule" button reads without emptying.
    LoadTwo();
    Press(IDC_BUTTON_SCHEDULE);
    EXPECT_EQ(Sent().size(), 36u);
    EXPECT_EQ(PanelTestAccess::sched(dialog->panels.schedule).table[0].chStatus, 'A');
}

TEST_F(SchedulePanelTest, AddThenSaveUploadsTenCommandsAndReadsTheEntryBack) {
    LoadTwo();
    Clock();
    Press(IDC_BUTTON_ADD);
    EXPECT_TRUE(Sent().empty());
    ASSERT_EQ(List()->GetItemCount(), 3);
    // After the stop of entry 3 (17 June 13:05), on the 15-minute grid.
    EXPECT_EQ(Cell(1, 0), "Inactive");
    EXPECT_EQ(Cell(1, 1), "06/17/2026");
    EXPECT_EQ(Cell(1, 2), "01:15:00 PM");
    EXPECT_EQ(Cell(1, 4), "01:14:59 PM");
    EXPECT_EQ(PanelTestAccess::sched(dialog->panels.schedule).nSelectedRow, 1);
    EXPECT_EQ(PanelTestAccess::sched(dialog->panels.schedule).bEditPending, 1);
    EXPECT_EQ(Selected(), std::vector<int>{1});

    // Save stores what the panel shows: the preset's open valve of 2:00 (no INI file).
    Press(IDC_BUTTON_SAVE);
    EXPECT_EQ(Sent(),
              (std::vector<std::string>{"S2D", "S2BD|06/17/26|", "S2BT|13:15:00|", "S2ED|06/24/26|",
                                        "S2ET|13:14:59|", "S2I|00:15:00|", "S2V|00:02:00|",
                                        "S2H|00:01:00|", "S2P|00:01:00|", "S2D", "S2?", "S2BD",
                                        "S2BT", "S2ED", "S2ET", "S2I", "S2V", "S2H", "S2P"}));
    EXPECT_EQ(PanelTestAccess::sched(dialog->panels.schedule).bEditPending, 0);
    EXPECT_EQ(Cell(1, 0), "Reading...");
    MessageBoxAnswer ok(IDOK);
    for (const char* reply :
         {"S2D", "S2BD|06/17/26|", "S2BT|13:15:00|", "S2ED|06/24/26|", "S2ET|13:14:59|",
          "S2I|00:15:00|", "S2V|00:02:00|", "S2H|00:01:00|", "S2P|00:01:00|"})
        Notify(LINK_REPLY, reply);
    EXPECT_EQ(Cell(1, 0), "Inactive");
    EXPECT_EQ(Cell(1, 2), "01:15:00 PM");
    EXPECT_EQ(PanelTestAccess::sched(dialog->panels.schedule).nSelectedRow, 1);
    EXPECT_TRUE(dialog->link.strReports.empty()) << "the device holds what was saved";
}

TEST_F(SchedulePanelTest, SaveOfValuesTheListCannotShowSendsNothing) {
    LoadTwo();
    Clock();
    Press(IDC_BUTTON_ADD);
    ASSERT_EQ(List()->GetItemCount(), 3);
    // A start before 2000, which the entry's year byte cannot hold.
    PanelTestAccess::sched(dialog->panels.schedule).edit.tStart = 0;
    Press(IDC_BUTTON_SAVE);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(List()->GetItemCount(), 2);
    EXPECT_EQ(PanelTestAccess::sched(dialog->panels.schedule).bEditPending, 0);
}

TEST_F(SchedulePanelTest, AddWithoutTheClockSaysWhyInOneLine) {
    LoadTwo();
    Press(IDC_BUTTON_ADD);
    EXPECT_EQ(List()->GetItemCount(), 2);
    EXPECT_NE(Text(IDC_LOG).find("Add: waiting for the ZRN clock"), std::string::npos);
}

TEST_F(SchedulePanelTest, AddToAFullTableRefuses) {
    LoadTwo();
    Load(2, 'D', "07/01/26", "08:00:00", "07/08/26", "08:00:00");
    Load(4, 'D', "08/01/26", "08:00:00", "08/08/26", "08:00:00");
    Clock();
    MessageBoxAnswer ok(IDOK);
    const auto before = PanelTestAccess::sched(dialog->panels.schedule).table;
    Press(IDC_BUTTON_ADD);
    ASSERT_EQ(ok.asked.size(), 1u);
    EXPECT_EQ(ok.asked[0].text, "Add Error, Schedule is full.");
    EXPECT_EQ(ok.asked[0].flags, MB_OK | MB_ICONERROR);
    EXPECT_EQ(
        std::memcmp(&before, &PanelTestAccess::sched(dialog->panels.schedule).table, sizeof before),
        0);
}

// Near either end of what the device holds, Add and every preset, in either
// order, refuse with the range box or propose a start and a stop both inside it.
TEST_F(SchedulePanelTest, AddAndThePresetsNearTheEndsOfTheRangeStayWithinIt) {
    const char* clocks[] = {"C|12/24/37|10:07:30|", "C|12/30/37|23:50:00|", "C|12/31/37|00:00:00|",
                            "C|12/31/37|12:00:00|", "C|12/31/37|23:59:59|", "C|01/01/00|00:00:00|",
                            "C|01/01/00|00:00:01|", "C|01/01/00|23:59:59|"};
    const int radios[] = {IDC_RADIO_15MIN, IDC_RADIO_30MIN, IDC_RADIO_1HOUR, IDC_RADIO_24HOURS,
                          IDC_RADIO_CUSTOM};
    const auto inRange = [](int64_t t) {
        const auto local = zrn::BreakLocalTime(t);
        return local && local->year >= 2000 && local->year <= 2037;
    };
    for (const char* clock : clocks)
        for (int radio : radios)
            for (bool presetFirst : {true, false}) {
                const std::string where = std::string(clock) + " radio " + std::to_string(radio) +
                                          (presetFirst ? " before Add" : " after Add");
                Make();
                dialog->link.bLinkOpen = 1;
                for (const char* empty : {"S10", "S20", "S30", "S40"})
                    Notify(LINK_REPLY, empty);
                Clock(clock);
                MessageBoxAnswer ok(IDOK);
                if (presetFirst)
                    Press(radio);
                Press(IDC_BUTTON_ADD);
                const zrn::ScheduleState& s = PanelTestAccess::sched(dialog->panels.schedule);
                if (!ok.asked.empty()) {
                    EXPECT_EQ(ok.asked[0].text,
                              "Add Error, the ZRN holds dates from 01/01/2000 to 12/31/2037 only.")
                        << where;
                    EXPECT_EQ(List()->GetItemCount(), 0) << where;
                    continue;
                }
                if (!presetFirst)
                    Press(radio);
                EXPECT_TRUE(ok.asked.empty()) << where;
                ASSERT_EQ(List()->GetItemCount(), 1) << where;
                EXPECT_TRUE(inRange(s.edit.tStart) && inRange(s.edit.tStop))
                    << where << ": " << s.edit.tStart << " to " << s.edit.tStop;
                EXPECT_LT(s.edit.tStart, s.edit.tStop) << where;
                // What Save would send is what the pickers show.
                const zrn::ScheduleEntry& e = s.table[0];
                EXPECT_LE(e.nStartYear, 37) << where;
                EXPECT_LE(e.nStopYear, 37) << where;
            }
}

TEST_F(SchedulePanelTest, ActivateSendsTheStatusThenAsks) {
    LoadTwo();
    Clock();
    Click(1);
    Press(IDC_BUTTON_ENABLE);
    EXPECT_EQ(Sent(), (std::vector<std::string>{"S3A", "S3?"}));
    EXPECT_EQ(Cell(1, 0), "Reading...");
    Notify(LINK_REPLY, "S3A");
    EXPECT_EQ(Cell(1, 0), "Active");
    EXPECT_FALSE(dialog->IsItemEnabled(IDC_START_DATE));
}

// The first change of a connection saves what the device held, as a plan file
// that reads back to it; every change leaves a journal line saying whether the
// device's read-back showed it.
TEST_F(SchedulePanelTest, TheFirstChangeIsBackedUpAndEveryChangeJournaled) {
    const std::filesystem::path state = scratch.filePath("state").toStdString();
    const EnvGuard stateHome("XDG_STATE_HOME", state.c_str());
    LoadTwo();
    Clock();
    const zrn::DeviceSchedules held = dialog->panels.schedule.OnDevice();

    Click(1);
    Press(IDC_BUTTON_ENABLE); // taken: the device answers active
    Notify(LINK_REPLY, "S3A");
    Click(0);
    MessageBoxAnswer yes(IDYES);
    Press(IDC_BUTTON_DISABLE); // not taken: the device stays active
    Notify(LINK_REPLY, "S1A");
    ASSERT_FALSE(dialog->link.strReports.empty()) << "the operator will be told";

    std::vector<std::filesystem::path> backups;
    for (const auto& file : std::filesystem::directory_iterator(state / "ZRNcom" / "backups"))
        backups.push_back(file.path());
    ASSERT_EQ(backups.size(), 1u) << "one backup for the connection";
    const auto backup = zrn::ReadPlanFile(backups[0]);
    ASSERT_TRUE(std::holds_alternative<zrn::Plan>(backup));
    const zrn::Plan& plan = std::get<zrn::Plan>(backup);
    ASSERT_EQ(plan.schedules.size(), 4u);
    for (const zrn::PlannedSchedule& planned : plan.schedules)
        EXPECT_EQ(planned.entry, held.Entry(planned.entry.nNumber - 1)) << planned.entry.nNumber;

    std::ifstream journal(state / "ZRNcom" / "changes.jsonl");
    std::vector<zrn::Json> lines;
    for (std::string line; std::getline(journal, line);)
        lines.push_back(zrn::Json::parse(line));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0]["program"], "ZRNcom");
    EXPECT_EQ(lines[0]["what"], "schedule 3");
    EXPECT_EQ(lines[0]["before"]["status"], "inactive");
    EXPECT_EQ(lines[0]["after"]["status"], "active");
    EXPECT_EQ(lines[0]["result"], "verified");
    EXPECT_EQ(lines[1]["what"], "schedule 1");
    EXPECT_EQ(lines[1]["after"]["status"], "inactive");
    EXPECT_EQ(lines[1]["result"], "unknown");
}

TEST_F(SchedulePanelTest, ActivateWithAConflictLeavesTheDeviceInactive) {
    Load(1, 'A', "06/01/26", "08:00:00", "06/08/26", "08:00:00");
    Load(3, 'D', "06/05/26", "08:00:00", "06/12/26", "08:00:00");
    Clock();
    Click(1);
    MessageBoxAnswer ok(IDOK);
    Press(ID_ENTRY_ACTIVATE);
    ASSERT_EQ(ok.asked.size(), 1u);
    EXPECT_EQ(ok.asked[0].text, "Entry has a conflict or is not valid.");
    EXPECT_EQ(Sent(), (std::vector<std::string>{"S3D", "S3?"}));
    Notify(LINK_REPLY, "S3D");
    EXPECT_EQ(Cell(1, 0), "Inactive");
}

TEST_F(SchedulePanelTest, DeactivateAsksFirst) {
    LoadTwo();
    Click(0);
    {
        MessageBoxAnswer no(IDNO);
        Press(IDC_BUTTON_DISABLE);
        ASSERT_EQ(no.asked.size(), 1u);
        EXPECT_EQ(no.asked[0].caption, "Verify Deactivate");
        EXPECT_TRUE(Sent().empty());
    }
    MessageBoxAnswer yes(IDYES);
    Press(ID_ENTRY_DEACTIVATE);
    EXPECT_EQ(Sent(), (std::vector<std::string>{"S1D", "S1?"}));
    Notify(LINK_REPLY, "S1D");
    EXPECT_EQ(Cell(0, 0), "Inactive");
}

TEST_F(SchedulePanelTest, DoubleClickTogglesTheStatus) {
    LoadTwo();
    Clock();
    Click(0);
    Send(IDC_LIST_CTRL, NM_DBLCLK, 0);
    EXPECT_EQ(Sent(), (std::vector<std::string>{"S1D", "S1?"}));
    Notify(LINK_REPLY, "S1D");
    ClearSent();
    Click(0);
    Send(IDC_LIST_CTRL, NM_DBLCLK, 0);
    EXPECT_EQ(Sent(), (std::vector<std::string>{"S1A", "S1?"}));
}

TEST_F(SchedulePanelTest, DeleteTakesTheSelectionWithIt) {
    LoadTwo();
    Click(0);
    MessageBoxAnswer yes(IDYES);
    Press(IDC_BUTTON_DELETE);
    EXPECT_EQ(yes.asked.at(0).caption, "Verify Delete");
    EXPECT_EQ(Sent(), (std::vector<std::string>{"S10", "S1?"}));
    EXPECT_EQ(Cell(0, 0), "Reading...");
    Notify(LINK_REPLY, "S10");
    EXPECT_EQ(List()->GetItemCount(), 1);
    // Row 0 now shows entry 3: it must not look selected while nothing is.
    EXPECT_EQ(PanelTestAccess::sched(dialog->panels.schedule).nSelectedRow, -1);
    EXPECT_TRUE(Selected().empty());
    EXPECT_FALSE(dialog->IsItemEnabled(IDC_START_DATE));
    EXPECT_FALSE(dialog->IsItemEnabled(IDC_BUTTON_ENABLE));
}

TEST_F(SchedulePanelTest, ClearAllDeletesEveryNumber) {
    LoadTwo();
    Click(1);
    MessageBoxAnswer yes(IDYES);
    Press(IDC_BUTTON_CLEAR_ALL);
    EXPECT_EQ(Sent(),
              (std::vector<std::string>{"S10", "S20", "S30", "S40", "S1?", "S2?", "S3?", "S4?"}));
    for (const char* reply : {"S10", "S20", "S30", "S40"})
        Notify(LINK_REPLY, reply);
    EXPECT_EQ(List()->GetItemCount(), 0);
    EXPECT_EQ(PanelTestAccess::sched(dialog->panels.schedule).nSelectedRow, -1);
}

TEST_F(SchedulePanelTest, SelectionFollowsItsEntryWhenRowsMove) {
    LoadTwo();
    Click(1); // entry 3
    Notify(LINK_REPLY, "S10");
    EXPECT_EQ(PanelTestAccess::sched(dialog->panels.schedule).nSelectedRow, 0);
    EXPECT_EQ(Selected(), std::vector<int>{0});
    Load(1, 'D', "06/01/26", "08:00:00", "06/08/26", "08:00:00");
    EXPECT_EQ(PanelTestAccess::sched(dialog->panels.schedule).nSelectedRow, 1);
    Notify(LINK_REPLY, "S30");
    EXPECT_EQ(PanelTestAccess::sched(dialog->panels.schedule).nSelectedRow, -1);
    EXPECT_TRUE(Selected().empty());
    EXPECT_FALSE(dialog->IsItemEnabled(IDC_START_DATE));
}

TEST_F(SchedulePanelTest, StartTimeEditIsStoredAndAskedAboutOnLeaving) {
    struct Case {
        int answer;
        size_t sent; // commands after the click
        int rowAfter;
    };
    const Case cases[] = {{IDYES, 19, 0}, {IDNO, 36, -1}, {IDCANCEL, 36, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        LoadTwo();
        Clock();
        Click(1);
        EditStartTime(14, 30);
        EXPECT_EQ(PanelTestAccess::sched(dialog->panels.schedule).bEditPending, 1);
        EXPECT_EQ(Cell(1, 2), "02:30:00 PM");
        ClearSent();
        MessageBoxAnswer answer(c.answer);
        Click(0);
        ASSERT_EQ(answer.asked.size(), 1u);
        EXPECT_EQ(answer.asked[0].flags, MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2);
        EXPECT_EQ(Sent().size(), c.sent);
        if (c.answer == IDYES) {
            EXPECT_EQ(Sent()[2], "S3BT|14:30:00|");
        }
        EXPECT_EQ(PanelTestAccess::sched(dialog->panels.schedule).nSelectedRow, c.rowAfter);
        ClearSent();
    }
}

TEST_F(SchedulePanelTest, InvalidEditOffersDiscard) {
    LoadTwo();
    Clock();
    Click(1);
    StartDate(DTN_DATETIMECHANGE, {.year = 2026, .month = 7, .day = 1}); // after the stop
    ClearSent();
    MessageBoxAnswer ok(IDOK);
    Click(0);
    ASSERT_EQ(ok.asked.size(), 1u);
    EXPECT_EQ(ok.asked[0].flags, MB_OKCANCEL | MB_ICONQUESTION);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(PanelTestAccess::sched(dialog->panels.schedule).nSelectedRow, 0);
    EXPECT_EQ(PanelTestAccess::sched(dialog->panels.schedule).bEditPending, 0);
}

TEST_F(SchedulePanelTest, DateBrowsingCommitsOnlyAtTheCloseUp) {
    LoadTwo();
    Clock();
    Click(1);
    StartDate(DTN_DROPDOWN);
    for (int month : {7, 8, 9})
        StartDate(DTN_DATETIMECHANGE, {.year = 2026, .month = month, .day = 1});
    EXPECT_EQ(PanelTestAccess::sched(dialog->panels.schedule).bEditPending, 0);
    EXPECT_NE(Text(IDC_LOG).find("OnChange/Start Date: 9/1/2026; DROPDOWN active"),
              std::string::npos);
    StartDate(DTN_CLOSEUP); // the picker's own date is what counts
    EXPECT_EQ(PanelTestAccess::sched(dialog->panels.schedule).bEditPending, 1);
    EXPECT_NE(Text(IDC_LOG).find("DateTimePicker/StartDate/CloseUp: 06/10/2026 01:05:00 PM"),
              std::string::npos);
}

TEST_F(SchedulePanelTest, ClickLoadsTheEntryIntoThePanel) {
    LoadTwo();
    Click(1);
    const zrn::SelectedEntryView& view = PanelTestAccess::sched(dialog->panels.schedule).selected;
    EXPECT_EQ(view.bActive, 0);
    EXPECT_EQ(view.tsInterval, 900);
    EXPECT_EQ(view.tsOpenValve, 90);
    EXPECT_EQ(PanelTestAccess::sched(dialog->panels.schedule).edit.tStart, view.tStart);
    EXPECT_EQ(view.tStop - view.tStart, 7 * 86400);
    EXPECT_NEAR(PanelTestAccess::odtInterval(dialog->panels.schedule) * 86400, 900, 0.5);
    EXPECT_NEAR(PanelTestAccess::odtOpenValve(dialog->panels.schedule) * 86400, 90, 0.5);
    EXPECT_TRUE(dialog->IsItemEnabled(IDC_START_DATE));
    EXPECT_FALSE(dialog->IsItemEnabled(IDC_INTERVAL));
    EXPECT_NE(Text(IDC_LOG).find("OnClickListCtrl;  Entry 1, Cursor x:"), std::string::npos);

    Click(0); // active: its times cannot be edited
    EXPECT_EQ(PanelTestAccess::sched(dialog->panels.schedule).selected.bActive, 1);
    EXPECT_FALSE(dialog->IsItemEnabled(IDC_START_DATE));
    EXPECT_TRUE(dialog->IsItemEnabled(IDC_BUTTON_DISABLE));

    Click(-1); // the empty area below the rows
    EXPECT_EQ(PanelTestAccess::sched(dialog->panels.schedule).nSelectedRow, -1);
    EXPECT_FALSE(dialog->IsItemEnabled(IDC_START_DATE));
    EXPECT_FALSE(dialog->IsItemEnabled(IDC_BUTTON_DISABLE));
}

TEST_F(SchedulePanelTest, RepliesToAnEarlierReadDoNotCompleteALaterOne) {
    // Schedule 2 is being read when a change to it is read back: the first
    // read's answers tell of the slot before the change and must not count.
    SchedulePanel& schedule = dialog->panels.schedule;
    schedule.QueryScheduleEntry(1);
    schedule.ReadBack(1, zrn::ALL_PARTS, {});
    Load(2, '0', "01/01/26", "00:00:00", "01/02/26", "00:00:00");
    EXPECT_EQ(schedule.OnDevice().State(1), zrn::ReadState::Reading);
    Load(2, 'D', "06/10/26", "13:05:00", "06/17/26", "13:05:00", "00:15:00");
    ASSERT_EQ(schedule.OnDevice().State(1), zrn::ReadState::Read);
    EXPECT_EQ(schedule.OnDevice().Entry(1).chStatus, zrn::STATUS_INACTIVE);
    EXPECT_EQ(Cell(0, 0), "Inactive");
}
