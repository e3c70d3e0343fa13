// The connect dialog: its list, its order, its choice and its fallback.
#include "EnvGuard.h"
#include "platform/Win.h"
#include "ports/OpenZrn.h"

#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace win;

namespace {

std::vector<std::string> Shown(COpenZrn& dialog) {
    std::vector<std::string> items;
    auto* list = dialog.Item<QListWidget>(IDC_PORT_LIST);
    for (int row = 0; row < list->count(); ++row)
        items.push_back(list->item(row)->text().toStdString());
    return items;
}

// Runs the dialog modally and presses a button of it once it is up.
int RunAndPress(COpenZrn& dialog, int button, std::function<void()> before = {}) {
    QTimer::singleShot(0, &dialog, [&dialog, button, before] {
        if (before)
            before();
        dialog.SendMessage(button, BN_CLICKED);
    });
    return dialog.DoModal();
}

void Choose(COpenZrn& dialog, int row) {
    auto* list = dialog.Item<QListWidget>(IDC_PORT_LIST);
    list->setFocus(); // only the user's choice notifies
    list->setCurrentRow(row);
    dialog.SendMessage(IDC_PORT_LIST, LBN_SELCHANGE);
}

} // namespace

TEST(OpenZrn, ListIsSortedAsASortedListBoxSortsAndTheFirstIsPreselected) {
    EnvGuard ports("ZRNCOM_PORTS", "COM1:COM3:COM10:com2");
    COpenZrn dialog;
    EXPECT_EQ(RunAndPress(dialog, IDOK), IDOK);
    EXPECT_EQ(Shown(dialog), (std::vector<std::string>{"COM1", "COM10", "com2", "COM3"}));
    EXPECT_EQ(dialog.strPortDefinition, "COM1:9600,N,8,1");
}

TEST(OpenZrn, SelectionChangesTheDefinition) {
    EnvGuard ports("ZRNCOM_PORTS", "/dev/ttyUSB0:/dev/ttyACM0:/dev/ttyUSB1");
    COpenZrn dialog;
    EXPECT_EQ(RunAndPress(dialog, IDOK, [&] { Choose(dialog, 2); }), IDOK);
    ASSERT_EQ(Shown(dialog).size(), 3u);
    EXPECT_EQ(Shown(dialog)[2], "/dev/ttyUSB1");
    EXPECT_EQ(dialog.strPortDefinition, "/dev/ttyUSB1:9600,N,8,1");
}

TEST(OpenZrn, EmptyListFallsBackToTheFirstSerialDevice) {
    EnvGuard ports("ZRNCOM_PORTS", "");
    COpenZrn dialog;
    EXPECT_EQ(RunAndPress(dialog, IDOK), IDOK);
    EXPECT_TRUE(Shown(dialog).empty());
    EXPECT_EQ(dialog.strPortDefinition, "/dev/ttyS0:9600,N,8,1");
}

TEST(OpenZrn, EveryRunListsThePortsAfreshAndCancelReportsCancel) {
    COpenZrn dialog;
    {
        EnvGuard ports("ZRNCOM_PORTS", "/dev/ttyUSB0");
        EXPECT_EQ(RunAndPress(dialog, IDCANCEL), IDCANCEL);
    }
    EnvGuard ports("ZRNCOM_PORTS", "/dev/ttyACM0:/dev/ttyACM1");
    EXPECT_EQ(RunAndPress(dialog, IDOK), IDOK);
    EXPECT_EQ(Shown(dialog), (std::vector<std::string>{"/dev/ttyACM0", "/dev/ttyACM1"}));
    EXPECT_EQ(dialog.strPortDefinition, "/dev/ttyACM0:9600,N,8,1");
}

TEST(OpenZrn, TemplateHasItsCaptionsAndSize) {
    EnvGuard ports("ZRNCOM_PORTS", "");
    COpenZrn dialog;
    dialog.Create();
    EXPECT_EQ(dialog.windowTitle(), "Dialog");
    EXPECT_EQ(dialog.GetDlgItemText(IDOK), "OK");
    EXPECT_EQ(dialog.GetDlgItemText(IDCANCEL), "Cancel");
    // OK is drawn as the default button, Cancel is not.
    EXPECT_TRUE(dialog.Item<QPushButton>(IDOK)->isDefault());
    EXPECT_FALSE(dialog.Item<QPushButton>(IDCANCEL)->isDefault());
    EXPECT_EQ(dialog.size(), dialog.MapDialogRect(QRect(0, 0, 186, 100)).size());
}
