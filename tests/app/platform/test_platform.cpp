// The platform layer: dialogs from templates, the event table, timers,
// message boxes, menus, pickers, the list view and the link window.
#include "TestSupport.h"
#include "platform/Dialog.h"
#include "platform/Win.h"
#include "platform/qt/LinkWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCalendarWidget>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

using namespace win;

namespace {

constexpr ControlTemplate kControls[] = {
    {100, ControlKind::Button, "&Go", 10, 10, 50, 14},
    {101, ControlKind::Edit, "", 10, 30, 60, 14, ES_READONLY},
    {102, ControlKind::Edit, "", 10, 50, 100, 30, ES_MULTILINE | WS_VSCROLL | ES_READONLY},
    {103, ControlKind::RadioButton, "One", 120, 10, 40, 10, WS_GROUP},
    {104, ControlKind::RadioButton, "Two", 120, 22, 40, 10},
    {105, ControlKind::RadioButton, "Three", 120, 34, 40, 10},
    {106, ControlKind::CheckBox, "Own group", 120, 46, 60, 10, WS_GROUP},
    {107, ControlKind::DateTime, "", 10, 90, 60, 15},
    {108, ControlKind::DateTime, "", 80, 90, 60, 15, DTS_TIMEFORMAT | DTS_UPDOWN},
    {109, ControlKind::ListView, "", 10, 110, 150, 80, LVS_REPORT | LVS_SINGLESEL},
    {110, ControlKind::Button, "Hidden", 10, 170, 50, 14, NOT_VISIBLE | WS_DISABLED},
    {111, ControlKind::Edit, "", 80, 30, 40, 14},
    {112, ControlKind::Edit, "", 130, 70, 40, 14},
    {113, ControlKind::ListBox, "", 130, 100, 60, 40, LBS_SORT | LBS_NOTIFY},
    {IDC_STATIC, ControlKind::Static, "Label", 180, 10, 40, 8},
};
constexpr DialogTemplate kTemplate{1, "Test", 200, 200, "MS Sans Serif", 8, kControls};

class TestDialog : public CDialog {
public:
    TestDialog() : CDialog(kTemplate) {}
    std::vector<std::pair<int, int>> seen; // id, code
    Notify last;
    int okCalls = 0;
    int number = 5;

    void OnGo() { seen.emplace_back(100, BN_CLICKED); }
    void OnAny(Notify& n) {
        seen.emplace_back(n.id, n.code);
        last = n;
        n.result = 7;
    }

protected:
    bool OnMessage(Notify& n) override;
    void DoDataExchange(DataExchange& dx) override { dx.Int(112, number, 0, 10); }
};

const EventEntry<TestDialog> kEvents[] = {
    {100, BN_CLICKED, &TestDialog::OnGo},          {103, BN_CLICKED, &TestDialog::OnAny},
    {101, EN_SETFOCUS, &TestDialog::OnAny},        {101, EN_KILLFOCUS, &TestDialog::OnAny},
    {107, DTN_DATETIMECHANGE, &TestDialog::OnAny}, {107, DTN_DROPDOWN, &TestDialog::OnAny},
    {107, DTN_CLOSEUP, &TestDialog::OnAny},        {109, NM_CLICK, &TestDialog::OnAny},
    {109, NM_RCLICK, &TestDialog::OnAny},          {109, LVN_KEYSELECT, &TestDialog::OnAny},
    {kWindow, WM_TIMER, &TestDialog::OnAny},       {113, LBN_SELCHANGE, &TestDialog::OnAny},
    {kWindow, WM_USER + 1, &TestDialog::OnAny},
};

bool TestDialog::OnMessage(Notify& n) {
    return Dispatch<TestDialog>(*this, kEvents, n);
}

void ShowActive(QWidget& widget) {
    widget.show();
    QApplication::setActiveWindow(&widget);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&widget));
}

} // namespace

TEST(DialogUnits, FontGivesWindowsLikeBaseUnitsAndRectanglesScaleWithThem) {
    TestDialog dialog;
    dialog.Create();
    const QSize base = dialog.BaseUnits();
    EXPECT_NEAR(base.width(), 6, 1);
    EXPECT_NEAR(base.height(), 13, 1);
    // x px = du * baseX / 4, y px = du * baseY / 8, rounded as MulDiv rounds.
    const QRect r = dialog.MapDialogRect(QRect(10, 30, 60, 14));
    EXPECT_EQ(r, QRect(qRound(10 * base.width() / 4.0), qRound(30 * base.height() / 8.0),
                       qRound(60 * base.width() / 4.0), qRound(14 * base.height() / 8.0)));
    EXPECT_EQ(dialog.GetDlgItem(101)->geometry(), r);
    EXPECT_EQ(dialog.size(), dialog.MapDialogRect(QRect(0, 0, 200, 200)).size());
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << "fixed size";
}

TEST(DialogTemplate, ControlsAreFoundByIdentifierWithTheirStyles) {
    TestDialog dialog;
    dialog.Create();
    EXPECT_EQ(dialog.GetDlgItemText(100), "&Go");
    EXPECT_TRUE(dialog.IsReadOnly(101));
    EXPECT_FALSE(dialog.IsReadOnly(111));
    EXPECT_FALSE(dialog.IsItemShown(110));
    EXPECT_FALSE(dialog.IsItemEnabled(110));
    EXPECT_TRUE(dialog.IsItemShown(100));
    EXPECT_EQ(dialog.GetDlgItem(999), nullptr);
    EXPECT_EQ(dialog.GetDlgItem(IDC_STATIC), nullptr);
    EXPECT_NE(dialog.Item<DateTimePicker>(107), nullptr);
    EXPECT_FALSE(dialog.Item<DateTimePicker>(107)->IsTimePicker());
    EXPECT_TRUE(dialog.Item<DateTimePicker>(108)->IsTimePicker());
    EXPECT_EQ(dialog.GetDlgItemText(999), "");
}

TEST(DialogTemplate, MultiLineEditKeepsWindowsLineBreaks) {
    TestDialog dialog;
    dialog.Create();
    dialog.SetDlgItemText(102, "one\r\ntwo\r\nthree");
    EXPECT_EQ(dialog.GetDlgItemText(102), "one\r\ntwo\r\nthree");
    EXPECT_EQ(dialog.GetLineCount(102), 3);
}

TEST(EventTable, ClicksReachTheirHandlersAndOthersDoNot) {
    TestDialog dialog;
    dialog.Create();
    QTest::mouseClick(dialog.GetDlgItem(100), Qt::LeftButton);
    EXPECT_EQ(dialog.SendMessage(kWindow, WM_USER + 1, 6, 0), 7) << "handler sets the result";
    EXPECT_EQ(dialog.SendMessage(4242, BN_CLICKED), 0);
    ASSERT_EQ(dialog.seen.size(), 2u);
    EXPECT_EQ(dialog.seen[0], std::make_pair(100, BN_CLICKED));
    EXPECT_EQ(dialog.seen[1], std::make_pair(0, WM_USER + 1));
    EXPECT_EQ(dialog.last.wParam, 6u);
}

TEST(EventTable, EnterEndsWithIdOkAfterDataExchangeAndEscapeWithIdCancel) {
    TestDialog dialog;
    dialog.Create();
    ShowActive(dialog);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), IDCANCEL);

    ShowActive(dialog);
    dialog.GotoDlgCtrl(111); // not a push button, which would take Enter itself
    dialog.SetDlgItemText(112, "11");
    {
        MessageBoxAnswer ok(IDOK);
        QTest::keyClick(&dialog, Qt::Key_Return);
        ASSERT_EQ(ok.asked.size(), 1u);
        EXPECT_EQ(ok.asked[0].text, "Please enter an integer between 0 and 10.");
        EXPECT_EQ(ok.asked[0].caption, "ZRNcom");
        EXPECT_TRUE(dialog.isVisible()) << "a failed exchange keeps the dialog open";
        dialog.SetDlgItemText(112, "x");
        QTest::keyClick(&dialog, Qt::Key_Return);
        ASSERT_EQ(ok.asked.size(), 2u);
        EXPECT_EQ(ok.asked[1].text, "Please enter an integer.");
    }
    dialog.SetDlgItemText(112, " 9 ");
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), IDOK);
    EXPECT_EQ(dialog.number, 9);
}

TEST(EventTable, EnterOnAFocusedPushButtonClicksIt) {
    TestDialog dialog;
    dialog.Create();
    ShowActive(dialog);
    dialog.GotoDlgCtrl(100);
    QTest::keyClick(dialog.GetDlgItem(100), Qt::Key_Return);
    ASSERT_EQ(dialog.seen.size(), 1u);
    EXPECT_EQ(dialog.seen[0], std::make_pair(100, BN_CLICKED));
    EXPECT_TRUE(dialog.isVisible());
}

TEST(EventTable, CloseFromTheWindowManagerIsTheCloseCommand) {
    TestDialog dialog;
    dialog.Create();
    ShowActive(dialog);
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), IDCANCEL);
}

TEST(EventTable, AutoRadioButtonsCheckOnlyWithinTheirGroup) {
    TestDialog dialog;
    dialog.Create();
    dialog.CheckDlgButton(106, 1);
    QTest::mouseClick(dialog.GetDlgItem(104), Qt::LeftButton);
    QTest::mouseClick(dialog.GetDlgItem(103), Qt::LeftButton);
    EXPECT_EQ(dialog.IsDlgButtonChecked(103), 1);
    EXPECT_EQ(dialog.IsDlgButtonChecked(104), 0);
    EXPECT_EQ(dialog.IsDlgButtonChecked(105), 0);
    EXPECT_EQ(dialog.IsDlgButtonChecked(106), 1) << "another group";
    // Unchecking every button of the group is possible, as on Windows.
    dialog.CheckDlgButton(103, 0);
    EXPECT_EQ(dialog.IsDlgButtonChecked(103), 0);
}

TEST(EventTable, EditFocusNotifiesAndARefusingControlGivesTheFocusBack) {
    TestDialog dialog;
    dialog.Create();
    dialog.RefuseFocus(102);
    ShowActive(dialog);
    dialog.GotoDlgCtrl(101);
    dialog.GotoDlgCtrl(111);
    ASSERT_GE(dialog.seen.size(), 2u);
    EXPECT_EQ(dialog.seen[0], std::make_pair(101, EN_SETFOCUS));
    EXPECT_EQ(dialog.seen[1], std::make_pair(101, EN_KILLFOCUS));
    QTest::mouseClick(dialog.GetDlgItem(102), Qt::LeftButton);
    dialog.GotoDlgCtrl(102);
    EXPECT_EQ(QApplication::focusWidget(), dialog.GetDlgItem(111));
}

TEST(Timers, PeriodIsHeldWithinWindowsBoundsAndTicksArriveAsWmTimer) {
    TestDialog dialog;
    dialog.Create();
    EXPECT_TRUE(dialog.SetTimer(5, 0));
    EXPECT_EQ(dialog.TimerInterval(5), 10);
    EXPECT_TRUE(dialog.SetTimer(6, 0xFFFFFFFFu));
    EXPECT_EQ(dialog.TimerInterval(6), 0x7FFFFFFF);
    EXPECT_TRUE(dialog.KillTimer(6));
    EXPECT_FALSE(dialog.KillTimer(6));
    EXPECT_EQ(dialog.TimerInterval(6), -1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.seen.empty(); }, 2000));
    EXPECT_EQ(dialog.seen[0], std::make_pair(0, WM_TIMER));
    EXPECT_EQ(dialog.last.wParam, 5u);
}

TEST(MessageBoxes, HookSeesTextCaptionAndFlags) {
    MessageBoxAnswer answer(IDNO);
    EXPECT_EQ(MessageBox(nullptr, "Save?", {}, MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2),
              IDNO);
    EXPECT_EQ(MessageBox(nullptr, "x", "Other"), IDNO);
    ASSERT_EQ(answer.asked.size(), 2u);
    EXPECT_EQ(answer.asked[0].caption, "ZRNcom");
    EXPECT_EQ(answer.asked[0].flags, MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2);
    EXPECT_EQ(answer.asked[1].caption, "Other");
}

TEST(MessageBoxes, RealBoxMapsTheClickedButtonToItsWindowsAnswer) {
    int answer = 0;
    QTimer::singleShot(0, [] {
        ASSERT_TRUE(
            QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }, 3000));
        auto* box = QApplication::activeModalWidget();
        for (auto* button : box->findChildren<QAbstractButton*>()) {
            if (button->text() == "&No")
                button->click();
        }
    });
    answer = MessageBox(nullptr, "Question", {}, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(answer, IDNO);
}

TEST(Menus, WindowMenuSendsItsCommandsAsSystemCommands) {
    struct MenuDialog : TestDialog {
        std::vector<uintptr_t> commands;
        bool OnMessage(Notify& n) override {
            if (n.code == WM_SYSCOMMAND)
                commands.push_back(n.wParam);
            return false;
        }
    } dialog;
    dialog.Create();
    dialog.GetSystemMenu().AppendMenu(MF_SEPARATOR, 0, {});
    dialog.GetSystemMenu().AppendMenu(MF_STRING, 16, "&About...");
    const auto& items = dialog.GetSystemMenu().Items();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].id, SC_CLOSE);
    EXPECT_EQ(items[1].id, 0u);
    EXPECT_EQ(items[2].text, "&About...");
    PopupMenuAnswer choose(16);
    dialog.ShowSystemMenu(QPoint(0, 0));
    ASSERT_EQ(choose.asked.size(), 1u);
    EXPECT_EQ(choose.asked[0].items.size(), 3u);
    ASSERT_EQ(dialog.commands.size(), 1u);
    EXPECT_EQ(dialog.commands[0], 16u);
}

TEST(Menus, WindowMenuOpensFromItsButtonAndWithAltSpace) {
    TestDialog dialog;
    dialog.Create();
    ShowActive(dialog);
    PopupMenuAnswer dismiss(0);
    QTest::keyClick(&dialog, Qt::Key_Space, Qt::AltModifier);
    auto* button = dialog.findChild<QToolButton*>();
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->geometry().topLeft(), QPoint(1, 1));
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(dismiss.asked.size(), 2u);
    EXPECT_EQ(dialog.seen.size(), 0u) << "a dismissed menu sends no command";
}

TEST(ListBoxes, SortedItemsAndOnlyTheUsersChoiceNotifies) {
    TestDialog dialog;
    dialog.Create();
    ShowActive(dialog);
    auto* list = dialog.Item<QListWidget>(113);
    for (const char* port : {"COM2", "COM10", "COM1"})
        list->addItem(port);
    EXPECT_EQ(list->item(0)->text(), "COM1");
    EXPECT_EQ(list->item(1)->text(), "COM10");
    list->setCurrentRow(2);
    EXPECT_TRUE(dialog.seen.empty());
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Up);
    ASSERT_EQ(dialog.seen.size(), 1u);
    EXPECT_EQ(dialog.seen[0], std::make_pair(113, LBN_SELCHANGE));
    EXPECT_EQ(list->currentRow(), 1);
}

TEST(Pickers, DayCountsFromTheZeroDate) {
    EXPECT_EQ(DateTimeFromOleDate(0), QDateTime(QDate(1899, 12, 30), QTime(0, 0)));
    EXPECT_EQ(DateTimeFromOleDate(1.5), QDateTime(QDate(1899, 12, 31), QTime(12, 0)));
    EXPECT_EQ(DateTimeFromOleDate(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    EXPECT_DOUBLE_EQ(OleDateFromDateTime(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
    EXPECT_DOUBLE_EQ(OleDateFromDateTime(QDateTime(QDate(2000, 1, 1), QTime(18, 0))), 36526.75);
}

TEST(Pickers, SettingAValueIsSilentTheUsersChangeNotifiesWithItsFields) {
    TestDialog dialog;
    dialog.Create();
    auto* picker = dialog.Item<DateTimePicker>(107);
    picker->SetValue(QDateTime(QDate(2026, 12, 6), QTime(14, 5, 9)));
    EXPECT_TRUE(dialog.seen.empty());
    picker->setDate(QDate(2026, 12, 7));
    ASSERT_EQ(dialog.seen.size(), 1u);
    EXPECT_EQ(dialog.seen[0], std::make_pair(107, DTN_DATETIMECHANGE));
    EXPECT_EQ(dialog.last.year, 2026);
    EXPECT_EQ(dialog.last.month, 12);
    EXPECT_EQ(dialog.last.day, 7);
    EXPECT_EQ(dialog.last.hour, 14) << "a date picker keeps the time of its value";
    EXPECT_EQ(dialog.last.second, 9);
}

TEST(Pickers, CalendarDropDownAndCloseUpNotify) {
    TestDialog dialog;
    dialog.Create();
    ShowActive(dialog);
    auto* picker = dialog.Item<DateTimePicker>(107);
    picker->ShowDropDown(true);
    EXPECT_TRUE(picker->IsDroppedDown());
    picker->ShowDropDown(false);
    EXPECT_FALSE(picker->IsDroppedDown());
    std::vector<int> codes;
    for (const auto& [id, code] : dialog.seen)
        if (id == 107)
            codes.push_back(code);
    EXPECT_EQ(codes, (std::vector<int>{DTN_DROPDOWN, DTN_CLOSEUP}));
}

TEST(Pickers, WindowsFormatsBecomeDisplayFormats) {
    TestDialog dialog;
    dialog.Create();
    auto* picker = dialog.Item<DateTimePicker>(108);
    picker->SetFormat("H:mm:ss");
    picker->SetValue(QDateTime(QDate(1899, 12, 30), QTime(0, 15, 0)));
    EXPECT_EQ(picker->text(), "0:15:00");
    picker->SetFormat("mm:ss");
    picker->SetValue(QDateTime(QDate(1899, 12, 30), QTime(0, 2, 5)));
    EXPECT_EQ(picker->text(), "02:05");
    EXPECT_EQ(picker->Format(), "mm:ss");
    picker->SetFormat("h:mm:ss tt");
    picker->SetValue(QDateTime(QDate(1899, 12, 30), QTime(13, 5, 0)));
    EXPECT_EQ(picker->text(), "1:05:00 PM");
}

TEST(ListViews, ReportRowsCarryTextsImagesAndDataAndClicksNameTheRow) {
    TestDialog dialog;
    dialog.Create();
    ShowActive(dialog);
    auto* list = dialog.Item<ListView>(109);
    list->SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    list->InsertColumn(0, "A", 60);
    list->InsertColumn(1, "B", 60);
    EXPECT_EQ(list->InsertItem(0, "first", 1), 0);
    EXPECT_EQ(list->InsertItem(1, "second", 0), 1);
    list->SetItemText(1, 1, "x");
    list->SetItemData(1, 2);
    EXPECT_EQ(list->GetItemText(1, 1), "x");
    EXPECT_EQ(list->GetItemData(1), 2);
    EXPECT_EQ(list->ItemImage(0), 1);
    EXPECT_TRUE(list->showGrid());
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);

    const QRect second = list->visualRect(list->model()->index(1, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(list->SelectedRows(), std::vector<int>{1});
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, QPoint(5, second.bottom() + 6));
    // The click below the rows names no row.
    ASSERT_FALSE(dialog.seen.empty());
    EXPECT_EQ(dialog.seen.back(), std::make_pair(109, NM_RCLICK));
    EXPECT_EQ(dialog.last.row, -1);
    EXPECT_EQ(dialog.seen.front(), std::make_pair(109, NM_CLICK));
    list->DeleteAllItems();
    EXPECT_EQ(list->GetItemCount(), 0);
}

TEST(ListViews, AKeyThatMovesTheSelectionNamesTheNewRowAndOneRowStaysSelected) {
    TestDialog dialog;
    dialog.Create();
    ShowActive(dialog);
    auto* list = dialog.Item<ListView>(109);
    list->SetExtendedStyle(LVS_EX_FULLROWSELECT);
    list->InsertColumn(0, "A", 60);
    for (int row = 0; row < 3; ++row)
        list->InsertItem(row, "row", -1);
    EXPECT_EQ(list->ItemImage(0), -1) << "a row may have no image";
    list->SetItemState(0, true, true);
    list->SetItemState(2, true, true);
    EXPECT_EQ(list->SelectedRows(), std::vector<int>{2}) << "single selection, as LVS_SINGLESEL";
    list->setFocus();
    dialog.seen.clear();
    QTest::keyClick(list, Qt::Key_Up);
    ASSERT_EQ(dialog.seen, (std::vector<std::pair<int, int>>{{109, LVN_KEYSELECT}}));
    EXPECT_EQ(dialog.last.row, 1);
    EXPECT_EQ(list->SelectedRows(), std::vector<int>{1});
    QTest::keyClick(list, Qt::Key_Shift); // moves nothing: tells nothing
    EXPECT_EQ(dialog.seen.size(), 1u);
}

TEST(Pickers, ARangeKeepsEveryValueAndStepInside) {
    TestDialog dialog;
    dialog.Create();
    auto* picker = dialog.Item<DateTimePicker>(107);
    picker->SetRange({2000, 1, 1, 0, 0, 0}, {2037, 12, 31, 23, 59, 59});
    picker->SetValue(QDateTime(QDate(2040, 5, 1), QTime(8, 0)));
    EXPECT_EQ(picker->Value().date().year(), 2037);
    picker->SetValue(QDateTime(QDate(2037, 6, 1), QTime(8, 0)));
    picker->setCurrentSection(QDateTimeEdit::YearSection);
    QTest::keyClick(picker, Qt::Key_Up);
    EXPECT_EQ(picker->Value().date().year(), 2037) << "a step stops at the last year";
}

TEST(ImageLists, MaskColourBecomesTransparent) {
    QPixmap bitmap(16, 16);
    bitmap.fill(QColor(255, 0, 255));
    ImageList list(QSize(16, 16));
    EXPECT_EQ(list.Add(bitmap, QColor(255, 0, 255)), 0);
    const QImage image = list.Image(0).toImage();
    EXPECT_EQ(qAlpha(image.pixel(3, 3)), 0);
}

TEST(DebugOutput, TracesReachTheInstalledSink) {
    DebugCapture capture;
    DebugTrace("Processing Response: %c\r\n", 'X');
    OutputDebugString("plain\n");
    EXPECT_EQ(capture.Text(), "Processing Response: X\r\nplain\n");
}

namespace {

struct LinkFixture : ::testing::Test {
    static intptr_t SendFromWorker(unsigned msg) {
        ZrnWindow& window = LinkWindow::Instance();
        std::atomic<intptr_t> result{-1};
        std::atomic<bool> done{false};
        std::thread worker([&] {
            result = window.sendMessage(&window, msg, 6, 0);
            done = true;
        });
        const bool finished = QTest::qWaitFor([&] { return done.load(); }, 5000);
        worker.join();
        EXPECT_TRUE(finished);
        return result;
    }
};

} // namespace

TEST_F(LinkFixture, WorkerCallIsHandledOnTheGuiThreadAndWaitsForTheResult) {
    QObject owner;
    std::thread::id handledOn;
    LinkWindow::Instance().Attach(&owner, [&](unsigned msg, uintptr_t wParam, intptr_t) {
        handledOn = std::this_thread::get_id();
        return static_cast<intptr_t>(msg + wParam);
    });
    EXPECT_EQ(SendFromWorker(1025), 1031);
    EXPECT_EQ(handledOn, std::this_thread::get_id());

    ZrnWindow& window = LinkWindow::Instance();
    EXPECT_EQ(window.sendMessage(&window, 1, 2, 0), 3) << "GUI thread calls are direct";
}

TEST_F(LinkFixture, AfterDetachOrTheReceiversEndCallsReturnAtOnce) {
    {
        QObject owner;
        LinkWindow::Instance().Attach(&owner,
                                      [](unsigned, uintptr_t, intptr_t) { return intptr_t{5}; });
    }
    EXPECT_EQ(SendFromWorker(1025), 0);
    ZrnWindow& window = LinkWindow::Instance();
    EXPECT_EQ(window.sendMessage(&window, 1, 2, 0), 0);
}

TEST_F(LinkFixture, DetachingAnOwnerThatIsNoLongerAttachedLeavesTheNewOne) {
    QObject first;
    QObject second;
    LinkWindow::Instance().Attach(&first,
                                  [](unsigned, uintptr_t, intptr_t) { return intptr_t{1}; });
    LinkWindow::Instance().Attach(&second,
                                  [](unsigned, uintptr_t, intptr_t) { return intptr_t{2}; });
    LinkWindow::Instance().Detach(&first);
    EXPECT_EQ(SendFromWorker(1025), 2);
    LinkWindow::Instance().Detach(&second);
    EXPECT_EQ(SendFromWorker(1025), 0);
}

TEST_F(LinkFixture, CallPendingWhenTheReceiverEndsIsReleased) {
    auto owner = std::make_unique<QObject>();
    bool handled = false;
    LinkWindow::Instance().Attach(owner.get(), [&](unsigned, uintptr_t, intptr_t) {
        handled = true;
        return intptr_t{5};
    });
    ZrnWindow& window = LinkWindow::Instance();
    std::atomic<bool> done{false};
    std::atomic<intptr_t> result{-1};
    std::thread worker([&] {
        result = window.sendMessage(&window, 1025, 0, 0);
        done = true;
    });
    // The GUI thread runs no loop here, so the call stays queued until the owner goes.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (LinkWindow::PendingCalls() == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    EXPECT_EQ(LinkWindow::PendingCalls(), 1);
    owner.reset();
    worker.join();
    EXPECT_FALSE(handled);
    EXPECT_EQ(result, 0);
}
