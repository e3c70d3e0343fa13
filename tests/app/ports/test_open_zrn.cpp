// The connect dialog: its list, its order, its choice and its fallback, a
// port typed in and the network ports it remembers.
#include "EnvGuard.h"
#include "Scratch.h"
#include "TestSupport.h"
#include "platform/Win.h"
#include "ports/NetworkPort.h"
#include "ports/OpenZrn.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

using namespace win;
namespace fs = std::filesystem;

namespace {

// The recent ports live in a folder of the test's own.
class OpenZrn : public ::testing::Test {
protected:
    OpenZrn() : config(scratch.Dir()), configHome("XDG_CONFIG_HOME", config.c_str()) {}

    fs::path RecentFile() const { return config / "ZRNcom" / "recent-ports"; }
    std::string Recent() const { return zrntest::ReadFile(RecentFile()); }

    zrntest::ScratchDir scratch{"zrn_open"};
    fs::path config;
    EnvGuard configHome;
};

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

TEST_F(OpenZrn, ListIsSortedAsASortedListBoxSortsAndTheFirstIsPreselected) {
    EnvGuard ports("ZRNCOM_PORTS", "COM1:COM3:COM10:com2");
    COpenZrn dialog;
    EXPECT_EQ(RunAndPress(dialog, IDOK), IDOK);
    EXPECT_EQ(Shown(dialog), (std::vector<std::string>{"COM1", "COM10", "com2", "COM3"}));
    EXPECT_EQ(dialog.strPortDefinition, "COM1:9600,N,8,1");
}

TEST_F(OpenZrn, SelectionChangesTheDefinition) {
    EnvGuard ports("ZRNCOM_PORTS", "/dev/ttyUSB0:/dev/ttyACM0:/dev/ttyUSB1");
    COpenZrn dialog;
    EXPECT_EQ(RunAndPress(dialog, IDOK, [&] { Choose(dialog, 2); }), IDOK);
    ASSERT_EQ(Shown(dialog).size(), 3u);
    EXPECT_EQ(Shown(dialog)[2], "/dev/ttyUSB1");
    EXPECT_EQ(dialog.strPortDefinition, "/dev/ttyUSB1:9600,N,8,1");
}

TEST_F(OpenZrn, EmptyListFallsBackToTheFirstSerialDevice) {
    EnvGuard ports("ZRNCOM_PORTS", "");
    COpenZrn dialog;
    EXPECT_EQ(RunAndPress(dialog, IDOK), IDOK);
    EXPECT_TRUE(Shown(dialog).empty());
    EXPECT_EQ(dialog.strPortDefinition, "/dev/ttyS0:9600,N,8,1");
}

TEST_F(OpenZrn, EveryRunListsThePortsAfreshAndCancelReportsCancel) {
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

TEST_F(OpenZrn, TemplateHasItsCaptionsAndSize) {
    EnvGuard ports("ZRNCOM_PORTS", "");
    COpenZrn dialog;
    dialog.Create();
    EXPECT_EQ(dialog.windowTitle(), "Dialog");
    EXPECT_EQ(dialog.GetDlgItemText(IDOK), "OK");
    EXPECT_EQ(dialog.GetDlgItemText(IDCANCEL), "Cancel");
    // OK is drawn as the default button, Cancel is not.
    EXPECT_TRUE(dialog.Item<QPushButton>(IDOK)->isDefault());
    EXPECT_FALSE(dialog.Item<QPushButton>(IDCANCEL)->isDefault());
    EXPECT_EQ(dialog.size(), dialog.MapDialogRect(QRect(0, 0, 246, 137)).size());
}

// A typed name wins over the list; a network name must be whole, and is kept.
TEST_F(OpenZrn, ATypedPortIsChosenAndANetworkPortIsRemembered) {
    const struct {
        const char* typed;
        const char* definition;
        const char* recent;
    } cases[] = {
        {"rfc2217://127.0.0.1:7000", "rfc2217://127.0.0.1:7000:9600,N,8,1",
         "rfc2217://127.0.0.1:7000\n"},
        {"  tcp://[::1]:4001?timeout=5 ", "tcp://[::1]:4001?timeout=5:9600,N,8,1",
         "tcp://[::1]:4001?timeout=5\nrfc2217://127.0.0.1:7000\n"},
        {"/dev/ttyUSB7", "/dev/ttyUSB7:9600,N,8,1",
         "tcp://[::1]:4001?timeout=5\nrfc2217://127.0.0.1:7000\n"},
        {"   ", "/dev/ttyACM0:9600,N,8,1",
         "tcp://[::1]:4001?timeout=5\nrfc2217://127.0.0.1:7000\n"},
    };
    EnvGuard ports("ZRNCOM_PORTS", "/dev/ttyACM0");
    COpenZrn dialog;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(RunAndPress(dialog, IDOK,
                              [&] {
                                  EXPECT_EQ(dialog.GetDlgItemText(IDC_NETWORK_PORT), "");
                                  QTest::keyClicks(dialog.Item<QLineEdit>(IDC_NETWORK_PORT),
                                                   c.typed);
                              }),
                  IDOK);
        EXPECT_EQ(dialog.strPortDefinition, c.definition);
        EXPECT_EQ(Recent(), c.recent);
    }
}

TEST_F(OpenZrn, ABadNetworkPortIsRefusedWithItsFormAndTheDialogStaysOpen) {
    EnvGuard ports("ZRNCOM_PORTS", "/dev/ttyACM0");
    MessageBoxAnswer boxes(IDOK);
    COpenZrn dialog;
    bool stayedOpen = false;
    EXPECT_EQ(RunAndPress(dialog, IDOK,
                          [&] {
                              auto* edit = dialog.Item<QLineEdit>(IDC_NETWORK_PORT);
                              QTest::keyClicks(edit, "tcp://gateway");
                              dialog.SendMessage(IDOK, BN_CLICKED);
                              stayedOpen = dialog.isVisible() && dialog.result() == 0;
                              EXPECT_EQ(edit->text(), "tcp://gateway");
                              edit->clear();
                              QTest::keyClicks(edit, "tcp://gateway:4001");
                          }),
              IDOK);
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(boxes.asked.size(), 1u);
    EXPECT_NE(boxes.asked[0].text.find("\"tcp://gateway\""), std::string::npos);
    EXPECT_NE(boxes.asked[0].text.find(zrn::NETWORK_PORT_FORM), std::string::npos);
    EXPECT_EQ(boxes.asked[0].flags & MB_ICONMASK, MB_ICONWARNING);
    EXPECT_EQ(dialog.strPortDefinition, "tcp://gateway:4001:9600,N,8,1");
    EXPECT_EQ(Recent(), "tcp://gateway:4001\n");
}

TEST_F(OpenZrn, RememberedPortsFollowTheSystemsPortsAndArePicked) {
    fs::create_directories(RecentFile().parent_path());
    std::ofstream(RecentFile()) << "tcp://b:2\nnot a port\nCOM3\ntcp://A:1\ntcp://a:1\n";
    EnvGuard ports("ZRNCOM_PORTS", "COM3;tcp://a:1;COM1");
    COpenZrn dialog;
    EXPECT_EQ(RunAndPress(dialog, IDOK, [&] { Choose(dialog, 3); }), IDOK);
    // The system's ports sorted as ever, then the others newest first.
    EXPECT_EQ(Shown(dialog), (std::vector<std::string>{"COM1", "COM3", "tcp://a:1", "tcp://b:2"}));
    EXPECT_EQ(dialog.strPortDefinition, "tcp://b:2:9600,N,8,1");
    EXPECT_EQ(Recent(), "tcp://b:2\nnot a port\nCOM3\ntcp://A:1\ntcp://a:1\n")
        << "a port picked is remembered once it opens, not before";
}
