// ZRNcom as a user without rights to a port and without a writable program
// folder, as after installing it: the operator is told once what to do about the
// port, the scan goes on to the next one, and the traffic log lands in the
// user's state folder.
#include "PortRights.h"
#include "SimProcess.h"
#include "ZrnComProcess.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

namespace fs = std::filesystem;

TEST(DesktopUser, PermissionHintOnceScanGoesOnLogInStateFolder) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "acting as another user needs root";
    const passwd* nobody = ::getpwnam("nobody");
    ASSERT_NE(nobody, nullptr);
    const uid_t uid = nobody->pw_uid;
    const gid_t gid = nobody->pw_gid;
    const PortGroup portGroup = SerialPortGroup();

    const fs::path home =
        fs::temp_directory_path() / ("zrncom-e2e-user-" + std::to_string(::getpid()));
    fs::create_directories(home);
    ASSERT_EQ(::chown(home.c_str(), uid, gid), 0);
    ::chmod(home.c_str(), 0700);

    zrnsim::SimProcess refused(ZRNSIM_PROGRAM, {});
    zrnsim::SimProcess working(ZRNSIM_PROGRAM, {});
    ASSERT_FALSE(refused.TerminalPath().empty());
    ASSERT_FALSE(working.TerminalPath().empty());
    ASSERT_EQ(::chown(refused.TerminalPath().c_str(), 0, portGroup.id), 0);
    ASSERT_EQ(::chmod(refused.TerminalPath().c_str(), 0660), 0);
    ASSERT_EQ(::chmod(working.TerminalPath().c_str(), 0666), 0);

    // The refused port twice, so the scan meets it again before the working one.
    const std::string ports =
        refused.TerminalPath() + ":" + refused.TerminalPath() + ":" + working.TerminalPath();
    const std::string state = home.string() + "/state";
    zrntest::ZrnComProcess program(zrntest::ZrnComRun{ZRNCOM_PROGRAM,
                                                      {"-LOG_COMM"},
                                                      {{"QT_QPA_PLATFORM", "offscreen"},
                                                       {"ZRNCOM_DEBUG", "1"},
                                                       {"ZRNCOM_PORTS", ports},
                                                       {"HOME", home.string()},
                                                       {"XDG_STATE_HOME", state}},
                                                      home.string()},
                                   std::pair{uid, gid});
    ASSERT_TRUE(program.Started());
    const auto fullRead = program.WaitFor("RES S4P", 30s);
    program.Stop();
    std::string debug;
    for (const auto& line : program.Lines())
        debug += line.text + "\n";
    ASSERT_TRUE(fullRead) << debug;

    EXPECT_EQ(Count(debug, "ScanNextPort; " + refused.TerminalPath() + ":9600,N,8,1, open = 0"), 2u)
        << debug;
    EXPECT_EQ(Count(debug, "No permission to open " + refused.TerminalPath()), 1u) << debug;
    EXPECT_NE(debug.find("group \"" + portGroup.name + "\""), std::string::npos) << debug;
    EXPECT_NE(debug.find("sudo usermod -aG " + portGroup.name + " $USER"), std::string::npos);

    // The build folder is root's: the log goes to the state folder, and the log box says so.
    EXPECT_NE(debug.find("Traffic log in " + state + "/ZRNcom/"), std::string::npos) << debug;
    std::vector<fs::path> logs;
    for (const auto& entry : fs::directory_iterator(state + "/ZRNcom"))
        logs.push_back(entry.path());
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_EQ(logs[0].extension(), ".LOG");
    const auto traffic = zrntest::ReadLogLines(logs[0]);
    EXPECT_NE(std::find(traffic.begin(), traffic.end(), "S4P"), traffic.end());
    struct stat info {};
    ASSERT_EQ(::stat(logs[0].c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, uid);
    fs::remove_all(home);
}

} // namespace
