// What a screen reader finds in each dialog, and the log box's line about the
// traffic log.
#include "DialogFixture.h"

#include "LogPlace.h"
#include "ports/OpenZrn.h"
#include "schedule/DetailsDialog.h"
#include "settings/SdiInfoDlg.h"
#include "shell/AboutBox.h"

#include <QAccessible>
#include <QLabel>
#include <QRadioButton>
#include <QToolButton>

namespace {

QString AccessibleName(QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face != nullptr ? face->text(QAccessible::Name) : QString();
}

// Every control of the dialog, and its window-menu button, has a name; radio
// buttons read as radio buttons.
void ExpectEveryControlNamed(CDialog& dialog) {
    const auto children = dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    ASSERT_FALSE(children.isEmpty());
    for (QWidget* child : children) {
        if (child->isWindow())
            continue; // a dialog the dialog owns, checked on its own
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(child);
        ASSERT_NE(face, nullptr) << child->metaObject()->className();
        EXPECT_FALSE(face->text(QAccessible::Name).trimmed().isEmpty())
            << dialog.windowTitle().toStdString() << ": a " << child->metaObject()->className()
            << " at " << child->x() << "," << child->y();
        EXPECT_FALSE(face->text(QAccessible::Name).contains(u'&'));
        if (qobject_cast<QRadioButton*>(child) != nullptr) {
            EXPECT_EQ(face->role(), QAccessible::RadioButton);
        }
    }
}

class Accessibility : public DialogTest {};

TEST_F(Accessibility, EveryControlOfTheMainDialogHasAName) {
    ExpectEveryControlNamed(Make());
}

TEST_F(Accessibility, EveryControlOfTheConnectAndAboutDialogsHasAName) {
    COpenZrn connect;
    connect.Create();
    ExpectEveryControlNamed(connect);
    EXPECT_EQ(AccessibleName(connect.GetDlgItem(IDC_PORT_LIST)), "Select Comm Port");
    CZRNcomAbout about;
    about.strVersion = "QUORVANEX ZRNcom Version 2.0";
    about.Create();
    ExpectEveryControlNamed(about);
}

TEST_F(Accessibility, EveryControlOfTheIdentificationAndDetailsDialogsHasAName) {
    CSdiInfoDlg ident;
    ident.Create();
    ExpectEveryControlNamed(ident);
    CZRNcomDlg& dlg = Make();
    CZRNcomProp details(dlg.panels.schedule);
    details.Create();
    ExpectEveryControlNamed(details);
}

TEST_F(Accessibility, ControlsTakeTheirLabelsOrTheirRoles) {
    CZRNcomDlg& dlg = Make();
    const std::pair<int, const char*> expected[] = {
        {IDC_SDI_ADDRESS, "Address"},   // "Address: "
        {IDC_VALVE_SECS, "Valve secs"}, // "Valve secs:"
        {IDC_VERSION, "Version"},       // "Version:"
        {IDC_START_DATE, "Start Date"}, // "Start Date:"
        {IDC_START_TIME, "Start Time"}, // shares the label: named by its role
        {IDC_SAMPLE_HOLDING, "Sample Holding"},
        {IDC_SELECT_ITEM, "Select Item"},
        {IDC_ZRN_DATE_TEXT, "ZRN date"},
        {IDC_PC_TIME, "PC time"},
        {IDC_LIST_CTRL, "Schedules"},
        {IDC_LOG, "Log"},
        {IDC_UPDATE_ZRN_CLOCK, "Update ZRN Clock"}, // a button names itself
        {IDC_RADIO_1HOUR, "1 hour"},
    };
    for (const auto& [id, name] : expected)
        EXPECT_EQ(AccessibleName(dlg.GetDlgItem(id)), name) << id;
    // The label leads to its control, so a mnemonic in it would move the focus there.
    bool found = false;
    for (QLabel* label : dlg.findChildren<QLabel*>())
        if (label->text() == "Address: ") {
            found = true;
            EXPECT_EQ(label->buddy(), dlg.GetDlgItem(IDC_SDI_ADDRESS));
        }
    EXPECT_TRUE(found);
    auto* menuButton = dlg.findChild<QToolButton*>();
    ASSERT_NE(menuButton, nullptr);
    EXPECT_EQ(AccessibleName(menuButton), "Window menu");
}

TEST_F(Accessibility, AltLetterMnemonicsStillWork) {
    CZRNcomDlg& dlg = Make();
    Show();
    QTest::keyClick(&dlg, Qt::Key_X, Qt::AltModifier); // "E&XIT"
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dlg.isVisible(); }, 5000));
    EXPECT_EQ(dlg.result(), win::IDOK);
}

class TrafficLogNote : public DialogTest {
protected:
    std::string LogBox() { return dialog->GetDlgItemText(IDC_LOG); }
};

TEST_F(TrafficLogNote, TheLogBoxSaysOnceWhereTheLogIs) {
    Link().log = [](bool enable) { return enable ? 1 : 0; };
    Make("/usr/bin/ZRNcom -LOG_COMM");
    const std::string note = "Traffic log in " + *zrn::TrafficLogDirectory();
    const std::string box = LogBox();
    ASSERT_NE(box.find(note), std::string::npos) << box;
    EXPECT_EQ(box.find(note), box.rfind(note));
}

TEST_F(TrafficLogNote, SaysSoWhenNoLogCouldBeWritten) {
    Link().log = [](bool) { return 0; };
    Make("/usr/bin/ZRNcom -LOG_COMM");
    EXPECT_NE(LogBox().find("No traffic log"), std::string::npos) << LogBox();
}

TEST_F(TrafficLogNote, NothingWithoutTheSwitch) {
    Make("/usr/bin/ZRNcom");
    EXPECT_EQ(LogBox().find("raffic log"), std::string::npos) << LogBox();
}

} // namespace
