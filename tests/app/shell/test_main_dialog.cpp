// The main dialog: its controls, initialisation, button rule, shell handlers.
#include "PanelTestAccess.h"
#include "DialogFixture.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTabBar>
#include <QTimer>

using namespace win;

namespace {

enum class K {
    Button,
    ReadOnlyEdit,
    Edit,
    MultiLineLog,
    DatePicker,
    TimePicker,
    Radio,
    Check,
    List,
    Tab,
    Picture
};

struct ControlRow {
    int id;
    K kind;
    const char* caption; // nullptr: not checked
    bool shown;
    int x, y, cx, cy; // dialog units; cx -1: only the position is fixed
};

// Every control of the main dialog as it must be after start-up.
const ControlRow kControls[] = {
    {1080, K::Picture, nullptr, true, 194, 10, 246, 31},
    {1015, K::DatePicker, nullptr, false, 35, 48, 60, 15},
    {1016, K::TimePicker, nullptr, false, 95, 48, 60, 15},
    {1048, K::ReadOnlyEdit, nullptr, true, 35, 48, 60, 14},
    {1058, K::ReadOnlyEdit, nullptr, true, 95, 48, 60, 14},
    {1079, K::Button, "X", false, 155, 48, 15, 15},
    {1036, K::ReadOnlyEdit, nullptr, true, 35, 68, 60, 14},
    {1049, K::ReadOnlyEdit, nullptr, true, 95, 68, 60, 14},
    {1034, K::Button, "&Update ZRN Clock", true, 175, 48, 100, 14},
    {1035, K::Button, "Synchronize &ZRN clock to PC", true, 175, 68, 100, 14},
    {1054, K::ReadOnlyEdit, "", true, 295, 68, 40, 14},
    {1046, K::Button, "Schedule &Refresh", true, 355, 48, 85, 14},
    {1102, K::Button, "E&XIT", true, 355, 68, 85, 14},
    {1094, K::ReadOnlyEdit, nullptr, true, 86, 85, 20, 12},
    {1095, K::ReadOnlyEdit, nullptr, true, 156, 85, 20, 12},
    {1099, K::ReadOnlyEdit, nullptr, true, 240, 84, -1, -1},
    {1100, K::ReadOnlyEdit, nullptr, true, 320, 84, -1, -1},
    {1101, K::ReadOnlyEdit, nullptr, true, 404, 84, -1, -1},
    {1000, K::List, nullptr, true, 10, 100, 430, 65},
    {1019, K::DatePicker, nullptr, true, 63, 195, -1, -1},
    {1020, K::TimePicker, nullptr, true, 123, 195, -1, -1},
    {1021, K::DatePicker, nullptr, true, 63, 218, -1, -1},
    {1022, K::TimePicker, nullptr, true, 123, 218, -1, -1},
    {1023, K::Radio, "15 min", true, -1, -1, -1, -1},
    {1026, K::Radio, "30 min", true, -1, -1, -1, -1},
    {1027, K::Radio, "1 hour", true, -1, -1, -1, -1},
    {1025, K::Radio, "24 hours", true, -1, -1, -1, -1},
    {1028, K::Radio, "Custom", true, -1, -1, -1, -1},
    {1055, K::Button, "Add", true, 341, 187, -1, -1},
    {1056, K::Button, "Delete", true, 392, 187, -1, -1},
    {1042, K::Button, "D&iscard", true, 360, 204, 50, 14},
    {1043, K::Button, "Acti&vate", true, 341, 221, -1, -1},
    {1047, K::Button, "&Deactivate", true, 381, 221, -1, -1},
    {1037, K::TimePicker, nullptr, true, 71, 261, -1, -1},
    {1039, K::TimePicker, nullptr, true, 171, 261, -1, -1},
    {1038, K::TimePicker, nullptr, true, 71, 282, -1, -1},
    {1040, K::TimePicker, nullptr, true, 171, 282, -1, -1},
    {1030, K::ReadOnlyEdit, nullptr, true, 289, 261, -1, -1},
    {1032, K::ReadOnlyEdit, nullptr, true, 289, 282, -1, -1},
    {1045, K::Button, "&Clear All Schedules", true, 351, 249, 78, 14},
    {1041, K::Button, "&Save", true, 364, 275, 50, 14},
    // Below the visible area
    {1050, K::Button, "Schedule", true, -1, 334, -1, -1},
    {1051, K::Button, "Clock", true, -1, 334, -1, -1},
    {1052, K::Button, "Voltages", true, -1, 334, -1, -1},
    {1053, K::Button, "Version", true, -1, 334, -1, -1},
    {1057, K::Button, "Properties", true, -1, 334, -1, -1},
    {1084, K::Check, nullptr, true, -1, 334, -1, -1},
    {1033, K::ReadOnlyEdit, "", true, -1, -1, -1, -1},
    {1005, K::MultiLineLog, nullptr, true, 21, 375, 283, 33},
    {1010, K::Button, "Clear Log", true, -1, -1, -1, -1},
    {1007, K::Button, "Styles...", false, -1, -1, -1, -1},
    {1006, K::Button, "Extended Styles...", false, -1, -1, -1, -1},
    {1009, K::Button, "Get Selected", false, -1, -1, -1, -1},
    {1001, K::Tab, nullptr, false, -1, -1, -1, -1},
    {1002, K::Edit, "10", true, -1, -1, -1, -1},
    {1004, K::Edit, "0", true, -1, -1, -1, -1},
};

bool IsKind(QWidget* w, K kind) {
    switch (kind) {
    case K::Button:
        return qobject_cast<QPushButton*>(w) != nullptr;
    case K::ReadOnlyEdit:
        return qobject_cast<QLineEdit*>(w) && qobject_cast<QLineEdit*>(w)->isReadOnly();
    case K::Edit:
        return qobject_cast<QLineEdit*>(w) && !qobject_cast<QLineEdit*>(w)->isReadOnly();
    case K::MultiLineLog:
        return qobject_cast<QPlainTextEdit*>(w) && qobject_cast<QPlainTextEdit*>(w)->isReadOnly();
    case K::DatePicker:
        return dynamic_cast<DateTimePicker*>(w) &&
               !dynamic_cast<DateTimePicker*>(w)->IsTimePicker();
    case K::TimePicker:
        return dynamic_cast<DateTimePicker*>(w) && dynamic_cast<DateTimePicker*>(w)->IsTimePicker();
    case K::Radio:
        return qobject_cast<QRadioButton*>(w) != nullptr;
    case K::Check:
        return qobject_cast<QCheckBox*>(w) != nullptr;
    case K::List:
        return dynamic_cast<ListView*>(w) != nullptr;
    case K::Tab:
        return qobject_cast<QTabBar*>(w) != nullptr;
    case K::Picture:
        return dynamic_cast<PictureControl*>(w) != nullptr;
    }
    return false;
}

} // namespace

TEST_F(DialogTest, EveryControlHasItsKindCaptionVisibilityAndPlace) {
    CZRNcomDlg& dlg = Make();
    for (const ControlRow& row : kControls) {
        SCOPED_TRACE(row.id);
        QWidget* widget = dlg.GetDlgItem(row.id);
        ASSERT_NE(widget, nullptr);
        EXPECT_TRUE(IsKind(widget, row.kind));
        if (row.caption) {
            EXPECT_EQ(Text(row.id), row.caption);
        }
        EXPECT_EQ(dlg.IsItemShown(row.id), row.shown);
        const QRect du = dlg.TemplateRect(row.id);
        if (row.x >= 0) {
            EXPECT_EQ(du.x(), row.x);
        }
        if (row.y >= 0) {
            EXPECT_EQ(du.y(), row.y);
        }
        if (row.cx >= 0) {
            EXPECT_EQ(du.size(), QSize(row.cx, row.cy));
        }
        EXPECT_EQ(widget->geometry(), dlg.MapDialogRect(du));
        // Controls below the client area exist but are clipped.
        EXPECT_EQ(du.y() >= 317, widget->geometry().top() >= dlg.height());
    }
    // The radio buttons lie in the "Select Interval" group.
    const QRect group = dlg.MapDialogRect(QRect(205, 184, 110, 55));
    for (int id : {1023, 1026, 1027, 1025, 1028})
        EXPECT_TRUE(group.contains(dlg.GetDlgItem(id)->geometry())) << id;
    EXPECT_EQ(dlg.GetDlgItem(1024), nullptr) << "the 45-minute preset has no button";
}

TEST_F(DialogTest, LabelsAndGroupsCarryTheirCaptions) {
    CZRNcomDlg& dlg = Make();
    QStringList texts;
    for (auto* label : dlg.findChildren<QLabel*>())
        texts << label->text();
    for (auto* group : dlg.findChildren<QGroupBox*>())
        texts << group->title();
    for (const char* caption :
         {"Version:", "Address: ", "Delay: ", "Valve secs:", "Hold secs:", "Pump secs:",
          "Start Date:", "Stop Date:", "Select Interval", "Custom Schedule", "Interval",
          "Open Valve", "Sample Holding", "Pump ON", "Battery Voltage", "External", "Internal",
          "Select Item:", "Number of items:"})
        EXPECT_TRUE(texts.contains(caption)) << caption;
}

TEST_F(DialogTest, WindowIsFixedSizeWithCaptionAndBothIconSizes) {
    CZRNcomDlg& dlg = Make();
    EXPECT_EQ(dlg.windowTitle(), "QUORVANEX");
    EXPECT_EQ(dlg.size(), dlg.MapDialogRect(QRect(0, 0, 450, 317)).size());
    EXPECT_EQ(dlg.minimumSize(), dlg.maximumSize());
    const QList<QSize> sizes = dlg.windowIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
}

TEST_F(DialogTest, InitialisationBuildsMenuListPickersAndTimers) {
    CZRNcomDlg& dlg = Make();
    ASSERT_FALSE(debug.Lines().empty());
    EXPECT_EQ(debug.Lines().front(), "ZRNcom/OnInitDialog; Entry\n");

    const auto& menu = dlg.GetSystemMenu().Items();
    ASSERT_EQ(menu.size(), 10u);
    EXPECT_EQ(menu[0].id, SC_CLOSE);
    const std::pair<unsigned, std::string_view> appended[] = {{0, ""},
                                                              {17, "&SDI Information..."},
                                                              {0, ""},
                                                              {18, "&ZRN Connect"},
                                                              {0, ""},
                                                              {16, "&About ZRNcom..."},
                                                              {0, ""},
                                                              {19, "Export schedules..."},
                                                              {20, "Import schedules..."}};
    for (size_t i = 0; i < std::size(appended); ++i) {
        EXPECT_EQ(menu[i + 1].id, appended[i].first);
        EXPECT_EQ(menu[i + 1].text, appended[i].second);
    }

    ListView* list = dlg.Item<ListView>(IDC_LIST_CTRL);
    EXPECT_TRUE(list->GetStyle() & LVS_REPORT);
    EXPECT_TRUE(list->GetStyle() & LVS_SHOWSELALWAYS);
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_TRUE(list->showGrid());
    const char* headings[] = {"Status",    "Start Date", "Start Time",
                              "Stop Date", "Stop Time",  "Interval"};
    ASSERT_EQ(list->ColumnCount(), 6);
    const int w = list->ClientWidth();
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(list->ColumnHeading(c), headings[c]);
        EXPECT_EQ(list->columnWidth(c), c < 5 ? w / 6 : w - 5 * (w / 6)) << c;
    }
    EXPECT_EQ(list->GetImageList(ListView::Small).Count(), 2);
    EXPECT_EQ(list->GetImageList(ListView::Normal).Count(), 2);
    EXPECT_EQ(list->GetImageList(ListView::Normal).Size(), QSize(32, 32));
    EXPECT_EQ(list->GetItemCount(), 0);

    auto* tab = dlg.Item<QTabBar>(IDC_TAB);
    ASSERT_EQ(tab->count(), 4);
    EXPECT_EQ(tab->tabText(1), "Small Icon");
    EXPECT_EQ(tab->tabText(3), "Details");

    EXPECT_EQ(dlg.Item<DateTimePicker>(IDC_INTERVAL)->Format(), "H:mm:ss");
    for (int id : {IDC_SAMPLE_HOLDING, IDC_OPEN_VALVE, IDC_PUMP_ON})
        EXPECT_EQ(dlg.Item<DateTimePicker>(id)->Format(), "mm:ss");
    for (int id : {1019, 1020, 1021, 1022, 1037, 1038, 1039, 1040})
        EXPECT_FALSE(dlg.IsItemEnabled(id)) << id;

    EXPECT_EQ(dlg.TimerInterval(TIMER_ONE_SEC), 1000);
    EXPECT_EQ(dlg.TimerInterval(TIMER_POLLING), 5000);
    EXPECT_TRUE(debug.Contains("ZRNcom/OnStartPollingTimer; 5000\n"));
}

TEST_F(DialogTest, InitialisationEmptiesTheTableAndShowsStatusAndPresetValues) {
    CZRNcomDlg& dlg = Make();
    EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).bScheduleReady, 1);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).table[i].nNumber, i + 1);
        EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).table[i].chStatus, '0');
        EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).nRowEntry[i], -1);
    }
    EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).nSelectedRow, -1);
    EXPECT_EQ(Text(IDC_EXTERNAL_VOLTS), "0.00");
    EXPECT_EQ(Text(IDC_INTERNAL_VOLTS), "0.00");
    EXPECT_EQ(Text(IDC_VERSION), "");
    EXPECT_TRUE(QRegularExpression("^\\d\\d/\\d\\d/\\d{4}$")
                    .match(QString::fromStdString(Text(IDC_PC_DATE)))
                    .hasMatch());
    EXPECT_TRUE(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d (AM|PM)$")
                    .match(QString::fromStdString(Text(IDC_PC_TIME)))
                    .hasMatch());
    EXPECT_EQ(Text(IDC_ZRN_DATE_TEXT), "");

    EXPECT_EQ(PanelTestAccess::nIntervalPreset(dlg.panels.schedule.Intervals()), 0);
    EXPECT_TRUE(debug.Contains("SetRadioBoxParameters: Interval15Min\n"));
    EXPECT_EQ(Text(IDC_INTERVAL), "0:15:00");
    EXPECT_EQ(Text(IDC_OPEN_VALVE), "02:00");
    EXPECT_EQ(Text(IDC_SAMPLE_HOLDING), "01:00");
    EXPECT_EQ(Text(IDC_PUMP_ON), "01:00");
    EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).edit.tsInterval, 900);
    EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).edit.tsOpenValve, 120);
    EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).edit.tsSampleHolding, 60);
    EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).edit.tsPumpOn, 60);
}

TEST_F(DialogTest, ProfileIsReadFromTheWorkingDirectoryEachTime) {
    WriteIni("[SYSTEM]\nPollingTime=5\n[Interval15Min]\nPumpOnMin=3\nOpenValveSec=75\n");
    CZRNcomDlg& dlg = Make();
    EXPECT_EQ(dlg.TimerInterval(TIMER_POLLING), 500) << "raised to what the link carries";
    EXPECT_EQ(Text(IDC_PUMP_ON), "03:00");
    EXPECT_EQ(Text(IDC_OPEN_VALVE), "02:00") << "75 seconds cannot show; the default is used";
    EXPECT_EQ(Text(IDC_SAMPLE_HOLDING), "01:00");

    // The registered message re-applies the preset from the file as it is now.
    WriteIni("[interval15min]\npumponmin=4\n");
    EXPECT_EQ(dlg.SendMessage(kWindow, WM_ZRNCOMDLGSETINTERVALS), 0);
    EXPECT_EQ(Text(IDC_PUMP_ON), "04:00");
    EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).edit.tsPumpOn, 240);
}

TEST_F(DialogTest, SwitchesAreFoundAnywhereInTheCommandLineAndTheLogIsSwitchedOnce) {
    struct Case {
        const char* line;
        bool editSdi, logComm, noScan;
    } cases[] = {
        {"/usr/bin/ZRNcom", false, false, false},
        {"/usr/bin/ZRNcom -LOG_COMM", false, true, false},
        {"/usr/bin/ZRNcom -log_comm", false, false, false},
        {"/opt/-NO_SCAN_COMM_PORTS/ZRNcom x-EDIT_SDI_INFOx", true, false, true},
        {"ZRNcom -LOG_COMM -LOG_COMM -NO_SCAN_COMM_PORTS", false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        LinkRecorder::logCalls.clear();
        CZRNcomDlg dlg(c.line);
        EXPECT_EQ(dlg.options.bEditSdiInfo, c.editSdi);
        EXPECT_EQ(PanelTestAccess::sdiInfoDlg(dlg.panels.settings).bEditable, c.editSdi ? 1 : 0);
        EXPECT_EQ(dlg.options.bLogComm, c.logComm);
        EXPECT_EQ(dlg.options.bNoScanCommPorts, c.noScan);
        EXPECT_EQ(LinkRecorder::logCalls, std::vector<bool>{c.logComm});
        EXPECT_EQ(dlg.options.strIniFile, "./ZRNcom.ini");
        EXPECT_EQ(dlg.options.strFileVersion, "2.1");
    }
}

TEST_F(DialogTest, EnterAndEscapeDoNothingExitAndCloseEndTheDialog) {
    CZRNcomDlg& dlg = Make();
    Show();
    dlg.GotoDlgCtrl(IDC_SELECT_ITEM);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTest::keyClick(&dlg, Qt::Key_Enter);
    EXPECT_TRUE(dlg.isVisible());

    dlg.close(); // the window manager's close button
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), IDCANCEL);

    Show();
    dlg.SendMessage(kWindow, WM_SYSCOMMAND, SC_CLOSE | 0x2);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), IDCANCEL);

    Show();
    QTest::mouseClick(dlg.GetDlgItem(IDC_EXIT), Qt::LeftButton);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), IDOK);
}

TEST_F(DialogTest, ExitStaysWhileAHiddenIntegerBoxIsInvalid) {
    CZRNcomDlg& dlg = Make();
    Show();
    MessageBoxAnswer ok(IDOK);
    dlg.SetDlgItemText(IDC_SELECT_ITEM, "abc");
    dlg.SendMessage(IDC_EXIT, BN_CLICKED);
    dlg.SetDlgItemText(IDC_SELECT_ITEM, "10");
    dlg.SetDlgItemText(IDC_NUMBER_OF_ITEMS, "32568");
    dlg.SendMessage(IDC_EXIT, BN_CLICKED);
    EXPECT_TRUE(dlg.isVisible());
    ASSERT_EQ(ok.asked.size(), 2u);
    EXPECT_EQ(ok.asked[0].text, "Please enter an integer.");
    EXPECT_EQ(ok.asked[1].text, "Please enter an integer between 0 and 32567.");
    dlg.SetDlgItemText(IDC_NUMBER_OF_ITEMS, "32567");
    dlg.SendMessage(IDC_EXIT, BN_CLICKED);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.controls.nNumberOfItems, 32567);
}

TEST_F(DialogTest, ShowingTheWindowChecksFifteenMinutesWithoutUncheckingOthers) {
    CZRNcomDlg& dlg = Make();
    dlg.CheckDlgButton(IDC_RADIO_CUSTOM, 1);
    Show();
    EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_RADIO_15MIN), 1);
    EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_RADIO_CUSTOM), 1);
}

TEST_F(DialogTest, AppendLogJoinsLinesEchoesThemAndScrollsToTheNewest) {
    CZRNcomDlg& dlg = Make();
    dlg.SendMessage(IDC_CLEAR_LOG, BN_CLICKED);
    EXPECT_EQ(Text(IDC_LOG), "");
    debug.Clear();
    dlg.AppendLog("first");
    EXPECT_EQ(Text(IDC_LOG), "first");
    dlg.AppendLog("second");
    EXPECT_EQ(Text(IDC_LOG), "first\r\nsecond");
    EXPECT_EQ(debug.Text(), "first\nsecond\n");
    for (int i = 0; i < 40; ++i)
        dlg.AppendLog("line " + std::to_string(i));
    auto* box = dlg.Item<QPlainTextEdit>(IDC_LOG);
    EXPECT_GT(box->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(dlg.FirstVisibleLine(IDC_LOG), box->verticalScrollBar()->maximum());
    dlg.SendMessage(IDC_CLEAR_LOG, BN_CLICKED);
    EXPECT_EQ(Text(IDC_LOG), "");
}

TEST_F(DialogTest, GetSelectedNamesTheSelectedRow) {
    CZRNcomDlg& dlg = Make();
    dlg.SendMessage(IDC_GET_SELECTED, BN_CLICKED);
    EXPECT_TRUE(Text(IDC_LOG).ends_with("There are no selected items"));
    ListView* list = dlg.Item<ListView>(IDC_LIST_CTRL);
    list->InsertItem(0, "Active", 0);
    list->InsertItem(1, "Inactive", 1);
    list->SetItemState(1, true, true);
    dlg.SendMessage(IDC_GET_SELECTED, BN_CLICKED);
    EXPECT_TRUE(Text(IDC_LOG).ends_with("Selected items: 1"));
}

TEST_F(DialogTest, CheckBoxRereadsTheBoundControls) {
    CZRNcomDlg& dlg = Make();
    dlg.SetDlgItemText(IDC_SDI_DELAY, "123");
    QTest::mouseClick(dlg.GetDlgItem(IDC_CHECK), Qt::LeftButton);
    EXPECT_EQ(dlg.controls.nCheck, 1);
    EXPECT_EQ(PanelTestAccess::strSdiDelay(dlg.panels.settings), "123");
}

TEST_F(DialogTest, LogBoxGivesTheFocusBack) {
    CZRNcomDlg& dlg = Make();
    Show();
    dlg.GotoDlgCtrl(IDC_SELECT_ITEM);
    QTest::mouseClick(dlg.Item<QPlainTextEdit>(IDC_LOG)->viewport(), Qt::LeftButton);
    dlg.GotoDlgCtrl(IDC_LOG);
    EXPECT_EQ(QApplication::focusWidget(), dlg.GetDlgItem(IDC_SELECT_ITEM));
}

TEST_F(DialogTest, AboutBoxShowsTheVersionEveryTime) {
    CZRNcomDlg& dlg = Make();
    std::vector<QString> seen;
    for (int i = 0; i < 2; ++i) {
        QTimer::singleShot(0, [&] {
            ASSERT_TRUE(
                QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }, 3000));
            auto* about = dynamic_cast<CDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(about, nullptr);
            seen.push_back(about->windowTitle() + "|" +
                           QString::fromStdString(about->GetDlgItemText(IDC_ABOUT_VERSION)));
            QTest::keyClick(about, Qt::Key_Escape);
        });
        dlg.SendMessage(kWindow, WM_SYSCOMMAND, IDM_ABOUTBOX);
    }
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], "About ZRNcom|QUORVANEX ZRNcom Version 2.1");
    EXPECT_EQ(seen[1], seen[0]);
}

TEST_F(DialogTest, WindowMenuCommandsOfLaterPanelsReachTheirHandlers) {
    CZRNcomDlg& dlg = Make();
    PopupMenuAnswer choose(IDM_ZRN_CONNECT);
    // The port selection dialog is modal: cancel it once it is up.
    QTimer::singleShot(0, &dlg, [&dlg] {
        PanelTestAccess::openZrn(dlg.panels.ports).SendMessage(IDCANCEL, BN_CLICKED);
    });
    dlg.ShowSystemMenu(QPoint(0, 0));
    EXPECT_TRUE(debug.Contains("ZRNcom/OnZrnConnect;"));
    // So is "SDI Information".
    bool shown = false;
    QTimer::singleShot(0, &dlg, [&dlg, &shown] {
        shown = PanelTestAccess::sdiInfoDlg(dlg.panels.settings).isVisible();
        PanelTestAccess::sdiInfoDlg(dlg.panels.settings).SendMessage(IDCANCEL, BN_CLICKED);
    });
    dlg.SendMessage(kWindow, WM_SYSCOMMAND, IDM_SDI_INFO);
    EXPECT_TRUE(shown);
}
