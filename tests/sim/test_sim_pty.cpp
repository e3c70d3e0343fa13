// The zrnsim program on a real pseudo-terminal, spoken to with bare frames.
#include "RawPort.h"
#include "SimProcess.h"

#include <gtest/gtest.h>

#include <climits>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace zrnsim {
namespace {

using namespace std::chrono_literals;
using testing::RawPort;
using testing::ReplyText;

const char kAck = static_cast<char>(zrn::ACK);
const char kNak = static_cast<char>(zrn::NAK);

std::string LinkPath(const char* name) {
    return (std::filesystem::temp_directory_path() /
            (std::string("zrnsim-") + name + "-" + std::to_string(::getpid())))
        .string();
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

std::string Target(const std::string& link) {
    std::error_code error;
    return std::filesystem::read_symlink(link, error).string();
}

TEST(SimPty, FirstLineIsTheTerminalAndTheLinkLivesAsLongAsTheProgram) {
    const std::string link = LinkPath("link");
    {
        SimProcess sim(ZRNSIM_PROGRAM, {"--link", link});
        ASSERT_EQ(sim.TerminalPath().rfind("/dev/pts/", 0), 0u) << sim.TerminalPath();
        EXPECT_EQ(Target(link), sim.TerminalPath());
        RawPort port(link);
        ASSERT_TRUE(port.IsOpen());
        const std::string answer = port.Exchange("F", true);
        EXPECT_EQ(answer, kAck + zrn::BuildFrame("F|02.07|"));
        sim.Signal(SIGTERM);
        EXPECT_EQ(sim.Wait(5s), 0);
    }
    EXPECT_FALSE(Exists(link));
}

TEST(SimPty, StateSurvivesThePortBeingClosedAndOpenedAgain) {
    SimProcess sim(ZRNSIM_PROGRAM, {});
    ASSERT_FALSE(sim.TerminalPath().empty());
    EXPECT_EQ(RawPort(sim.TerminalPath()).Exchange("L|042|", false), std::string(1, kAck));
    for (int i = 0; i < 3; ++i) {
        RawPort again(sim.TerminalPath());
        EXPECT_EQ(ReplyText(again.Exchange("L", true)), "L|042|") << i;
    }
}

TEST(SimPty, BrokenFrameAndUnknownCommandGetNak) {
    SimProcess sim(ZRNSIM_PROGRAM, {});
    RawPort port(sim.TerminalPath());
    EXPECT_EQ(port.Exchange("X", true), std::string(1, kNak));
    std::string broken = zrn::BuildFrame("C");
    broken[broken.size() - 2] ^= 1;
    EXPECT_EQ(port.ExchangeBytes(broken, true), std::string(1, kNak));
    EXPECT_EQ(ReplyText(port.Exchange("A", true)), "A0");
}

TEST(SimPty, FaultSwitchesReachTheDevice) {
    SimProcess sim(ZRNSIM_PROGRAM, {"--nak-rate", "1", "--seed", "5"});
    RawPort port(sim.TerminalPath());
    for (const char* command : {"C", "L|001|", "S1?"})
        EXPECT_EQ(port.Exchange(command, true), std::string(1, kNak)) << command;
}

TEST(SimPty, UnplugTakesThePathAwayAndBringsTheSameDeviceBack) {
    const std::string link = LinkPath("unplug");
    SimProcess sim(ZRNSIM_PROGRAM, {"--link", link, "--unplug-pause", "300"});
    const std::string first = sim.TerminalPath();
    ASSERT_EQ(Target(link), first);
    {
        RawPort port(link);
        EXPECT_EQ(port.Exchange("A7", false), std::string(1, kAck));
        sim.Signal(SIGUSR1);
        // The open port goes dead: the terminal answers with end of file or an error.
        EXPECT_TRUE(WaitFor([&] { return !Exists(link); }, 5s));
    }
    const auto second = sim.ReadLine(5s);
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(Target(link), *second);
    RawPort port(link);
    ASSERT_TRUE(port.IsOpen());
    EXPECT_EQ(ReplyText(port.Exchange("A", true)), "A7");
}

TEST(SimPty, UnplugAfterATime) {
    const std::string link = LinkPath("timed");
    SimProcess sim(ZRNSIM_PROGRAM,
                   {"--link", link, "--unplug-after", "0.1", "--unplug-pause", "100"});
    ASSERT_FALSE(sim.TerminalPath().empty());
    const auto second = sim.ReadLine(5s);
    ASSERT_TRUE(second.has_value());
    EXPECT_TRUE(WaitFor([&] { return Target(link) == *second; }, 5s));
}

TEST(SimPty, TraceShowsBothDirectionsOneElementALine) {
    const std::string tracePath = LinkPath("trace");
    {
        SimProcess sim(ZRNSIM_PROGRAM, {"--trace"}, tracePath);
        RawPort port(sim.TerminalPath());
        port.Exchange("F", true);
        port.Exchange("X", true);
        sim.Signal(SIGTERM);
        ASSERT_EQ(sim.Wait(5s), 0);
    }
    std::ifstream in(tracePath);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        if (line.rfind("#", 0) != 0)
            lines.push_back(line);
    std::filesystem::remove(tracePath);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "> F");
    EXPECT_EQ(lines[1], "< ACK");
    EXPECT_EQ(lines[2].rfind("< F|02.07|", 0), 0u) << lines[2];
    EXPECT_EQ(lines[3], "> X");
    EXPECT_EQ(lines[4], "< NAK");
}

TEST(SimPty, LinkNeverReplacesAFile) {
    const std::string file = LinkPath("file");
    std::ofstream(file) << "keep me";
    SimProcess sim(ZRNSIM_PROGRAM, {"--link", file});
    EXPECT_EQ(sim.Wait(5s), 1);
    EXPECT_FALSE(std::filesystem::is_symlink(file));
    std::filesystem::remove(file);
}

TEST(SimPty, HelpAndBadArguments) {
    SimProcess help(ZRNSIM_PROGRAM, {"--help"});
    EXPECT_EQ(help.TerminalPath().rfind("Usage: zrnsim", 0), 0u);
    EXPECT_EQ(help.Wait(5s), 0);
    SimProcess bad(ZRNSIM_PROGRAM, {"--nak-rate", "2"});
    EXPECT_EQ(bad.Wait(5s), 2);
}

} // namespace
} // namespace zrnsim
