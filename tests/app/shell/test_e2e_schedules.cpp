// The schedule panel through the real link library against zrnsim as a
// process: what reaches the device (zrnsim's trace), and what the device then
// holds (read back by the program).
#include "PanelInput.h"
#include "PanelTestAccess.h"
#include "PickerInput.h"
#include "SimDialogTest.h"
#include "TestSupport.h"
#include "ZRNComDll.h"
#include "platform/Win.h"
#include "resources/Resource.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace win;

namespace {

// Entry 1 active, entry 2 empty, entry 3 impossible (month 13), entry 4
// inactive; the device clock a fixed morning.
const std::string kState = MorningDevice(
    "raw_schedule3 = D 13/01/26 08:00:00 06/08/26 08:00:00 00:15:00 00:01:00 00:01:00 00:01:00");

class ScheduleEndToEnd : public SimDialogTest {
protected:
    void SetUp() override {
        SimDialogTest::SetUp();
        StartDevice(kState);
        ASSERT_FALSE(HasFatalFailure());
        StartDialog();
        // Found, read in full, every entry's replies in.
        ASSERT_TRUE(Wait([&] { return Received("S4P|"); }, 15000));
        ASSERT_TRUE(Wait(
            [&] { return PanelTestAccess::bFollowZrnClock(dialog->panels.clock) == 1; }, 5000));
        ASSERT_TRUE(Wait([&] { return AllRead(); }));
    }

    bool Received(const std::string& piece) {
        const auto lines = Trace();
        return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) {
            return l.find(piece) != std::string::npos;
        });
    }
    // The frames received from trace line `mark` on, each acknowledged.
    std::vector<std::string> CommandsFrom(size_t mark) {
        const auto lines = Trace();
        std::vector<std::string> out;
        for (size_t i = mark; i < lines.size(); ++i)
            if (lines[i].starts_with("> "))
                out.push_back(lines[i].substr(2));
        return out;
    }
    // Polling goes on meanwhile: only the schedule commands count.
    std::vector<std::string> ScheduleCommandsFrom(size_t mark) {
        std::vector<std::string> out;
        for (const std::string& c : CommandsFrom(mark))
            if (c.starts_with("S") && !c.starts_with("S5"))
                out.push_back(c);
        return out;
    }
    // The expected commands, one after the other, among those received since mark
    // (commands queued before mark may still be on their way).
    bool SentAll(size_t mark, const std::vector<std::string>& expected) {
        const auto sent = ScheduleCommandsFrom(mark);
        return std::search(sent.begin(), sent.end(), expected.begin(), expected.end()) !=
               sent.end();
    }
    void Send(int id, int code, int row = -1) { SendNotify(*dialog, id, code, row); }
    void Click(int row) { Send(IDC_LIST_CTRL, NM_CLICK, row); }
    void Press(int id) { Send(id, BN_CLICKED); }
    ListView* List() { return dialog->Item<ListView>(IDC_LIST_CTRL); }
    std::string Cell(int row, int column) { return List()->GetItemText(row, column).toStdString(); }
    // Pressed, and its question answered Yes.
    void PressAndConfirm(int id) {
        MessageBoxAnswer yes(IDYES);
        Press(id);
    }
    void EditStartHour(int hour) {
        SendPicker(*dialog, IDC_START_TIME, DTN_DATETIMECHANGE, {.hour = hour});
    }
    void Refresh() {
        Press(IDC_SCHEDULE_REFRESH);
        ASSERT_TRUE(Wait([&] { return AllRead(); }));
    }
};

} // namespace

TEST_F(ScheduleEndToEnd, DownloadSkipsTheGapAndEmptiesTheImpossibleEntry) {
    ASSERT_TRUE(Wait([&] { return List()->GetItemCount() == 2; }));
    EXPECT_EQ(Cell(0, 0), "Active");
    EXPECT_EQ(Cell(0, 1), "06/01/2026");
    EXPECT_EQ(Cell(1, 0), "Inactive");
    EXPECT_EQ(Cell(1, 5), "00:30:00");
    EXPECT_EQ(PanelTestAccess::sched(dialog->panels.schedule).nRowEntry,
              (std::array<int, 4>{0, 3, -1, -1}));
    EXPECT_NE(dialog->GetDlgItemText(IDC_LOG).find("Schedule Entry 2 has invalid value"),
              std::string::npos);
}

TEST_F(ScheduleEndToEnd, AddThenSavePutsTenCommandsOnTheWireAndTheDeviceKeepsThem) {
    Press(IDC_BUTTON_ADD);
    ASSERT_EQ(List()->GetItemCount(), 3);
    const size_t mark = Trace().size();
    Press(IDC_BUTTON_SAVE);
    // After the last listed stop (12 June 08:00), on the 15-minute grid, with the open
    // valve the panel shows (the preset's 2:00 without an INI file).
    const std::vector<std::string> expected{
        "S2D",           "S2BD|06/12/26|", "S2BT|08:15:00|", "S2ED|06/19/26|", "S2ET|08:14:59|",
        "S2I|00:15:00|", "S2V|00:02:00|",  "S2H|00:01:00|",  "S2P|00:01:00|",  "S2D"};
    ASSERT_TRUE(Wait([&] { return SentAll(mark, expected); }));
    // Then the device's own word on what it stored.
    ASSERT_TRUE(Wait([&] { return SentAll(mark, {"S2D", "S2?", "S2BD", "S2BT"}); }));
    ASSERT_TRUE(Wait([&] { return AllRead(); }));
    EXPECT_EQ(ScheduleCommandsFrom(mark).size(), 19u);
    EXPECT_TRUE(dialog->link.strReports.empty());
    Refresh();
    ASSERT_EQ(List()->GetItemCount(), 3);
    EXPECT_EQ(Cell(1, 0), "Inactive");
    EXPECT_EQ(Cell(1, 1), "06/12/2026");
    EXPECT_EQ(Cell(1, 2), "08:15:00 AM");
    EXPECT_EQ(Cell(1, 4), "08:14:59 AM");
}

TEST_F(ScheduleEndToEnd, ActivateWithoutAConflict) {
    Click(0);
    PressAndConfirm(IDC_BUTTON_DISABLE);
    ASSERT_TRUE(Wait([&] { return Cell(0, 0) == "Inactive"; }));
    Click(1);
    const size_t mark = Trace().size();
    Press(IDC_BUTTON_ENABLE);
    ASSERT_TRUE(Wait([&] { return SentAll(mark, {"S4A", "S4?"}); }));
    ASSERT_TRUE(Wait([&] { return Received("< S4A"); }));
    Refresh();
    EXPECT_EQ(Cell(1, 0), "Active");
}

TEST_F(ScheduleEndToEnd, ActivateWithAConflictMakesTheDeviceCopyInactive) {
    Click(1); // 5-12 June overlaps the active 1-8 June
    MessageBoxAnswer ok(IDOK);
    const size_t mark = Trace().size();
    Press(IDC_BUTTON_ENABLE);
    ASSERT_EQ(ok.asked.size(), 1u);
    EXPECT_EQ(ok.asked[0].text, "Entry has a conflict or is not valid.");
    ASSERT_TRUE(Wait([&] { return SentAll(mark, {"S4D", "S4?"}); }));
    ASSERT_TRUE(Wait([&] { return Received("< S4D"); }));
}

TEST_F(ScheduleEndToEnd, DeactivateDeleteAndTest) {
    Click(0);
    size_t mark = Trace().size();
    PressAndConfirm(IDC_BUTTON_DISABLE);
    ASSERT_TRUE(Wait([&] { return SentAll(mark, {"S1D", "S1?"}); }));
    ASSERT_TRUE(Wait([&] { return Cell(0, 0) == "Inactive"; }));

    mark = Trace().size();
    {
        PopupMenuAnswer test(ID_ENTRY_TEST_DISABLED);
        Send(IDC_LIST_CTRL, NM_RCLICK, 0);
    }
    ASSERT_TRUE(Wait([&] { return SentAll(mark, {"S1R"}); }));

    Click(0);
    mark = Trace().size();
    PressAndConfirm(IDC_BUTTON_DELETE);
    ASSERT_TRUE(Wait([&] { return SentAll(mark, {"S10", "S1?"}); }));
    ASSERT_TRUE(
        Wait([&] { return PanelTestAccess::sched(dialog->panels.schedule).nSelectedRow == -1; }));
    Refresh();
    ASSERT_EQ(List()->GetItemCount(), 1);
    EXPECT_EQ(PanelTestAccess::sched(dialog->panels.schedule).nRowEntry[0], 3);
}

TEST_F(ScheduleEndToEnd, ClearAllEmptiesTheDevice) {
    const size_t mark = Trace().size();
    PressAndConfirm(IDC_BUTTON_CLEAR_ALL);
    ASSERT_TRUE(Wait([&] { return SentAll(mark, {"S10", "S20", "S30", "S40"}); }));
    Refresh();
    EXPECT_EQ(List()->GetItemCount(), 0);
}

TEST_F(ScheduleEndToEnd, DiscardReadsTheDevicesCopyBack) {
    Click(1);
    EditStartHour(9);
    EXPECT_EQ(Cell(1, 2), "09:00:00 AM");
    Press(IDC_BUTTON_DISCARD);
    EXPECT_EQ(PanelTestAccess::sched(dialog->panels.schedule).bEditPending, 0);
    ASSERT_TRUE(Wait([&] { return List()->GetItemCount() == 2 && Cell(1, 2) == "08:00:00 AM"; }));
}

class LeaveEditedEntry : public ScheduleEndToEnd, public ::testing::WithParamInterface<int> {};

TEST_P(LeaveEditedEntry, EachAnswer) {
    // Entry 1 inactive first, so that the edited entry 4 has no conflict.
    Click(0);
    PressAndConfirm(IDC_BUTTON_DISABLE);
    Click(1);
    EditStartHour(9);
    const size_t mark = Trace().size();
    MessageBoxAnswer answer(GetParam());
    Click(0);
    ASSERT_EQ(answer.asked.size(), 1u);
    if (GetParam() == IDYES) {
        ASSERT_TRUE(Wait([&] {
            return SentAll(mark, {"S4D", "S4BD|06/05/26|", "S4BT|09:00:00|"});
        }));
        EXPECT_EQ(PanelTestAccess::sched(dialog->panels.schedule).nSelectedRow, 0);
        Refresh();
        EXPECT_EQ(Cell(1, 2), "09:00:00 AM");
    } else {
        // The whole table is read again; the device still holds 08:00.
        ASSERT_TRUE(Wait([&] { return SentAll(mark, {"S1?", "S1BD"}); }));
        EXPECT_EQ(PanelTestAccess::sched(dialog->panels.schedule).nSelectedRow, -1);
        ASSERT_TRUE(
            Wait([&] { return List()->GetItemCount() == 2 && Cell(1, 2) == "08:00:00 AM"; }));
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, LeaveEditedEntry, ::testing::Values(IDYES, IDNO, IDCANCEL));
