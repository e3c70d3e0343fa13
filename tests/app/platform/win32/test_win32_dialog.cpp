// The Win32 backend with real windows under wine: templates become dialogs,
// Windows' notifications reach the event table, and the hooks, timers, the
// system menu and the link's messages behave as the Qt backend's do.
#include "MessagePump.h"
#include "platform/Dialog.h"
#include "platform/MessageBox.h"
#include "platform/Win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <objbase.h> // CoInitializeEx

using namespace win;
using namespace std::chrono_literals;

namespace {

enum : int {
    IDC_NAME = 1001,
    IDC_NUMBER,
    IDC_LOG,
    IDC_CHECK,
    IDC_RADIO_A,
    IDC_RADIO_B,
    IDC_RADIO_C,
    IDC_DATE,
    IDC_TIME,
    IDC_LIST,
    IDC_PORTS,
    IDC_TABS,
    IDC_HIDDEN,
    IDC_OFF,
    IDC_PICTURE,
    IDC_RUN,
};
constexpr int IDB_TEST = 300;
constexpr int kTestCode = -4242;
constexpr unsigned IDM_TEST_ABOUT = 0x0010;

constexpr ControlTemplate kControls[] = {
    {IDOK, ControlKind::Button, "OK", 200, 7, 50, 14, BS_DEFPUSHBUTTON},
    {IDCANCEL, ControlKind::Button, "Cancel", 200, 24, 50, 14},
    {IDC_STATIC, ControlKind::Static, "&Name:", 7, 9, 30, 8},
    {IDC_NAME, ControlKind::Edit, "", 40, 7, 60, 14},
    {IDC_STATIC, ControlKind::Static, "N&umber:", 7, 27, 30, 8},
    {IDC_NUMBER, ControlKind::Edit, "", 40, 25, 60, 14, ES_NUMBER},
    {IDC_LOG, ControlKind::Edit, "", 7, 45, 180, 30,
     ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_HSCROLL},
    {IDC_CHECK, ControlKind::CheckBox, "Check", 110, 7, 50, 10},
    {IDC_STATIC, ControlKind::GroupBox, "Every", 105, 20, 90, 24},
    {IDC_RADIO_A, ControlKind::RadioButton, "A", 110, 30, 20, 10, WS_GROUP},
    {IDC_RADIO_B, ControlKind::RadioButton, "B", 135, 30, 20, 10},
    {IDC_RADIO_C, ControlKind::RadioButton, "C", 160, 30, 20, 10, WS_GROUP},
    {IDC_DATE, ControlKind::DateTime, "", 7, 80, 60, 14, DTS_SHORTDATEFORMAT},
    {IDC_TIME, ControlKind::DateTime, "", 70, 80, 60, 14},
    {IDC_LIST, ControlKind::ListView, "", 7, 100, 180, 50,
     LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS},
    {IDC_PORTS, ControlKind::ListBox, "", 200, 45, 50, 40, LBS_NOTIFY | WS_VSCROLL},
    {IDC_TABS, ControlKind::Tab, "", 200, 90, 50, 14},
    {IDC_HIDDEN, ControlKind::Static, "hidden", 200, 110, 40, 8, NOT_VISIBLE},
    {IDC_OFF, ControlKind::Button, "Off", 200, 120, 40, 14, WS_DISABLED},
    {IDC_PICTURE, ControlKind::Picture, "", 200, 136, 40, 20, SS_NOTIFY, IDB_TEST},
    {IDC_RUN, ControlKind::Button, "Run", 140, 80, 40, 14},
};
constexpr DialogTemplate kTemplate{100, "Win32 test", 260, 160, "MS Shell Dlg", 8, kControls};

std::wstring ClassName(HWND hwnd) {
    wchar_t name[64] = {};
    ::GetClassNameW(hwnd, name, 64);
    return name;
}

class TestDialog : public CDialog {
public:
    explicit TestDialog(CWnd* parent = nullptr) : CDialog(kTemplate, parent) {}

    std::vector<Notify> seen;
    std::function<bool(Notify&)> handler;
    int inits = 0;
    std::string name = "first";
    int check = 1;
    int number = 7;

    // The last such notification seen, or nullptr.
    const Notify* Last(int id, int code) const {
        const auto found = std::find_if(seen.rbegin(), seen.rend(), [&](const Notify& n) {
            return n.id == id && n.code == code;
        });
        return found == seen.rend() ? nullptr : &*found;
    }
    bool Saw(int id, int code) const { return Last(id, code) != nullptr; }

protected:
    bool OnInitDialog() override {
        ++inits;
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(DataExchange& dx) override {
        dx.Text(IDC_NAME, name);
        dx.Check(IDC_CHECK, check);
        dx.Int(IDC_NUMBER, number, 0, 99);
    }
    bool OnMessage(Notify& n) override {
        seen.push_back(n);
        return handler ? handler(n) : false;
    }
    Bitmap LoadImageResource(int id, Size size) const override {
        if (id != IDB_TEST)
            return {};
        HDC screen = ::GetDC(nullptr);
        Bitmap bitmap(::CreateCompatibleBitmap(screen, size.width(), size.height()));
        ::ReleaseDC(nullptr, screen);
        return bitmap;
    }
};

class Win32Dialog : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dialog.Create()); }
    // Shown and active, so that focus changes happen as for the user.
    void Show() {
        dialog.ShowWindow(true);
        ::SetForegroundWindow(dialog.m_hWnd);
        ::SetActiveWindow(dialog.m_hWnd);
        Pump();
    }

    TestDialog dialog;
};

TEST_F(Win32Dialog, BuildsEveryControlOfTheTemplateOnce) {
    EXPECT_EQ(dialog.inits, 1);
    EXPECT_TRUE(dialog.Create()) << "a second Create builds nothing";
    EXPECT_EQ(dialog.inits, 1);
    EXPECT_EQ(dialog.GetWindowText(), "Win32 test");

    const struct {
        int id;
        const wchar_t* className;
    } rows[] = {
        {IDOK, L"Button"},
        {IDC_NAME, L"Edit"},
        {IDC_LOG, L"Edit"},
        {IDC_CHECK, L"Button"},
        {IDC_RADIO_B, L"Button"},
        {IDC_DATE, L"SysDateTimePick32"},
        {IDC_LIST, L"SysListView32"},
        {IDC_PORTS, L"ListBox"},
        {IDC_TABS, L"SysTabControl32"},
        {IDC_PICTURE, L"Static"},
    };
    for (const auto& row : rows) {
        HWND hwnd = dialog.GetDlgItem(row.id);
        ASSERT_NE(hwnd, nullptr) << row.id;
        EXPECT_EQ(ClassName(hwnd), row.className) << row.id;
        EXPECT_EQ(::GetDlgCtrlID(hwnd), row.id);
        EXPECT_TRUE(dialog.IsItemShown(row.id)) << row.id;
    }
    EXPECT_EQ(dialog.GetDlgItem(IDC_STATIC), nullptr);
    EXPECT_EQ(dialog.GetDlgItem(4711), nullptr);
    EXPECT_FALSE(dialog.IsItemShown(IDC_HIDDEN));
    EXPECT_FALSE(dialog.IsItemEnabled(IDC_OFF));
    EXPECT_TRUE(dialog.IsItemEnabled(IDOK));
    EXPECT_EQ(dialog.KindOf(IDC_LIST), ControlKind::ListView);
    EXPECT_EQ(dialog.TemplateRect(IDC_LIST), Rect(7, 100, 180, 50));
    EXPECT_NE(dialog.Item<DateTimePicker>(IDC_DATE), nullptr);
    EXPECT_EQ(dialog.Item<DateTimePicker>(IDC_LIST), nullptr);
    EXPECT_NE(dialog.Item<ListView>(IDC_LIST), nullptr);

    // Native default button and radio groups.
    EXPECT_TRUE(::GetWindowLongW(dialog.GetDlgItem(IDOK), GWL_STYLE) & BS_DEFPUSHBUTTON);
    EXPECT_TRUE(::GetWindowLongW(dialog.GetDlgItem(IDC_RADIO_A), GWL_STYLE) & WS_GROUP);
    EXPECT_FALSE(::GetWindowLongW(dialog.GetDlgItem(IDC_RADIO_B), GWL_STYLE) & WS_GROUP);
    EXPECT_TRUE(dialog.IsReadOnly(IDC_LOG));
    EXPECT_FALSE(dialog.IsReadOnly(IDC_NAME));
    EXPECT_FALSE(dialog.IsWindowVisible()) << "hidden until shown";
}

TEST_F(Win32Dialog, NamesForScreenReadersStayWithTheirControls) {
    // With COM on the thread, as in the program, and without.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    dialog.SetAccessibleName(IDC_NAME, "Your name");
    if (SUCCEEDED(com))
        ::CoUninitialize();
    dialog.SetAccessibleName(IDC_LIST, "Schedules");
    dialog.SetAccessibleName(4711, "nobody");
    EXPECT_EQ(dialog.AccessibleName(IDC_NAME), "Your name");
    EXPECT_EQ(dialog.AccessibleName(IDC_LIST), "Schedules");
    EXPECT_EQ(dialog.AccessibleName(4711), "");
}

TEST_F(Win32Dialog, PlacesControlsInDialogUnitsOfTheTemplateFont) {
    const Size units = dialog.BaseUnits();
    EXPECT_GE(units.width(), 5);
    EXPECT_LE(units.width(), 9);
    EXPECT_GE(units.height(), 11);
    EXPECT_LE(units.height(), 17);
    for (int id : std::vector<int>{IDC_NAME, IDC_LIST, IDC_PORTS, IDOK}) {
        RECT r{};
        ::GetWindowRect(dialog.GetDlgItem(id), &r);
        ::MapWindowPoints(nullptr, dialog.m_hWnd, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(Rect(r.left, r.top, r.right - r.left, r.bottom - r.top),
                  dialog.MapDialogRect(dialog.TemplateRect(id)))
            << id;
    }
    RECT client{};
    ::GetClientRect(dialog.m_hWnd, &client);
    EXPECT_EQ(client.right, dialog.MapDialogRect(Rect(0, 0, 260, 160)).width());
}

TEST_F(Win32Dialog, ExchangesDataBothWaysAndRefusesANonNumber) {
    EXPECT_EQ(dialog.GetDlgItemText(IDC_NAME), "first") << "OnInitDialog loads the members";
    EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_CHECK), 1);
    EXPECT_EQ(dialog.GetDlgItemText(IDC_NUMBER), "7");

    dialog.SetDlgItemText(IDC_NAME, "Grüße");
    dialog.CheckDlgButton(IDC_CHECK, 0);
    dialog.SetDlgItemText(IDC_NUMBER, " 42 ");
    ASSERT_TRUE(dialog.UpdateData(true));
    EXPECT_EQ(dialog.name, "Grüße");
    EXPECT_EQ(dialog.check, 0);
    EXPECT_EQ(dialog.number, 42);

    std::vector<MessageBoxRequest> asked;
    auto previous = SetMessageBoxHook([&](const MessageBoxRequest& request) {
        asked.push_back(request);
        return IDOK;
    });
    dialog.SetDlgItemText(IDC_NUMBER, "100");
    EXPECT_FALSE(dialog.UpdateData(true));
    SetMessageBoxHook(previous);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, "Please enter an integer between 0 and 99.");
    EXPECT_EQ(asked[0].caption, "ZRNcom");
    EXPECT_EQ(asked[0].flags, MB_OK | MB_ICONWARNING);
    EXPECT_EQ(dialog.number, 42);
}

TEST_F(Win32Dialog, ClicksReachTheEventTableAndRadioGroupsCheckThemselves) {
    dialog.CheckDlgButton(IDC_RADIO_A, 1);
    dialog.CheckDlgButton(IDC_RADIO_C, 1);
    ::SendMessageW(dialog.GetDlgItem(IDC_RADIO_B), BM_CLICK, 0, 0);
    Pump();
    EXPECT_TRUE(dialog.Saw(IDC_RADIO_B, BN_CLICKED));
    EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_RADIO_A), 0);
    EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_RADIO_B), 1);
    EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_RADIO_C), 1) << "another group";

    dialog.seen.clear();
    ::SendMessageW(dialog.GetDlgItem(IDC_RUN), BM_CLICK, 0, 0);
    Pump();
    ASSERT_EQ(dialog.seen.size(), 1u);
    EXPECT_EQ(dialog.seen[0].id, IDC_RUN);
    EXPECT_EQ(dialog.seen[0].code, BN_CLICKED);

    // A picture with SS_NOTIFY reports clicks.
    ::SendMessageW(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_PICTURE, STN_CLICKED),
                   reinterpret_cast<LPARAM>(dialog.GetDlgItem(IDC_PICTURE)));
    EXPECT_TRUE(dialog.Saw(IDC_PICTURE, STN_CLICKED));
    EXPECT_NE(::SendMessageW(dialog.GetDlgItem(IDC_PICTURE), STM_GETIMAGE, IMAGE_BITMAP, 0), 0)
        << "the picture shows the dialog's image";
}

TEST_F(Win32Dialog, EditsReportFocusAndTheLogRefusesIt) {
    Show();
    dialog.seen.clear();
    dialog.GotoDlgCtrl(IDC_NAME);
    dialog.GotoDlgCtrl(IDC_NUMBER);
    Pump();
    EXPECT_TRUE(dialog.Saw(IDC_NAME, EN_SETFOCUS));
    EXPECT_TRUE(dialog.Saw(IDC_NAME, EN_KILLFOCUS));
    EXPECT_TRUE(dialog.Saw(IDC_NUMBER, EN_SETFOCUS));
    EXPECT_TRUE(dialog.ItemHasFocus(IDC_NUMBER));

    dialog.RefuseFocus(IDC_LOG);
    dialog.seen.clear();
    ::SetFocus(dialog.GetDlgItem(IDC_LOG));
    Pump();
    EXPECT_TRUE(dialog.ItemHasFocus(IDC_NUMBER)) << "handed straight back";
    EXPECT_FALSE(dialog.Saw(IDC_LOG, EN_SETFOCUS));
    EXPECT_FALSE(dialog.Saw(IDC_LOG, EN_KILLFOCUS));
    EXPECT_TRUE(dialog.Saw(IDC_NUMBER, EN_SETFOCUS)) << "the box that had it takes it again";
}

TEST_F(Win32Dialog, LogBoxKeepsTheNewestLinesBeyondTheDefaultEditLimit) {
    dialog.AppendLine(IDC_LOG, "one");
    dialog.AppendLine(IDC_LOG, "two\nthree");
    EXPECT_EQ(dialog.GetDlgItemText(IDC_LOG), "one\r\ntwo\r\nthree");
    EXPECT_EQ(dialog.GetLineCount(IDC_LOG), 3);

    dialog.LimitLines(IDC_LOG, 2);
    EXPECT_EQ(dialog.GetDlgItemText(IDC_LOG), "two\r\nthree");
    const std::string line(99, 'x');
    for (int i = 0; i < 500; ++i)
        dialog.AppendLine(IDC_LOG, line + std::to_string(i % 10));
    EXPECT_EQ(dialog.GetDlgItemText(IDC_LOG), line + "8\r\n" + line + "9");

    dialog.LimitLines(IDC_LOG, 1000);
    for (int i = 0; i < 500; ++i)
        dialog.AppendLine(IDC_LOG, line);
    EXPECT_EQ(dialog.GetLineCount(IDC_LOG), 502) << "50 000 characters, past the 32 K default";

    dialog.SetDlgItemText(IDC_LOG, "");
    EXPECT_EQ(dialog.GetLineCount(IDC_LOG), 1);
    dialog.AppendLine(IDC_LOG, "alone");
    EXPECT_EQ(dialog.GetDlgItemText(IDC_LOG), "alone");

    dialog.LimitText(IDC_NAME, 3);
    EXPECT_EQ(::SendMessageW(dialog.GetDlgItem(IDC_NAME), EM_GETLIMITTEXT, 0, 0), 3);
    dialog.SetReadOnly(IDC_NAME, true);
    EXPECT_TRUE(dialog.IsReadOnly(IDC_NAME));
}

TEST_F(Win32Dialog, PickersHoldValuesAndSetNoneOfThemNotifies) {
    auto* date = dialog.Item<DateTimePicker>(IDC_DATE);
    auto* time = dialog.Item<DateTimePicker>(IDC_TIME);
    ASSERT_NE(date, nullptr);
    ASSERT_NE(time, nullptr);
    EXPECT_FALSE(date->IsTimePicker());
    EXPECT_EQ(date->Format(), "M/d/yyyy");

    dialog.seen.clear();
    date->SetFields(PickerFields{2026, 3, 29, 1, 30, 15});
    Pump();
    EXPECT_FALSE(dialog.Saw(IDC_DATE, DTN_DATETIMECHANGE));
    ASSERT_TRUE(date->Fields().has_value());
    EXPECT_EQ(date->Fields()->year, 2026);
    EXPECT_EQ(date->Fields()->day, 29);
    EXPECT_EQ(date->Fields()->second, 15);
    EXPECT_EQ(dialog.GetDlgItemText(IDC_DATE), "3/29/2026");

    // A time picker is made again with spin buttons; value, identifier and place stay.
    time->SetFields(PickerFields{2026, 1, 2, 13, 4, 5});
    HWND before = time->Handle();
    time->SetTimeStyle();
    EXPECT_TRUE(time->IsTimePicker());
    EXPECT_NE(time->Handle(), before);
    EXPECT_EQ(dialog.GetDlgItem(IDC_TIME), time->Handle());
    EXPECT_EQ(::GetDlgCtrlID(time->Handle()), IDC_TIME);
    EXPECT_TRUE(::GetWindowLongW(time->Handle(), GWL_STYLE) & DTS_UPDOWN);
    EXPECT_EQ(::GetWindow(dialog.GetDlgItem(IDC_DATE), GW_HWNDNEXT), time->Handle());
    EXPECT_EQ(dialog.GetDlgItemText(IDC_TIME), "1:04:05 PM");
    time->SetFormat("H:mm:ss");
    EXPECT_EQ(dialog.GetDlgItemText(IDC_TIME), "13:04:05");

    // Spans as day fractions.
    time->SetOleDate((2 * 3600 + 3 * 60 + 4) / 86400.0);
    EXPECT_EQ(dialog.GetDlgItemText(IDC_TIME), "2:03:04");
    EXPECT_NEAR(time->OleDate(), (2 * 3600 + 3 * 60 + 4) / 86400.0, 1e-9);
    EXPECT_EQ(time->Fields()->year, 1899);

    // Calendar times go through local time and back.
    date->SetTime(1774800000);
    EXPECT_EQ(date->Time(), 1774800000);
}

TEST(Win32OleDate, CountsDaysFromTheEndOf1899) {
    const struct {
        PickerFields fields;
        double days;
    } rows[] = {
        {{1899, 12, 30, 0, 0, 0}, 0.0},
        {{1900, 1, 1, 12, 0, 0}, 2.5},
        {{2026, 12, 7, 6, 0, 0}, 46363.25},
        {{1899, 12, 29, 6, 0, 0}, -1.25}, // the fraction counts forward before day 0
    };
    for (const auto& row : rows) {
        EXPECT_DOUBLE_EQ(OleDateFromFields(row.fields), row.days);
        const PickerFields back = FieldsFromOleDate(row.days);
        EXPECT_EQ(back.year, row.fields.year);
        EXPECT_EQ(back.month, row.fields.month);
        EXPECT_EQ(back.day, row.fields.day);
        EXPECT_EQ(back.hour, row.fields.hour);
    }
}

TEST_F(Win32Dialog, UserChangeOfAPickerCarriesItsFields) {
    Show();
    auto* time = dialog.Item<DateTimePicker>(IDC_TIME);
    time->SetTimeStyle();
    time->SetFormat("H:mm:ss");
    time->SetFields(PickerFields{2026, 1, 2, 13, 4, 5});
    dialog.GotoDlgCtrl(IDC_TIME);
    Pump();
    EXPECT_TRUE(dialog.Saw(IDC_TIME, NM_SETFOCUS));
    dialog.seen.clear();
    // A click on the hours, then the up arrow, as the user does it.
    RECT box{};
    ::GetClientRect(time->Handle(), &box);
    const LPARAM hours = MAKELPARAM(4, box.bottom / 2);
    ::SendMessageW(time->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, hours);
    ::SendMessageW(time->Handle(), WM_LBUTTONUP, 0, hours);
    ::SendMessageW(time->Handle(), WM_KEYDOWN, VK_UP, 0);
    Pump();
    const Notify* change = dialog.Last(IDC_TIME, DTN_DATETIMECHANGE);
    ASSERT_NE(change, nullptr);
    const PickerFields now = *time->Fields();
    EXPECT_NE(now.hour * 3600 + now.minute * 60 + now.second, 13 * 3600 + 4 * 60 + 5);
    EXPECT_EQ(change->hour, now.hour);
    EXPECT_EQ(change->minute, now.minute);
    EXPECT_EQ(change->second, now.second);
    EXPECT_EQ(change->year, now.year);
}

TEST_F(Win32Dialog, DatePickerCalendarOpensAndClosesWithNotifications) {
    Show();
    auto* date = dialog.Item<DateTimePicker>(IDC_DATE);
    date->SetFields(PickerFields{2026, 3, 29, 0, 0, 0});
    dialog.seen.clear();
    date->ShowDropDown(true);
    Pump();
    EXPECT_TRUE(date->IsDroppedDown());
    EXPECT_TRUE(dialog.Saw(IDC_DATE, DTN_DROPDOWN));
    date->ShowDropDown(false);
    Pump();
    EXPECT_FALSE(date->IsDroppedDown());
    EXPECT_TRUE(dialog.Saw(IDC_DATE, DTN_CLOSEUP));
    for (const Notify& n : dialog.seen) {
        if (n.code == DTN_CLOSEUP) {
            EXPECT_EQ(n.day, 29);
        }
    }
}

TEST_F(Win32Dialog, ListViewRowsImagesAndClicks) {
    auto* list = dialog.Item<ListView>(IDC_LIST);
    ASSERT_NE(list, nullptr);
    list->SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    EXPECT_EQ(list->GetExtendedStyle(), LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    EXPECT_EQ(list->GetStyle() & LVS_REPORT, LVS_REPORT);
    EXPECT_GT(list->ClientWidth(), 200);

    ImageList images(Size(16, 16));
    HDC screen = ::GetDC(nullptr);
    const Bitmap strip(::CreateCompatibleBitmap(screen, 16, 16));
    ::ReleaseDC(nullptr, screen);
    EXPECT_EQ(images.Add(strip, Colour(255, 0, 255)), 0);
    EXPECT_EQ(images.Add(strip, Colour(255, 0, 255)), 1);
    EXPECT_EQ(images.Count(), 2);
    list->SetImageList(images, ListView::Small);
    EXPECT_EQ(::SendMessageW(list->Handle(), LVM_GETIMAGELIST, LVSIL_SMALL, 0),
              reinterpret_cast<LRESULT>(images.Handle()));

    EXPECT_EQ(list->InsertColumn(0, "Start", 100), 0);
    EXPECT_EQ(list->InsertColumn(1, "Intervall ä", 100), 1);
    EXPECT_EQ(list->ColumnCount(), 2);
    EXPECT_EQ(list->ColumnHeading(1), "Intervall ä");
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(list->InsertItem(row, "row " + std::to_string(row), row % 2), row);
        EXPECT_TRUE(list->SetItemText(row, 1, std::to_string(row * 15) + " min"));
        EXPECT_TRUE(list->SetItemData(row, 100 + row));
    }
    EXPECT_FALSE(list->SetItemText(7, 1, "no such row"));
    EXPECT_EQ(list->GetItemCount(), 3);
    EXPECT_EQ(list->GetItemText(2, 1), "30 min");
    EXPECT_EQ(list->GetItemText(1, 0), "row 1");
    EXPECT_EQ(list->GetItemData(2), 102);
    EXPECT_EQ(list->ItemImage(1), 1);
    EXPECT_EQ(list->GetItemText(2, 1).size(), 6u);

    list->SetItemState(1, true, true);
    EXPECT_EQ(list->SelectedRows(), std::vector<int>{1});
    EXPECT_TRUE(dialog.Saw(IDC_LIST, LVN_ITEMCHANGED));

    // A click on the third row, as the mouse makes it.
    Show();
    RECT item{LVIR_LABEL, 0, 0, 0};
    ::SendMessageW(list->Handle(), LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM(item.left + 4, (item.top + item.bottom) / 2);
    dialog.seen.clear();
    ::PostMessageW(list->Handle(), WM_LBUTTONUP, 0, at);
    ::SendMessageW(list->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    ASSERT_TRUE(PumpUntil([&] { return dialog.Saw(IDC_LIST, NM_CLICK); }));
    for (const Notify& n : dialog.seen) {
        if (n.code != NM_CLICK)
            continue;
        EXPECT_EQ(n.row, 2);
        POINT screenPoint{item.left + 4, (item.top + item.bottom) / 2};
        ::ClientToScreen(list->Handle(), &screenPoint);
        EXPECT_EQ(n.point, Point(screenPoint.x, screenPoint.y));
    }
    EXPECT_EQ(list->SelectedRows(), std::vector<int>{2});

    EXPECT_TRUE(list->DeleteAllItems());
    EXPECT_EQ(list->GetItemCount(), 0);
}

TEST_F(Win32Dialog, AKeyThatMovesTheListsSelectionNamesTheNewRow) {
    auto* list = dialog.Item<ListView>(IDC_LIST);
    list->SetExtendedStyle(LVS_EX_FULLROWSELECT);
    list->InsertColumn(0, "A", 60);
    for (int row = 0; row < 3; ++row)
        list->InsertItem(row, "row", -1);
    EXPECT_EQ(list->ItemImage(0), -1) << "a row may have no image";
    Show();
    list->SetItemState(2, true, true);
    ::SetFocus(list->Handle());
    dialog.seen.clear();
    ::SendMessageW(list->Handle(), WM_KEYDOWN, VK_UP, 0);
    Pump();
    const Notify* moved = dialog.Last(IDC_LIST, LVN_KEYSELECT);
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(moved->row, 1);
    EXPECT_EQ(list->SelectedRows(), std::vector<int>{1});
    dialog.seen.clear();
    ::SendMessageW(list->Handle(), WM_KEYDOWN, VK_SHIFT, 0);
    Pump();
    EXPECT_FALSE(dialog.Saw(IDC_LIST, LVN_KEYSELECT)) << "a key that moves nothing";
}

TEST_F(Win32Dialog, ADatePickersRangeKeepsEveryValueInside) {
    auto* date = dialog.Item<DateTimePicker>(IDC_DATE);
    date->SetRange({2000, 1, 1, 0, 0, 0}, {2037, 12, 31, 23, 59, 59});
    date->SetFields({2037, 6, 1, 8, 0, 0});
    date->SetFields({2040, 5, 1, 8, 0, 0});
    ASSERT_TRUE(date->Fields());
    EXPECT_LE(date->Fields()->year, 2037);
}

TEST_F(Win32Dialog, ListBoxesAndTabs) {
    dialog.ListBoxInsert(IDC_PORTS, 0, "COM3");
    dialog.ListBoxInsert(IDC_PORTS, 0, "COM10");
    dialog.ListBoxInsert(IDC_PORTS, 2, "COM2");
    EXPECT_EQ(dialog.ListBoxCount(IDC_PORTS), 3);
    EXPECT_EQ(dialog.ListBoxText(IDC_PORTS, 0), "COM10");
    EXPECT_EQ(dialog.ListBoxText(IDC_PORTS, 2), "COM2");
    EXPECT_EQ(dialog.ListBoxText(IDC_PORTS, 9), "");
    EXPECT_EQ(dialog.ListBoxGetCurSel(IDC_PORTS), -1);
    dialog.ListBoxSetCurSel(IDC_PORTS, 1);
    EXPECT_EQ(dialog.ListBoxGetCurSel(IDC_PORTS), 1);
    EXPECT_FALSE(dialog.Saw(IDC_PORTS, LBN_SELCHANGE)) << "only the user's choice notifies";
    dialog.ListBoxReset(IDC_PORTS);
    EXPECT_EQ(dialog.ListBoxCount(IDC_PORTS), 0);

    for (const char* label : {"Icon", "Small Icon", "List", "Details"})
        dialog.AddTab(IDC_TABS, label);
    EXPECT_EQ(dialog.TabCount(IDC_TABS), 4);
}

TEST_F(Win32Dialog, TimersTickIntoTheEventTableWithinWindowsBounds) {
    int ticks = 0;
    dialog.handler = [&](Notify& n) {
        if (n.id == kWindow && n.code == WM_TIMER && n.wParam == 7)
            ++ticks;
        return false;
    };
    EXPECT_TRUE(dialog.SetTimer(7, 1));
    EXPECT_EQ(dialog.TimerInterval(7), 10) << "held at Windows' minimum";
    EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; }));
    EXPECT_TRUE(dialog.KillTimer(7));
    EXPECT_FALSE(dialog.KillTimer(7));
    EXPECT_EQ(dialog.TimerInterval(7), -1);
    const int after = ticks;
    ::Sleep(50);
    Pump();
    EXPECT_EQ(ticks, after);
}

TEST_F(Win32Dialog, LinkMessagesFromAnotherThreadAreHandledOnTheDialogsThread) {
    const DWORD gui = ::GetCurrentThreadId();
    std::string text;
    DWORD handledOn = 0;
    dialog.handler = [&](Notify& n) {
        if (n.id != kWindow || n.code != WM_USER + 1)
            return false;
        handledOn = ::GetCurrentThreadId();
        text = reinterpret_cast<const char*>(n.lParam);
        n.result = 82 + static_cast<intptr_t>(n.wParam);
        return true;
    };
    std::atomic<LRESULT> result{0};
    std::atomic<bool> done{false};
    HWND target = dialog.m_hWnd;
    std::thread worker([&] {
        const char reply[] = "D2026/12/07";
        result = ::SendMessageA(target, WM_USER + 1, 82, reinterpret_cast<LPARAM>(reply));
        done = true;
    });
    EXPECT_TRUE(PumpUntil([&] { return done.load(); }));
    worker.join();
    EXPECT_EQ(result, 164);
    EXPECT_EQ(text, "D2026/12/07");
    EXPECT_EQ(handledOn, gui);

    // A message nobody handles is the dialog manager's: DM_GETDEFID names the default button.
    EXPECT_EQ(LOWORD(::SendMessageW(dialog.m_hWnd, DM_GETDEFID, 0, 0)), IDOK);
}

TEST_F(Win32Dialog, RegisteredMessagesArriveAsTheirMappedMessage) {
    const UINT registered = ::RegisterWindowMessageW(L"ZRNCOMDLGSETINTERVALS");
    ASSERT_GE(registered, 0xC000u);
    dialog.handler = [](Notify& n) {
        if (n.id == kWindow && n.code == 0xC000) {
            n.result = 5;
            return true;
        }
        return false;
    };
    EXPECT_EQ(::SendMessageW(dialog.m_hWnd, registered, 0, 0), 0) << "not mapped yet";
    dialog.MapRegisteredMessage(registered, 0xC000);
    EXPECT_EQ(::SendMessageW(dialog.m_hWnd, registered, 0, 0), 5);
}

TEST_F(Win32Dialog, NotificationResultsGoBackThroughTheDialogResult) {
    dialog.handler = [](Notify& n) {
        if (n.id == IDC_LIST && n.code == kTestCode) {
            n.result = 42;
            return true;
        }
        return false;
    };
    NMHDR header{dialog.GetDlgItem(IDC_LIST), IDC_LIST, static_cast<UINT>(kTestCode)};
    EXPECT_EQ(::SendMessageW(dialog.m_hWnd, WM_NOTIFY, IDC_LIST, reinterpret_cast<LPARAM>(&header)),
              42);
}

TEST_F(Win32Dialog, SystemMenuCommandsAndCloseReachTheDialog) {
    WindowMenu& menu = dialog.GetSystemMenu();
    menu.AppendMenu(MF_SEPARATOR, 0, {});
    menu.AppendMenu(MF_STRING, IDM_TEST_ABOUT, "&About ZRNcom...");
    ASSERT_EQ(menu.Items().size(), 3u);
    EXPECT_EQ(menu.Items()[0].id, SC_CLOSE);
    EXPECT_EQ(menu.Items()[2].text, "&About ZRNcom...");

    HMENU system = ::GetSystemMenu(dialog.m_hWnd, FALSE);
    ASSERT_NE(system, nullptr);
    wchar_t text[64] = {};
    EXPECT_GT(::GetMenuStringW(system, IDM_TEST_ABOUT, text, 64, MF_BYCOMMAND), 0);
    EXPECT_EQ(std::wstring(text), L"&About ZRNcom...");

    ::SendMessageW(dialog.m_hWnd, WM_SYSCOMMAND, IDM_TEST_ABOUT, 0);
    EXPECT_TRUE(dialog.Saw(kWindow, WM_SYSCOMMAND));
    EXPECT_EQ(dialog.seen.back().wParam, IDM_TEST_ABOUT);

    // The popup form of the window menu, answered by the hook.
    std::vector<PopupMenuRequest> shown;
    auto previous = SetPopupMenuHook([&](const PopupMenuRequest& request) {
        shown.push_back(request);
        return IDM_TEST_ABOUT;
    });
    dialog.seen.clear();
    dialog.ShowSystemMenu(Point(10, 20));
    SetPopupMenuHook(previous);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].items.size(), 3u);
    EXPECT_EQ(shown[0].screenPos, Point(10, 20));
    EXPECT_TRUE(dialog.Saw(kWindow, WM_SYSCOMMAND));

    // The system's own commands are not the dialog's, even where a handler takes every
    // WM_SYSCOMMAND: minimizing still minimizes.
    dialog.handler = [](Notify& n) { return n.code == WM_SYSCOMMAND && n.wParam != SC_CLOSE; };
    Show();
    dialog.seen.clear();
    ::SendMessageW(dialog.m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(dialog.Saw(kWindow, WM_SYSCOMMAND));
    EXPECT_TRUE(::IsIconic(dialog.m_hWnd));
    ::ShowWindow(dialog.m_hWnd, SW_RESTORE);
    dialog.handler = nullptr;

    // Close with no handler of its own is Cancel.
    Show();
    dialog.seen.clear();
    ::SendMessageW(dialog.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(dialog.Saw(IDCANCEL, BN_CLICKED));
    EXPECT_FALSE(dialog.IsWindowVisible());
}

TEST_F(Win32Dialog, PopupMenusDeliverTheChosenCommandAsAClick) {
    static constexpr MenuItem items[] = {{0, ""}, {2001, "&Enable"}, {2002, "&Disable"}};
    static constexpr MenuTemplate menu{500, "Entry", items};
    std::vector<PopupMenuRequest> shown;
    auto previous = SetPopupMenuHook([&](const PopupMenuRequest& request) {
        shown.push_back(request);
        return 2002u;
    });
    dialog.TrackMenu(menu, Point(5, 6));
    SetPopupMenuHook(previous);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].defaultId, 2001u) << "the first command";
    EXPECT_TRUE(dialog.Saw(2002, BN_CLICKED));
}

// A real popup menu, chosen with the keyboard from another thread.
TEST_F(Win32Dialog, RealPopupMenuReturnsTheCommandChosen) {
    Show();
    static constexpr MenuItem items[] = {{2001, "&Enable"}, {0, ""}, {2002, "&Disable"}};
    std::atomic<bool> stop{false};
    std::thread user([&] {
        while (!stop) {
            if (HWND popup = ::FindWindowW(L"#32768", nullptr); popup && ::IsWindowVisible(popup)) {
                ::PostMessageW(popup, WM_KEYDOWN, 'D', 0);
                return;
            }
            ::Sleep(10);
        }
    });
    const unsigned command = TrackPopupMenu(&dialog, items, 2001, Point(50, 50));
    stop = true;
    user.join();
    EXPECT_EQ(command, 2002u);
}

// A real message box, answered by another thread; link messages sent while
// it is open are handled by its loop.
TEST_F(Win32Dialog, RealMessageBoxKeepsHandlingSentMessages) {
    Show();
    int notices = 0;
    dialog.handler = [&](Notify& n) {
        if (n.id == kWindow && n.code == WM_USER + 1)
            ++notices;
        return n.code == WM_USER + 1;
    };
    HWND target = dialog.m_hWnd;
    std::thread user([&] {
        HWND box = nullptr;
        for (int i = 0; i < 500 && box == nullptr; ++i) {
            box = ::FindWindowW(nullptr, L"Question");
            if (box == nullptr)
                ::Sleep(10);
        }
        ::SendMessageA(target, WM_USER + 1, 6, 0); // the box's loop runs it
        if (box != nullptr)
            ::PostMessageW(box, WM_COMMAND, IDNO, 0);
    });
    const int answer =
        MessageBox(&dialog, "Delete the entry?", "Question", MB_YESNO | MB_ICONQUESTION);
    user.join();
    EXPECT_EQ(answer, IDNO);
    EXPECT_EQ(notices, 1);
}

TEST(Win32Modal, RunsUntilEndDialogWithTheOwnerDisabled) {
    TestDialog owner;
    ASSERT_TRUE(owner.Create());
    owner.ShowWindow(true);
    TestDialog modal(&owner);
    bool ownerEnabledDuringRun = true;
    modal.handler = [&](Notify& n) {
        if (n.id == kWindow && n.code == WM_TIMER) {
            ownerEnabledDuringRun = ::IsWindowEnabled(owner.m_hWnd) != FALSE;
            modal.KillTimer(1);
            modal.EndDialog(IDOK + 40);
            return true;
        }
        if (n.id == kWindow && n.code == WM_SHOWWINDOW)
            modal.SetTimer(1, 10);
        return false;
    };
    EXPECT_EQ(modal.DoModal(), IDOK + 40);
    EXPECT_FALSE(ownerEnabledDuringRun);
    EXPECT_TRUE(::IsWindowEnabled(owner.m_hWnd));
    EXPECT_FALSE(modal.IsWindowVisible());
    EXPECT_EQ(::GetWindow(modal.m_hWnd, GW_OWNER), owner.m_hWnd);

    // A second run keeps the window and its controls; OnInitDialog ran once.
    modal.handler = [&](Notify& n) {
        if (n.id == kWindow && n.code == WM_SHOWWINDOW)
            ::PostMessageW(modal.m_hWnd, WM_COMMAND, IDCANCEL, 0);
        return false;
    };
    EXPECT_EQ(modal.DoModal(), IDCANCEL);
    EXPECT_EQ(modal.inits, 1);
}

TEST(Win32Modal, EnterIsOkAndValidatesFirst) {
    TestDialog modal;
    modal.handler = [&](Notify& n) {
        if (n.id == kWindow && n.code == WM_SHOWWINDOW) {
            modal.SetDlgItemText(IDC_NUMBER, "12");
            HWND edit = modal.GetDlgItem(IDC_NUMBER);
            ::PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
        }
        return false;
    };
    EXPECT_EQ(modal.DoModal(), IDOK);
    EXPECT_EQ(modal.number, 12);
}

} // namespace
