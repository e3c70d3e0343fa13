// A port the user may not open, chosen by hand: a box says which group grants
// it and how to join, every time; the log box says it once.
#include "PanelTestAccess.h"
#include "DialogHarness.h"
#include "PortRights.h"
#include "TestSupport.h"
#include "ports/OpenZrn.h"

#include <QListWidget>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <pwd.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// The effective user of the whole process, for a while (the real one stays root).
class EffectiveUser {
public:
    explicit EffectiveUser(uid_t uid) { ok = ::seteuid(uid) == 0; }
    ~EffectiveUser() {
        if (ok)
            (void)::seteuid(0);
    }
    bool ok = false;
};

TEST(PortHint, ARefusedChosenPortNamesItsGroupInABoxAndOnceInTheLogBox) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "acting as another user needs root";
    const passwd* nobody = ::getpwnam("nobody");
    ASSERT_NE(nobody, nullptr);
    const PortGroup portGroup = SerialPortGroup();
    const fs::path port = fs::temp_directory_path() / ("zrn-port-" + std::to_string(::getpid()));
    {
        std::FILE* f = std::fopen(port.c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fclose(f);
    }
    ASSERT_EQ(::chown(port.c_str(), 0, portGroup.id), 0);
    ASSERT_EQ(::chmod(port.c_str(), 0660), 0);

    DialogHarness h;
    EnvGuard ports("ZRNCOM_PORTS", port.c_str());
    LinkRecorder::openResult = 0; // as the library answers a port it may not open
    MessageBoxAnswer answer(win::IDOK);
    {
        EffectiveUser user(nobody->pw_uid);
        ASSERT_TRUE(user.ok);
        for (int attempt = 0; attempt < 2; ++attempt) {
            QTimer::singleShot(0, &h.dlg(), [&h] {
                PanelTestAccess::openZrn(h.dlg().panels.ports)
                    .SendMessage(win::IDOK, win::BN_CLICKED);
            });
            h.dlg().SendMessage(kWindow, win::WM_SYSCOMMAND, IDM_ZRN_CONNECT);
        }
    }
    fs::remove(port);
    ASSERT_EQ(answer.asked.size(), 2u);
    for (const auto& box : answer.asked) {
        EXPECT_NE(box.text.find("group \"" + portGroup.name + "\""), std::string::npos) << box.text;
        EXPECT_NE(box.text.find("sudo usermod -aG " + portGroup.name + " $USER"),
                  std::string::npos);
        EXPECT_NE(box.flags & win::MB_ICONWARNING, 0u);
    }
    EXPECT_EQ(Count(h.dlg().GetDlgItemText(IDC_LOG), "No permission to open " + port.string()), 1u);
}

TEST(PortHint, APortThatIsMissingOrOpenableAsksNothing) {
    DialogHarness h;
    EnvGuard ports("ZRNCOM_PORTS", "/dev/zrn-no-such-port");
    LinkRecorder::openResult = 0;
    MessageBoxAnswer answer(win::IDOK);
    QTimer::singleShot(0, &h.dlg(), [&h] {
        PanelTestAccess::openZrn(h.dlg().panels.ports).SendMessage(win::IDOK, win::BN_CLICKED);
    });
    h.dlg().SendMessage(kWindow, win::WM_SYSCOMMAND, IDM_ZRN_CONNECT);
    EXPECT_TRUE(answer.asked.empty());
    EXPECT_EQ(h.dlg().GetDlgItemText(IDC_LOG).find("No permission"), std::string::npos);
}

} // namespace
