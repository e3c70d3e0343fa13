// ZRNcom and zrnsim as processes: the program finds the working device among
// an absent port and a silent one, reads it, polls it, loses it and finds it again.
#include "Gateway.h"
#include "SimProcess.h"
#include "ZrnComProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <unistd.h>

using namespace std::chrono_literals;
using zrntest::ZrnComProcess;

namespace {

namespace fs = std::filesystem;

std::string TempPath(const std::string& name) {
    return (fs::temp_directory_path() / ("zrncom-e2e-" + name + "-" + std::to_string(::getpid())))
        .string();
}

std::vector<std::string> FullReadCommands() {
    std::vector<std::string> commands{"F", "B", "I", "L", "A", "S5V", "S5H", "S5P", "C"};
    for (int n = 1; n <= 4; ++n)
        for (const char* field : {"?", "BD", "BT", "ED", "ET", "I", "V", "H", "P"})
            commands.push_back("S" + std::to_string(n) + field);
    return commands;
}

// Whether want appears in lines in this order, other lines between.
bool InOrder(const std::vector<std::string>& lines, const std::vector<std::string>& want,
             std::size_t& at) {
    for (const auto& item : want) {
        const auto found = std::find(lines.begin() + static_cast<long>(at), lines.end(), item);
        if (found == lines.end())
            return false;
        at = static_cast<std::size_t>(found - lines.begin()) + 1;
    }
    return true;
}

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(workDir_);
        logsBefore_ = zrntest::TrafficLogs(ZRNCOM_PROGRAM);
    }
    void TearDown() override {
        program_.reset();
        for (const auto& log : NewLogs())
            fs::remove(log);
        fs::remove_all(workDir_);
    }

    void StartProgram(const std::string& ports) {
        program_.emplace(zrntest::ZrnComRun{
            ZRNCOM_PROGRAM,
            {"-LOG_COMM"},
            {{"QT_QPA_PLATFORM", "offscreen"}, {"ZRNCOM_DEBUG", "1"}, {"ZRNCOM_PORTS", ports}},
            workDir_});
        ASSERT_TRUE(program_->Started());
    }
    std::vector<std::string> NewLogs() const {
        std::vector<std::string> added;
        for (const auto& log : zrntest::TrafficLogs(ZRNCOM_PROGRAM))
            if (!logsBefore_.contains(log))
                added.push_back(log);
        return added;
    }
    std::string Debug() const {
        std::string all;
        for (const auto& line : program_->Lines())
            all += line.text + "\n";
        return all;
    }

    std::string workDir_ = TempPath("cwd");
    std::set<std::string> logsBefore_;
    std::optional<ZrnComProcess> program_;
};

} // namespace

TEST_F(EndToEnd, SettlesOnTheWorkingDeviceReadsItOnceThenPolls) {
    const std::string absent = TempPath("absent");
    zrnsim::SimProcess silent(ZRNSIM_PROGRAM, {"--silent-after", "0"});
    zrnsim::SimProcess working(ZRNSIM_PROGRAM, {});
    ASSERT_FALSE(silent.TerminalPath().empty());
    ASSERT_FALSE(working.TerminalPath().empty());
    StartProgram(absent + ":" + silent.TerminalPath() + ":" + working.TerminalPath());

    // Each port gets its two seconds: found after about four.
    const auto fullRead = program_->WaitFor("RES S4P", 20s);
    ASSERT_TRUE(fullRead) << Debug();
    ASSERT_TRUE(program_->WaitFor("RES A", 5s, *fullRead + 1)) << "no rotation\n" << Debug();
    program_->Stop();

    const std::string debug = Debug();
    EXPECT_NE(debug.find("ScanNextPort; " + absent + ":9600,N,8,1, open = 0"), std::string::npos);
    EXPECT_NE(debug.find("ScanNextPort; " + silent.TerminalPath() + ":9600,N,8,1, open = 1"),
              std::string::npos);
    EXPECT_NE(debug.find("ScanNextPort; " + working.TerminalPath() + ":9600,N,8,1, open = 1"),
              std::string::npos);

    const auto logs = NewLogs();
    ASSERT_EQ(logs.size(), 1u);
    const auto traffic = zrntest::ReadLogLines(logs[0]);
    // The silent port's probe goes unanswered; the working one's is acknowledged.
    ASSERT_GE(traffic.size(), 3u);
    EXPECT_EQ(traffic[0], "?");
    EXPECT_EQ(traffic[1], "?");
    EXPECT_EQ(traffic[2], "ACK");
    std::size_t at = 3;
    EXPECT_TRUE(InOrder(traffic, FullReadCommands(), at));
    EXPECT_TRUE(InOrder(traffic, {"C", "L", "C", "A"}, at));
    // Read exactly once.
    EXPECT_EQ(std::count(traffic.begin(), traffic.end(), "F"), 1);
}

TEST_F(EndToEnd, AnUnpluggedDeviceSendsTheProgramBackToScanningAndItRecovers) {
    const std::string link = TempPath("link");
    zrnsim::SimProcess device(ZRNSIM_PROGRAM, {"--link", link, "--unplug-pause", "5000"});
    ASSERT_FALSE(device.TerminalPath().empty());
    StartProgram(link);
    const auto first = program_->WaitFor("RES S4P", 15s);
    ASSERT_TRUE(first) << Debug();

    device.Signal(SIGUSR1);
    // Silence, then scan steps on the vanished link, then the device again.
    const auto lost =
        program_->WaitFor("ScanNextPort; " + link + ":9600,N,8,1, open = 0", 10s, *first + 1);
    ASSERT_TRUE(lost) << Debug();
    const auto found =
        program_->WaitFor("ScanNextPort; " + link + ":9600,N,8,1, open = 1", 10s, *lost + 1);
    ASSERT_TRUE(found) << Debug();
    EXPECT_TRUE(program_->WaitFor("RES S4P", 15s, *found + 1)) << Debug();
}

// "PollingTime=1" once queued commands far faster than a 9600-baud line
// carries them; the queue must stay shallow however long the program runs.
TEST_F(EndToEnd, AFastPollingTimeDoesNotOutrunTheLine) {
    {
        std::ofstream ini(fs::path(workDir_) / "ZRNcom.ini");
        ini << "[SYSTEM]\nPollingTime=1\n";
    }
    zrnsim::SimProcess device(ZRNSIM_PROGRAM, {"--baud", "9600"});
    ASSERT_FALSE(device.TerminalPath().empty());
    StartProgram(device.TerminalPath());
    const auto found = program_->WaitFor("RES S4P", 20s);
    ASSERT_TRUE(found) << Debug();
    // While the full read drains, ticks queue behind it. Once the queue has
    // been empty (a tick's pushes start again from depth 1), it must stay
    // shallow, however long the program runs.
    program_->ReadFor(8s);
    const auto& lines = program_->Lines();
    std::optional<std::size_t> settled;
    int deepest = 0, pushes = 0;
    std::string depths;
    for (std::size_t i = *found; i < lines.size(); ++i) {
        const std::size_t at = lines[i].text.find(", depth = ");
        if (!lines[i].text.starts_with("ZrnSend pushed ") || at == std::string::npos)
            continue;
        const int depth = std::atoi(lines[i].text.c_str() + at + 10);
        depths += " " + std::to_string(depth);
        if (!settled && depth == 1)
            settled = i;
        if (settled) {
            deepest = std::max(deepest, depth);
            ++pushes;
        }
    }
    ASSERT_TRUE(settled) << "the queue never drains:" << depths;
    // A few ticks at least, for the depth to say something.
    EXPECT_GE(pushes, 6) << depths;
    // A normal tick pushes two commands onto whatever is still queued.
    EXPECT_LE(deepest, 10) << "the queue grows:" << depths;
}

// Through Debian's ser2net: the program reads the device over RFC 2217, goes
// back to its scan when the gateway dies, and reads it again once it is back.
TEST_F(EndToEnd, AGatewayThatGoesAwayAndComesBackIsFoundAgain) {
    const std::string link = TempPath("gw-link");
    zrnsim::SimProcess device(ZRNSIM_PROGRAM, {"--link", link});
    ASSERT_FALSE(device.TerminalPath().empty());
    zrnsim::Gateway gateway(link, workDir_);
    ASSERT_TRUE(gateway.Start());
    const std::string port = gateway.Rfc2217Url();
    StartProgram(port);
    const auto first = program_->WaitFor("RES S4P", 15s);
    ASSERT_TRUE(first) << Debug();

    gateway.Kill();
    const auto lost =
        program_->WaitFor("ScanNextPort; " + port + ":9600,N,8,1, open = 0", 15s, *first + 1);
    ASSERT_TRUE(lost) << Debug();
    ASSERT_TRUE(gateway.Start());
    const auto found =
        program_->WaitFor("ScanNextPort; " + port + ":9600,N,8,1, open = 1", 15s, *lost + 1);
    ASSERT_TRUE(found) << Debug();
    EXPECT_TRUE(program_->WaitFor("RES S4P", 15s, *found + 1)) << Debug();
    program_->Stop();

    // The traffic log names the gateway at each open.
    std::size_t opens = 0;
    for (const auto& line : program_->Lines())
        opens += line.text.find(port + ":9600,N,8,1, open = 1") != std::string::npos ? 1 : 0;
    const auto logs = NewLogs();
    ASSERT_EQ(logs.size(), 1u);
    const auto traffic = zrntest::ReadLogLines(logs[0]);
    EXPECT_GE(opens, 2u);
    EXPECT_EQ(static_cast<std::size_t>(std::count(traffic.begin(), traffic.end(), "# " + port)),
              opens);
}
