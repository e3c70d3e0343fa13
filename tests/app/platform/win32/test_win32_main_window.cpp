// The real main dialog as a Windows window: the link's notifications sent from
// another thread to its handle, native focus changes in the SDI row, a mouse
// click in the schedule list and the real system menu.
#include "LinkRecorder.h"
#include "PanelTestAccess.h"
#include "MessagePump.h"
#include "TestSupport.h"
#include "ZRNComDll.h"
#include "platform/Dialog.h"
#include "platform/LinkWindow.h"
#include "platform/Win.h"
#include "protocol/LinkApi.h"
#include "resources/Resource.h"
#include "shell/ZRNcomDlg.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

using namespace win;
using namespace std::chrono_literals;

namespace {

using Commands = LinkRecorder::Commands;

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        dialog = std::make_unique<CZRNcomDlg>("ZRNcom -NO_SCAN_COMM_PORTS");
        ASSERT_TRUE(dialog->Create());
        dialog->KillTimer(TIMER_ONE_SEC);
        dialog->KillTimer(TIMER_POLLING);
        dialog->link.bLinkOpen = 1;
        dialog->ShowWindow(true);
        ::SetForegroundWindow(dialog->m_hWnd);
        ::SetActiveWindow(dialog->m_hWnd);
        Pump();
    }
    void TearDown() override { dialog.reset(); }
    // A reply as the link library sends it: SendMessageA from its worker thread.
    void WorkerReply(const char* text) {
        std::atomic<bool> done{false};
        HWND target = LinkTarget(*dialog);
        std::thread worker([&] {
            ::SendMessageA(target, WM_ZRN_LINK, LINK_REPLY, reinterpret_cast<LPARAM>(text));
            done = true;
        });
        EXPECT_TRUE(PumpUntil([&] { return done.load(); }));
        worker.join();
    }
    Commands Take() { return LinkRecorder::TakeSent(); }

    LinkRecorder link;
    DebugCapture debug;
    std::unique_ptr<CZRNcomDlg> dialog;
};

TEST_F(MainWindow, LinkRepliesFromTheWorkerReachTheDialogsWindow) {
    EXPECT_EQ(LinkTarget(*dialog), dialog->m_hWnd);
    WorkerReply("A3");
    EXPECT_EQ(dialog->GetDlgItemText(IDC_SDI_ADDRESS), "3");
    WorkerReply("C|05/20/26|10:07:30|");
    EXPECT_NE(PanelTestAccess::tZrnClock(dialog->panels.clock), 0);
}

TEST_F(MainWindow, ADetachedDialogAnswersTheLinkWithoutHandlingIt) {
    DetachLink(*dialog);
    WorkerReply("A3");
    EXPECT_EQ(dialog->GetDlgItemText(IDC_SDI_ADDRESS), "");
    AttachLink(*dialog);
    WorkerReply("A4");
    EXPECT_EQ(dialog->GetDlgItemText(IDC_SDI_ADDRESS), "4");
}

TEST_F(MainWindow, SdiAddressGoesOutWhenTheFocusReallyLeavesIt) {
    WorkerReply("A3");
    Take();
    dialog->GotoDlgCtrl(IDC_SDI_ADDRESS);
    Pump();
    ASSERT_TRUE(dialog->ItemHasFocus(IDC_SDI_ADDRESS));
    EXPECT_FALSE(dialog->IsReadOnly(IDC_SDI_ADDRESS));
    dialog->SetDlgItemText(IDC_SDI_ADDRESS, "5");
    dialog->GotoDlgCtrl(IDC_VERSION); // a read-only box outside the row
    Pump();
    EXPECT_EQ(Take(), (Commands{"A5", "A"}));
    EXPECT_TRUE(dialog->IsReadOnly(IDC_SDI_ADDRESS));
}

TEST_F(MainWindow, AMouseClickInTheListSelectsTheEntry) {
    for (const char* reply :
         {"S3BD|06/10/26|", "S3BT|13:05:00|", "S3ED|06/17/26|", "S3ET|13:05:00|", "S3I|00:15:00|",
          "S3V|00:01:30|", "S3H|00:01:00|", "S3P|00:01:00|", "S3D"})
        WorkerReply(reply);
    ListView& list = *dialog->Item<ListView>(IDC_LIST_CTRL);
    ASSERT_EQ(list.GetItemCount(), 1);
    RECT item{LVIR_LABEL, 0, 0, 0};
    ::SendMessageW(list.Handle(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM(item.left + 4, (item.top + item.bottom) / 2);
    ::PostMessageW(list.Handle(), WM_LBUTTONUP, 0, at);
    ::SendMessageW(list.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    EXPECT_TRUE(PumpUntil(
        [&] { return PanelTestAccess::sched(dialog->panels.schedule).nSelectedRow == 0; }));
    EXPECT_EQ(list.SelectedRows(), std::vector<int>{0});
    EXPECT_TRUE(dialog->IsItemEnabled(IDC_BUTTON_ENABLE));
}

// The port dialog from the system menu runs modally inside the main window's
// handler, the main window disabled, and Cancel opens nothing.
TEST_F(MainWindow, ConnectRunsThePortDialogModallyOverTheMainWindow) {
    Take();
    std::atomic<bool> mainWasDisabled{false};
    std::atomic<bool> answered{false};
    HWND main = dialog->m_hWnd;
    std::thread user([&] {
        for (int i = 0; i < 500 && !answered; ++i) {
            HWND box = ::FindWindowW(nullptr, L"Dialog");
            if (box != nullptr && ::IsWindowVisible(box)) {
                mainWasDisabled = !::IsWindowEnabled(main);
                ::PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
                answered = true;
            }
            ::Sleep(10);
        }
    });
    ::SendMessageW(main, WM_SYSCOMMAND, IDM_ZRN_CONNECT, 0);
    user.join();
    EXPECT_TRUE(answered);
    EXPECT_TRUE(mainWasDisabled);
    EXPECT_TRUE(::IsWindowEnabled(main));
    EXPECT_FALSE(::IsWindowVisible(PanelTestAccess::openZrn(dialog->panels.ports).m_hWnd));
    EXPECT_TRUE(Take().empty()) << "Cancel opens no port and sends nothing";
}

TEST_F(MainWindow, TheRealSystemMenuCarriesThePanelsCommands) {
    HMENU menu = ::GetSystemMenu(dialog->m_hWnd, FALSE);
    ASSERT_NE(menu, nullptr);
    wchar_t text[64] = {};
    ASSERT_GT(::GetMenuStringW(menu, IDM_ABOUTBOX, text, 64, MF_BYCOMMAND), 0);
    EXPECT_EQ(std::wstring(text), L"&About ZRNcom...");
    ASSERT_GT(::GetMenuStringW(menu, IDM_SDI_INFO, text, 64, MF_BYCOMMAND), 0);
    EXPECT_EQ(std::wstring(text), L"&SDI Information...");
    // The plan files come last, export before import.
    const int count = ::GetMenuItemCount(menu);
    EXPECT_EQ(::GetMenuItemID(menu, count - 2), IDM_EXPORT_SCHEDULES);
    EXPECT_EQ(::GetMenuItemID(menu, count - 1), IDM_IMPORT_SCHEDULES);
    ASSERT_GT(::GetMenuStringW(menu, IDM_IMPORT_SCHEDULES, text, 64, MF_BYCOMMAND), 0);
    EXPECT_EQ(std::wstring(text), L"Import schedules...");
}

} // namespace
