// The maker's web page: the desktop opener, else the BROWSER command; the popup menus.
#include "DialogFixture.h"
#include "EnvGuard.h"

#include "resources/Resources.h"
#include "shell/AboutBox.h"

#include <QFile>
#include <QTimer>
#include <optional>

namespace {

// The details dialog is modal: close it as soon as it is up.
void CloseNextModal() {
    QTimer::singleShot(0, [] {
        if (QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }, 3000))
            QApplication::activeModalWidget()->close();
    });
}

class WebPageTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        QDir(scratch.path()).mkdir("bin");
        // No xdg-open unless a test puts one.
        path.emplace("PATH", scratch.filePath("bin").toLocal8Bit().constData());
        browser.emplace("BROWSER", nullptr);
    }
    void TearDown() override {
        browser.reset();
        path.reset();
        DialogTest::TearDown();
    }
    // A program that writes its arguments, one a line, to `out`.
    QString Script(const QString& name, const QString& out) {
        const QString path = scratch.filePath("bin/" + name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(("#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > '" + out +
                    ".tmp'\n/bin/mv '" + out + ".tmp' '" + out + "'\n")
                       .toLocal8Bit());
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }
    QString WaitFor(const QString& out) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(out); }, 10000));
        QFile file(out);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    std::optional<EnvGuard> path;
    std::optional<EnvGuard> browser;
};

} // namespace

TEST_F(WebPageTest, BannerClickHandsTheAddressToTheDesktopOpener) {
    CZRNcomDlg& dlg = Make();
    const QString out = scratch.filePath("opened");
    Script("xdg-open", out);
    QTest::mouseClick(dlg.GetDlgItem(IDC_BANNER), Qt::LeftButton);
    EXPECT_EQ(WaitFor(out), QString::fromUtf8(kMakerWebPage.data(), kMakerWebPage.size()) + "\n");
}

TEST_F(WebPageTest, WithoutAnOpenerTheBrowserCommandGetsTheAddressInPlaceOfItsPlaceholder) {
    Make();
    const QString out = scratch.filePath("browsed");
    const QString browser = Script("browser", out);
    qputenv("BROWSER", (browser + " --new-window \"%1\"").toLocal8Bit());
    EXPECT_GT(OpenUrl("https://example.org/a b", 5), 31);
    EXPECT_EQ(WaitFor(out), "--new-window\nhttps://example.org/a\nb\n");
}

TEST_F(WebPageTest, AnOpenerThatStartsButFailsLeavesTheAddressToTheBrowserCommand) {
    Make();
    QFile opener(scratch.filePath("bin/xdg-open"));
    ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
    opener.write("#!/bin/sh\nexit 4\n"); // no handler for the address
    opener.close();
    opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString out = scratch.filePath("browsed");
    qputenv("BROWSER", (Script("browser", out) + " \"%1\"").toLocal8Bit());
    EXPECT_GT(OpenUrl("https://example.org/page", 5), 32);
    EXPECT_EQ(WaitFor(out), "https://example.org/page\n");
}

TEST_F(WebPageTest, WithNeitherNothingStartsAndTheOpenersFailureIsReturned) {
    Make();
    EXPECT_LE(OpenUrl("https://example.org/", 5), 32);
}

TEST(PopupMenus, EntryMenusHoldTheirItemsInOrder) {
    struct Expected {
        int id;
        std::vector<unsigned> items;
    } menus[] = {
        {IDR_MENU_ENTRY_ADD, {32792}},
        {IDR_MENU_ENTRY_DISABLED, {32793, 32794, 32795, 0, 32798, 0, 32792}},
        {IDR_MENU_ENTRY_ENABLED, {32796, 32794, 32795, 0, 32799, 0, 32792}},
    };
    for (const Expected& expected : menus) {
        const MenuTemplate* menu = LoadMenu(expected.id);
        ASSERT_NE(menu, nullptr);
        std::vector<unsigned> ids;
        for (const MenuItem& item : menu->items)
            ids.push_back(item.id);
        EXPECT_EQ(ids, expected.items) << expected.id;
    }
    ASSERT_GE(LoadMenu(IDR_MENU_ENTRY_ENABLED)->items.size(), 1u);
    ASSERT_GE(LoadMenu(IDR_MENU_ENTRY_DISABLED)->items.size(), 2u);
    EXPECT_EQ(LoadMenu(IDR_MENU_ENTRY_ENABLED)->items[0].text, "&Deactivate");
    EXPECT_EQ(LoadMenu(IDR_MENU_ENTRY_DISABLED)->items[1].text, "D&elete");
    EXPECT_EQ(LoadMenu(IDR_MENU_ENTRY_DISABLED)->popup, "EntryDisabled");
    EXPECT_EQ(LoadMenu(158), nullptr);
}

TEST_F(DialogTest, MenuCommandsReachTheSameHandlersAsTheButtons) {
    CZRNcomDlg& dlg = Make();
    dlg.link.bLinkOpen = 1;
    MessageBoxAnswer yes(win::IDYES);
    // What each handler writes with no row selected and no device clock; the
    // download shows as its first query.
    struct Pair {
        int command, button;
        const char* trace;
    } pairs[] = {
        {32792, 1055, "Add: waiting for the ZRN clock"},
        {32794, 1056, "ZRNcom/OnBnClickedButtonDelete;"},
        {32793, 1043, "ZRNcom/OnBnClickedButtonEnable;"},
        {32796, 1047, "ZRNcom/OnBnClickedButtonDisable;"},
        {32795, 1057, "ZRNcom/OnBnClickedButtonProperties;"},
        {1042, 1046, nullptr},
    };
    for (const Pair& p : pairs) {
        for (int id : {p.command, p.button}) {
            debug.Clear();
            if (p.button == IDC_BUTTON_PROPERTIES)
                CloseNextModal();
            LinkRecorder::sent.clear();
            dlg.SendMessage(id, win::BN_CLICKED);
            if (p.trace)
                EXPECT_TRUE(debug.Contains(p.trace)) << id;
            else
                EXPECT_EQ(LinkRecorder::sent.size(), 36u) << id;
        }
    }
}

TEST_F(DialogTest, EntryMenusShowTheirFirstCommandInBoldAndDeliverTheChoice) {
    CZRNcomDlg& dlg = Make();
    struct Case {
        int menu;
        unsigned defaultId, chosen;
        const char* trace;
    } cases[] = {
        {IDR_MENU_ENTRY_ADD, 32792, 32792, "Add: waiting for the ZRN clock"},
        {IDR_MENU_ENTRY_DISABLED, 32793, 32793, "ZRNcom/OnBnClickedButtonEnable;"},
        {IDR_MENU_ENTRY_ENABLED, 32796, 32795, "ZRNcom/OnBnClickedButtonProperties;"},
    };
    for (const Case& c : cases) {
        PopupMenuAnswer choose(c.chosen);
        debug.Clear();
        if (c.chosen == ID_ENTRY_PROPERTIES)
            CloseNextModal();
        dlg.TrackMenu(*LoadMenu(c.menu), QPoint(10, 20));
        ASSERT_EQ(choose.asked.size(), 1u);
        EXPECT_EQ(choose.asked[0].defaultId, c.defaultId);
        EXPECT_EQ(choose.asked[0].screenPos, QPoint(10, 20));
        EXPECT_TRUE(debug.Contains(c.trace)) << c.menu;
    }
    PopupMenuAnswer dismiss(0);
    debug.Clear();
    dlg.TrackMenu(*LoadMenu(IDR_MENU_ENTRY_ADD), QPoint());
    EXPECT_EQ(debug.Text(), "") << "a dismissed menu sends nothing";
}
