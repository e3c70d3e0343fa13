#include "EnvGuard.h"
#include "Scratch.h"
#include "ports/NetworkPort.h"
#include "ports/RecentPortsFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <unistd.h>

using namespace zrn;
using namespace std::string_view_literals;
namespace fs = std::filesystem;

// The link judges the name (tests/link/test_port_name.cpp); the dialog adds
// only that a typed name carries no line settings.
TEST(NetworkPort, TheDialogTakesWhatTheLinkOpensAndNoLineSettings) {
    EXPECT_EQ(NetworkPortProblem("rfc2217://[::1]:7000?timeout=2"), std::nullopt);
    EXPECT_EQ(NetworkPortProblem("tcp://gw-3.field.example:4001"), std::nullopt);
    EXPECT_NE(NetworkPortProblem("tcp://gw:4001:9600,N,8,1"), std::nullopt);
    EXPECT_NE(NetworkPortProblem("telnet://gw:23"), std::nullopt);
    EXPECT_NE(NetworkPortProblem("/dev/ttyUSB0"), std::nullopt);
    EXPECT_EQ(NetworkPortProblem("tcp://gw:0"), "the TCP port must be a number from 1 to 65535");
}

TEST(RecentPorts, TheLatestComesFirstOnceAndTheOldestGo) {
    using List = std::vector<std::string>;
    const struct {
        List before;
        std::string_view port;
        List after;
    } cases[] = {
        {{}, "tcp://a:1", {"tcp://a:1"}},
        {{"tcp://a:1", "tcp://b:1"}, "tcp://c:1", {"tcp://c:1", "tcp://a:1", "tcp://b:1"}},
        {{"tcp://a:1", "tcp://b:1", "tcp://c:1"},
         "tcp://c:1",
         {"tcp://c:1", "tcp://a:1", "tcp://b:1"}},
        {{"tcp://a:1", "tcp://b:1"}, "tcp://a:1", {"tcp://a:1", "tcp://b:1"}},
        // Names differing in case only are one port; the newer spelling stays.
        {{"tcp://GW:1", "tcp://b:1"}, "tcp://gw:1", {"tcp://gw:1", "tcp://b:1"}},
        {{"tcp://h1:1", "tcp://h2:1", "tcp://h3:1", "tcp://h4:1", "tcp://h5:1"},
         "tcp://h6:1",
         {"tcp://h6:1", "tcp://h1:1", "tcp://h2:1", "tcp://h3:1", "tcp://h4:1"}},
        {{"tcp://h1:1", "tcp://h2:1", "tcp://h3:1", "tcp://h4:1", "tcp://h5:1"},
         "tcp://h5:1",
         {"tcp://h5:1", "tcp://h1:1", "tcp://h2:1", "tcp://h3:1", "tcp://h4:1"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RememberPort(c.before, c.port), c.after) << c.port;
}

TEST(RecentPorts, AFileIsReadForgivingly) {
    using List = std::vector<std::string>;
    const struct {
        std::string_view text;
        List ports;
    } cases[] = {
        {"", {}},
        {"tcp://a:1\nrfc2217://[::1]:7000\n", {"tcp://a:1", "rfc2217://[::1]:7000"}},
        {"tcp://a:1\r\nrfc2217://b:2\r\n", {"tcp://a:1", "rfc2217://b:2"}},
        {"  tcp://a:1 \n\n\n", {"tcp://a:1"}},
        {"tcp://a:1", {"tcp://a:1"}},
        {"/dev/ttyUSB0\ngarbage\ntcp://a:99999\ntcp://a:1\n", {"tcp://a:1"}},
        {"tcp://a:1\ntcp://A:1\ntcp://a:1\ntcp://b:1\n", {"tcp://a:1", "tcp://b:1"}},
        {"tcp://h1:1\ntcp://h2:1\ntcp://h3:1\ntcp://h4:1\ntcp://h5:1\ntcp://h6:1\n",
         {"tcp://h1:1", "tcp://h2:1", "tcp://h3:1", "tcp://h4:1", "tcp://h5:1"}},
        {"tcp://a:1\n\0\xff\ntcp://b:2"sv, {"tcp://a:1", "tcp://b:2"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseRecentPorts(c.text), c.ports) << testing::PrintToString(c.text);
}

namespace {

class RecentPortsFileTest : public ::testing::Test {
protected:
    static std::string Contents(const fs::path& file) { return zrntest::ReadFile(file); }

    zrntest::ScratchDir scratch{"zrn_recent"};
    const fs::path root = scratch.Dir();
};

} // namespace

TEST_F(RecentPortsFileTest, WrittenListsReadBackAndTheFolderIsMade) {
    const fs::path file = root / "ZRNcom" / "recent-ports";
    EXPECT_TRUE(ReadRecentPorts(file).empty()) << "no file yet";
    const std::vector<std::string> ports = {"rfc2217://[::1]:7000", "tcp://gw:4001?timeout=5"};
    EXPECT_EQ(WriteRecentPorts(file, ports), "");
    EXPECT_EQ(Contents(file), "rfc2217://[::1]:7000\ntcp://gw:4001?timeout=5\n");
    EXPECT_EQ(ReadRecentPorts(file), ports);
    EXPECT_EQ(WriteRecentPorts(file, {"tcp://b:2"}), "");
    EXPECT_EQ(ReadRecentPorts(file), std::vector<std::string>{"tcp://b:2"});
    EXPECT_FALSE(fs::exists(root / "ZRNcom" / "recent-ports.new")) << "the temporary is renamed";
}

TEST_F(RecentPortsFileTest, AFileThatCannotBeWrittenIsReportedAndLeftAsItWas) {
    const fs::path folder = root / "ZRNcom";
    const fs::path file = folder / "recent-ports";
    ASSERT_EQ(WriteRecentPorts(file, {"tcp://a:1"}), "");
    EXPECT_NE(WriteRecentPorts(file / "f", {"tcp://b:1"}), "") << "a file where the folder goes";
    // A folder in the file's place cannot be replaced by a file.
    fs::create_directories(root / "blocked" / "recent-ports");
    EXPECT_NE(WriteRecentPorts(root / "blocked" / "recent-ports", {"tcp://b:1"}), "");
    EXPECT_FALSE(fs::exists(root / "blocked" / "recent-ports.new"));
    EXPECT_TRUE(ReadRecentPorts(root / "blocked" / "recent-ports").empty());
    if (::geteuid() != 0) { // root writes anywhere
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_NE(WriteRecentPorts(file, {"tcp://b:1"}), "");
        EXPECT_EQ(ReadRecentPorts(file), std::vector<std::string>{"tcp://a:1"});
    }
}

TEST(RecentPortsPlace, ConfigHomeThenHome) {
    const struct {
        const char* config;
        const char* home;
        std::optional<fs::path> file;
    } cases[] = {
        {"/cfg", "/home/op", fs::path("/cfg/ZRNcom/recent-ports")},
        {nullptr, "/home/op", fs::path("/home/op/.config/ZRNcom/recent-ports")},
        {"", "/home/op", fs::path("/home/op/.config/ZRNcom/recent-ports")},
        {"relative/cfg", "/home/op", fs::path("/home/op/.config/ZRNcom/recent-ports")},
        {nullptr, nullptr, std::nullopt},
        {nullptr, "", std::nullopt},
    };
    for (const auto& c : cases) {
        EnvGuard config("XDG_CONFIG_HOME", c.config);
        EnvGuard home("HOME", c.home);
        EXPECT_EQ(RecentPortsFile(), c.file)
            << (c.config ? c.config : "(unset)") << " " << (c.home ? c.home : "(unset)");
    }
}
