// SetZrnButtonProperly, row by row.
#include "PanelTestAccess.h"
#include "DialogFixture.h"

#include "model/CalendarTime.h"

#include <ctime>

using namespace win;

namespace {

class ButtonRuleTest : public DialogTest {
protected:
    // C rows in the list, row r showing entry rowEntry[r]; the entry statuses as given.
    void Table(int rows, std::array<int, 4> rowEntry, const char* statuses) {
        CZRNcomDlg& dlg = *dialog;
        ListView* list = dlg.Item<ListView>(IDC_LIST_CTRL);
        list->DeleteAllItems();
        for (int r = 0; r < rows; ++r)
            list->InsertItem(r, "row", 1);
        PanelTestAccess::sched(dlg.panels.schedule).nRowEntry = rowEntry;
        for (int i = 0; i < 4; ++i) {
            zrn::ScheduleEntry& e = PanelTestAccess::sched(dlg.panels.schedule).table[i];
            e.chStatus = static_cast<uint8_t>(statuses[i]);
            // Every entry runs for one hour, a day from now plus i days.
            zrn::SetEntryStart(e, now + 86400 * (i + 1));
            zrn::SetEntryStop(e, now + 86400 * (i + 1) + 3600);
        }
    }
    void Edit(int pending, int selectedRow, int64_t start, int64_t stop) {
        PanelTestAccess::sched(dialog->panels.schedule).bEditPending = pending;
        PanelTestAccess::sched(dialog->panels.schedule).nSelectedRow = selectedRow;
        PanelTestAccess::sched(dialog->panels.schedule).edit.tStart = start;
        PanelTestAccess::sched(dialog->panels.schedule).edit.tStop = stop;
    }
    std::string States() {
        // 1041 1042 1057 1043 1047 1034 1035 1046 1056 1045 1055
        std::string s;
        for (int id : {1041, 1042, 1057, 1043, 1047, 1034, 1035, 1046, 1056, 1045, 1055})
            s += dialog->IsItemEnabled(id) ? '1' : '0';
        return s;
    }
    const int64_t now = std::time(nullptr);
    // A valid pair that meets no entry of Table(): ten days ahead.
    int64_t freeStart() const { return now + 86400 * 10; }
};

} // namespace

TEST_F(ButtonRuleTest, PendingEditAllowsSaveAndDiscardOnlyForAValidSelectedPair) {
    CZRNcomDlg& dlg = Make();
    struct Case {
        const char* name;
        int rows, selected;
        int64_t start, stop;
        bool refreshEnabledBefore;
        const char* states;
    } cases[] = {
        //                                                             save disc prop act deact upd
        //                                                             sync refr del clr add
        {"valid", 2, 0, freeStart(), freeStart() + 60, true, "11000001110"},
        {"refresh left as it was", 2, 0, freeStart(), freeStart() + 60, false, "11000000110"},
        {"stop not after start", 2, 0, freeStart(), freeStart(), true, "00000001110"},
        {"stop before the device clock", 2, 0, -7200, -3600, true, "00000001110"},
        {"no row selected", 2, -1, freeStart(), freeStart() + 60, true, "00000001110"},
        {"no rows", 0, 0, freeStart(), freeStart() + 60, true, "00000001001"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Table(c.rows, {0, 1, -1, -1}, "DD00");
        dlg.EnableItem(IDC_SCHEDULE_REFRESH, c.refreshEnabledBefore);
        Edit(1, c.selected, c.start, c.stop);
        EXPECT_EQ(dlg.panels.schedule.SetZrnButtonProperly(), 1);
        EXPECT_EQ(States(), c.states);
    }

    // The selected entry never conflicts with itself, even while active; another active one does.
    const int64_t inEntry1 = now + 86400 * 2 + 60;
    for (const auto& [rowEntry, states] : {std::pair{std::array{1, 0, -1, -1}, "11000001110"},
                                           std::pair{std::array{0, 1, -1, -1}, "00000001110"}}) {
        Table(2, rowEntry, "DA00");
        Edit(1, 0, inEntry1, inEntry1 + 60);
        dlg.panels.schedule.SetZrnButtonProperly();
        EXPECT_EQ(States(), states);
    }
}

TEST_F(ButtonRuleTest, WithoutEditActivateAndDeactivateFollowTheSelectedEntry) {
    CZRNcomDlg& dlg = Make();
    const int64_t inEntry1 = now + 86400 * 2 + 60; // inside active entry 1
    struct Case {
        const char* name;
        const char* statuses;
        std::array<int, 4> rowEntry;
        int selected;
        int64_t start, stop;
        const char* states;
    } cases[] = {
        //                                                                   save disc prop act
        //                                                                   deact upd sync refr del
        //                                                                   clr add
        {"no selection", "DD00", {0, 1, -1, -1}, -1, freeStart(), freeStart() + 60, "00100111111"},
        {"row without entry",
         "DD00",
         {0, -1, -1, -1},
         1,
         freeStart(),
         freeStart() + 60,
         "00100111111"},
        {"empty entry", "0D00", {0, 1, -1, -1}, 0, freeStart(), freeStart() + 60, "00100111111"},
        {"active entry", "AD00", {0, 1, -1, -1}, 0, freeStart(), freeStart() + 60, "00101111111"},
        {"inactive, valid",
         "DA00",
         {0, 1, -1, -1},
         0,
         freeStart(),
         freeStart() + 60,
         "00110111111"},
        {"inactive, conflicts", "DA00", {0, 1, -1, -1}, 0, inEntry1, inEntry1 + 60, "00100111111"},
        {"inactive, times invalid",
         "DD00",
         {0, 1, -1, -1},
         1,
         freeStart(),
         freeStart() - 1,
         "00100111111"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Table(2, c.rowEntry, c.statuses);
        Edit(0, c.selected, c.start, c.stop);
        debug.Clear();
        dlg.panels.schedule.SetZrnButtonProperly();
        EXPECT_EQ(States(), c.states);
        EXPECT_EQ(debug.Contains("ZRNcom/SetZrnButtonProperly; nSelectedEntry is -1\n"),
                  std::string_view(c.name) == "row without entry");
    }
}

TEST_F(ButtonRuleTest, AddNeedsRoomAndNoPendingEditUnlessTheListIsEmpty) {
    CZRNcomDlg& dlg = Make();
    struct Case {
        int rows, pending;
        bool add, deleteAndClear;
    } cases[] = {
        {0, 0, true, false}, {0, 1, true, false}, {1, 0, true, true},  {3, 0, true, true},
        {3, 1, false, true}, {4, 0, false, true}, {4, 1, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rows << " rows, pending " << c.pending);
        Table(c.rows, {0, 1, 2, 3}, "DDDD");
        Edit(c.pending, -1, freeStart(), freeStart() + 60);
        dlg.panels.schedule.SetZrnButtonProperly();
        EXPECT_EQ(dlg.IsItemEnabled(IDC_BUTTON_ADD), c.add);
        EXPECT_EQ(dlg.IsItemEnabled(IDC_BUTTON_DELETE), c.deleteAndClear);
        EXPECT_EQ(dlg.IsItemEnabled(IDC_BUTTON_CLEAR_ALL), c.deleteAndClear);
    }
}

TEST_F(ButtonRuleTest, AfterStartUpOnlyTheButtonsThatNeedNoEntryAreEnabled) {
    Make();
    EXPECT_EQ(States(), "00100111001");
}
