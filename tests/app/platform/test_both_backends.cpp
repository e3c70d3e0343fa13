// The main dialog driven through its event table with the platform layer's
// neutral calls only, so that the same tests run on the Qt backend (offscreen)
// and on the Win32 backend (under wine): replies, buttons, prompts answered
// through the message-box hook, and what goes to a recording link.
#include "LinkRecorder.h"
#include "PanelInput.h"
#include "PanelTestAccess.h"
#include "TestSupport.h"
#include "ZRNComDll.h"
#include "platform/Dialog.h"
#include "platform/PanelSupport.h"
#include "platform/Win.h"
#include "protocol/LinkApi.h"
#include "resources/Resource.h"
#include "shell/ZRNcomDlg.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

using namespace win;

namespace {

using Commands = LinkRecorder::Commands;

// A list cell as text on either backend.
template <class Text> std::string Str(const Text& text) {
    if constexpr (std::is_convertible_v<Text, std::string>)
        return text;
    else
        return text.toStdString();
}

class BothBackends : public ::testing::Test {
protected:
    void SetUp() override {
        // A scratch working directory: the dialog reads ./ZRNcom.ini.
        static std::atomic<int> serial{0};
        previousDir = std::filesystem::current_path();
        scratch = std::filesystem::temp_directory_path() /
                  ("zrn_both_" + std::to_string(serial++) + "_" +
                   std::to_string(reinterpret_cast<uintptr_t>(this)));
        std::filesystem::create_directories(scratch);
        std::filesystem::current_path(scratch);

        dialog = std::make_unique<CZRNcomDlg>("ZRNcom");
        ASSERT_TRUE(dialog->Create());
        dialog->KillTimer(TIMER_ONE_SEC); // only the test sends
        dialog->KillTimer(TIMER_POLLING);
        dialog->link.bLinkOpen = 1;
    }
    void TearDown() override {
        dialog.reset();
        std::filesystem::current_path(previousDir);
        std::error_code ignored;
        std::filesystem::remove_all(scratch, ignored);
    }

    // A reply as the link library's worker hands it over.
    void Reply(const char* text) {
        dialog->SendMessage(kWindow, WM_ZRN_LINK, LINK_REPLY, reinterpret_cast<intptr_t>(text));
    }
    // The replies of one entry as the device gives them.
    void Load(int n, char status, const char* startDate, const char* startTime,
              const char* stopDate, const char* stopTime, const char* interval = "01:00:00") {
        for (const std::string& reply :
             EntryReplies(n, status, startDate, startTime, stopDate, stopTime, interval))
            Reply(reply.c_str());
    }
    // Entry 1 active 1-8 June, entry 3 inactive 10-17 June; entries 2 and 4 empty.
    void LoadTwo() {
        for (const std::string& reply : TwoEntriesReplies())
            Reply(reply.c_str());
    }
    void Send(int id, int code, int row = -1) { SendNotify(*dialog, id, code, row); }
    void Press(int id) { Send(id, BN_CLICKED); }
    void Click(int row) { Send(IDC_LIST_CTRL, NM_CLICK, row); }
    Commands Take() { return LinkRecorder::TakeSent(); }
    ListView& List() { return *dialog->Item<ListView>(IDC_LIST_CTRL); }
    std::string Cell(int row, int column) { return Str(List().GetItemText(row, column)); }
    // Save, Discard, Properties, Activate, Deactivate, Update clock, Sync clock,
    // Refresh, Delete, Clear all, Add.
    std::string Buttons() {
        std::string s;
        for (int id : {1041, 1042, 1057, 1043, 1047, 1034, 1035, 1046, 1056, 1045, 1055})
            s += dialog->IsItemEnabled(id) ? '1' : '0';
        return s;
    }

    std::filesystem::path scratch;
    std::filesystem::path previousDir;
    LinkRecorder link;
    DebugCapture debug;
    std::unique_ptr<CZRNcomDlg> dialog;
};

TEST_F(BothBackends, ScheduleRepliesFillTheListInEntryOrder) {
    ASSERT_EQ(List().ColumnCount(), 6);
    EXPECT_EQ(Str(List().ColumnHeading(5)), "Interval");
    LoadTwo();
    ASSERT_EQ(List().GetItemCount(), 2);
    const Commands row0{"Active",     "06/01/2026",  "08:00:00 AM",
                        "06/08/2026", "08:00:00 AM", "01:00:00"};
    const Commands row1{"Inactive",   "06/10/2026",  "01:05:00 PM",
                        "06/17/2026", "01:05:00 PM", "00:15:00"};
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(Cell(0, c), row0[static_cast<size_t>(c)]);
        EXPECT_EQ(Cell(1, c), row1[static_cast<size_t>(c)]);
    }
    EXPECT_EQ(List().GetItemData(1), 2);
    EXPECT_EQ(List().ItemImage(0), 0);
    EXPECT_EQ(List().ItemImage(1), 1);
}

TEST_F(BothBackends, ButtonsFollowTheRuleAfterRepliesAndClicks) {
    EXPECT_EQ(Buttons(), "00100111001") << "after start-up";
    LoadTwo();
    Reply("C|05/20/26|10:07:30|");
    Click(0); // the active entry: Deactivate, not Activate
    EXPECT_EQ(List().SelectedRows(), std::vector<int>{0});
    EXPECT_EQ(Buttons(), "00101111111");
    Click(1); // the inactive one
    EXPECT_EQ(Buttons(), "00110111111");
}

TEST_F(BothBackends, AddThenSaveSendsTheEntryOnTheWireAndReadsItBack) {
    LoadTwo();
    Reply("C|05/20/26|10:07:30|");
    Take();
    Press(IDC_BUTTON_ADD);
    EXPECT_TRUE(Take().empty());
    ASSERT_EQ(List().GetItemCount(), 3);
    EXPECT_EQ(Cell(1, 1), "06/17/2026");
    EXPECT_EQ(Cell(1, 2), "01:15:00 PM");
    EXPECT_EQ(List().SelectedRows(), std::vector<int>{1});
    Press(IDC_BUTTON_SAVE);
    EXPECT_EQ(Take(), (Commands{"S2D", "S2BD|06/17/26|", "S2BT|13:15:00|", "S2ED|06/24/26|",
                                "S2ET|13:14:59|", "S2I|00:15:00|", "S2V|00:02:00|", "S2H|00:01:00|",
                                "S2P|00:01:00|", "S2D", "S2?", "S2BD", "S2BT", "S2ED", "S2ET",
                                "S2I", "S2V", "S2H", "S2P"}));
    EXPECT_EQ(PanelTestAccess::sched(dialog->panels.schedule).bEditPending, 0);
}

TEST_F(BothBackends, DeleteAsksAndNoKeepsTheEntry) {
    LoadTwo();
    Click(0);
    Take();
    {
        MessageBoxAnswer no(IDNO);
        Press(IDC_BUTTON_DELETE);
        ASSERT_EQ(no.asked.size(), 1u);
        EXPECT_EQ(no.asked[0].caption, "Verify Delete");
        EXPECT_TRUE(Take().empty());
        EXPECT_EQ(List().GetItemCount(), 2);
    }
    MessageBoxAnswer yes(IDYES);
    Press(IDC_BUTTON_DELETE);
    EXPECT_EQ(Take(), (Commands{"S10", "S1?"}));
    Reply("S10");
    EXPECT_EQ(List().GetItemCount(), 1);
    EXPECT_TRUE(List().SelectedRows().empty());
    EXPECT_FALSE(dialog->IsItemEnabled(IDC_BUTTON_ENABLE));
}

TEST_F(BothBackends, AKeyThatMovesTheHighlightChoosesThatRowForEveryAction) {
    LoadTwo();
    Reply("C|05/20/26|10:07:30|");
    Click(0);
    Send(IDC_LIST_CTRL, LVN_KEYSELECT, 1);
    EXPECT_EQ(PanelTestAccess::sched(dialog->panels.schedule).nSelectedRow, 1);
    EXPECT_EQ(List().SelectedRows(), std::vector<int>{1});
    EXPECT_TRUE(dialog->IsItemEnabled(IDC_BUTTON_ENABLE)) << "entry 3 is inactive";
    Take();
    MessageBoxAnswer yes(IDYES);
    Press(IDC_BUTTON_DELETE);
    EXPECT_EQ(Take(), (Commands{"S30", "S3?"})) << "the highlighted schedule, not the clicked one";
}

TEST_F(BothBackends, AKeyMoveAwayFromAnEditAsksFirstAndOkDropsTheEdit) {
    LoadTwo();
    Reply("C|05/20/26|10:07:30|");
    Click(1);
    ::Notify stop; // stop before start: the edit cannot be saved
    stop.id = IDC_STOP_DATE;
    stop.code = DTN_DATETIMECHANGE;
    stop.year = 2026, stop.month = 6, stop.day = 1;
    dialog->Deliver(stop);
    EXPECT_EQ(Cell(1, 3), "06/01/2026");
    MessageBoxAnswer ok(IDOK);
    Send(IDC_LIST_CTRL, LVN_KEYSELECT, 0);
    ASSERT_EQ(ok.asked.size(), 1u);
    EXPECT_EQ(ok.asked[0].flags, MB_OKCANCEL | MB_ICONQUESTION);
    // Discarded: the row shows what the device holds again.
    EXPECT_EQ(Cell(1, 3), "06/17/2026");
    EXPECT_EQ(PanelTestAccess::sched(dialog->panels.schedule).nSelectedRow, 0);
    EXPECT_EQ(PanelTestAccess::sched(dialog->panels.schedule).bEditPending, 0);
}

TEST_F(BothBackends, DatePickersHoldOnlyTheYearsTheDeviceStores) {
    for (int id : {IDC_START_DATE, IDC_STOP_DATE}) {
        for (const int year : {1999, 2038}) {
            SetPickerTime(*dialog, id, 1'000'000'000 + (year - 2001) * 31'556'952LL);
            const auto shown = GetPickerFields(*dialog, id);
            ASSERT_TRUE(shown);
            EXPECT_GE(shown->year, 2000);
            EXPECT_LE(shown->year, 2037);
        }
    }
}

TEST_F(BothBackends, ARefreshWithoutADeviceListsEveryScheduleAsNotRead) {
    LoadTwo();
    Click(1);
    dialog->link.bLinkOpen = 0;
    Take();
    Press(IDC_SCHEDULE_REFRESH);
    EXPECT_TRUE(Take().empty());
    ASSERT_EQ(List().GetItemCount(), 4);
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(Cell(row, 0), "Not read");
    EXPECT_EQ(PanelTestAccess::sched(dialog->panels.schedule).nSelectedRow, -1);
    EXPECT_FALSE(dialog->IsItemEnabled(IDC_BUTTON_ENABLE));
    EXPECT_FALSE(dialog->IsItemEnabled(IDC_BUTTON_SAVE));
}

TEST_F(BothBackends, AChangeTheDeviceDidNotTakeIsToldInABoxAndTheRowShowsTheDevice) {
    LoadTwo();
    Reply("C|05/20/26|10:07:30|");
    Click(1);
    Take();
    Press(IDC_BUTTON_ENABLE);
    EXPECT_EQ(Take(), (Commands{"S3A", "S3?"}));
    Reply("S3D"); // refused
    EXPECT_EQ(Cell(1, 0), "Inactive");
    MessageBoxAnswer ok(IDOK);
    dialog->SendMessage(kWindow, WM_TIMER, TIMER_REPORT); // the box comes a moment later
    ASSERT_EQ(ok.asked.size(), 1u);
    EXPECT_EQ(ok.asked[0].text,
              "Schedule 3 was not activated.\nThe list shows what the device holds.");
    EXPECT_EQ(ok.asked[0].flags, MB_OK | MB_ICONWARNING);
    dialog->SendMessage(kWindow, WM_TIMER, TIMER_REPORT);
    EXPECT_EQ(ok.asked.size(), 1u) << "told once";
}

TEST_F(BothBackends, SdiAddressIsSentWhenTheBoxLosesTheFocus) {
    Reply("A3");
    EXPECT_EQ(dialog->GetDlgItemText(IDC_SDI_ADDRESS), "3");
    EXPECT_TRUE(dialog->IsReadOnly(IDC_SDI_ADDRESS));
    Take();
    Send(IDC_SDI_ADDRESS, EN_SETFOCUS);
    EXPECT_FALSE(dialog->IsReadOnly(IDC_SDI_ADDRESS)) << "editable while focused";
    dialog->SetDlgItemText(IDC_SDI_ADDRESS, "5");
    EXPECT_TRUE(Take().empty()) << "nothing goes out while typing";
    Send(IDC_SDI_ADDRESS, EN_KILLFOCUS);
    EXPECT_EQ(Take(), (Commands{"A5", "A"}));
    EXPECT_TRUE(dialog->IsReadOnly(IDC_SDI_ADDRESS));
}

TEST_F(BothBackends, ClockChangeIsAskedAndCancelSendsNothing) {
    Reply("C|12/7/26|7:29:49|");
    Reply("C|12/7/26|7:29:50|");
    Take();
    ::Notify pick;
    pick.id = IDC_ZRN_DATE;
    pick.code = DTN_DATETIMECHANGE;
    pick.year = 2027, pick.month = 3, pick.day = 4;
    dialog->Deliver(pick);
    {
        MessageBoxAnswer cancel(IDCANCEL);
        Press(IDC_UPDATE_ZRN_CLOCK);
        ASSERT_EQ(cancel.asked.size(), 1u);
        EXPECT_EQ(cancel.asked[0].text, "Change ZRN Clock to 03/04/2027 07:29:50 AM ?");
        EXPECT_EQ(cancel.asked[0].caption, "ZRNcom");
        EXPECT_EQ(cancel.asked[0].flags, MB_OKCANCEL | MB_ICONQUESTION);
        EXPECT_TRUE(Take().empty());
    }
    MessageBoxAnswer ok(IDOK);
    Press(IDC_UPDATE_ZRN_CLOCK);
    EXPECT_EQ(Take(), (Commands{"S0D", "C|03/04/27|07:29:50|", "S0A"}));
    EXPECT_FALSE(dialog->IsItemShown(IDC_CANCEL_CLOCK_EDIT));
}

TEST_F(BothBackends, ContextMenuCommandsComeBackAsClicks) {
    LoadTwo();
    Take();
    PopupMenuAnswer deactivate(ID_ENTRY_DEACTIVATE);
    MessageBoxAnswer yes(IDYES);
    Send(IDC_LIST_CTRL, NM_RCLICK, 0);
    ASSERT_EQ(deactivate.asked.size(), 1u);
    EXPECT_EQ(deactivate.asked[0].defaultId, unsigned(ID_ENTRY_DEACTIVATE));
    EXPECT_EQ(Take(), (Commands{"S1D", "S1?"}));
    Reply("S1D");
    EXPECT_EQ(Cell(0, 0), "Inactive");
}

} // namespace
