// zrnctl reaching zrnsim through Debian's ser2net on loopback, as a field
// gateway would serve it: both protocols, and a gateway that dies mid-read.
#include "Gateway.h"
#include "Scratch.h"
#include "SimProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <memory>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr const char* kPlan = R"({
  "zrn_plan": 1,
  "schedules": [
    {"schedule": 1, "status": "active", "start": "2027-06-20T07:00:00", "stop": "2027-06-27T06:59:59", "interval": "00:15:00", "valve": "01:30", "hold": "00:45", "pump": "02:00"},
    {"schedule": 2, "status": "empty"},
    {"schedule": 3, "status": "empty"},
    {"schedule": 4, "status": "inactive", "start": "2027-06-01T12:00:00", "stop": "2027-06-05T12:00:00", "interval": "23:00:00", "valve": "59:59", "hold": "00:00", "pump": "00:01"}
  ]
}
)";

using zrntest::ToolRun;

bool Has(const std::string& text, const std::string& piece) {
    return text.find(piece) != std::string::npos;
}

class ZrnctlGateway : public ::testing::Test {
protected:
    void SetUp() override {
        if (!zrnsim::Gateway::Available())
            GTEST_FAIL() << "ser2net is not installed (tools/deps.sh installs it)";
    }
    void TearDown() override {
        gateway.reset();
        sim.reset();
    }

    std::string Path(const std::string& name) const { return scratch.Path(name); }
    std::string Read(const std::string& name) const { return scratch.Read(name); }

    // zrnsim behind ser2net; the device's conversation goes to trace.txt.
    void StartDevice(std::vector<std::string> switches = {}) {
        switches.insert(switches.end(), {"--link", Path("zrn-tty"), "--trace"});
        sim = std::make_unique<zrnsim::SimProcess>(ZRNSIM_PROGRAM, switches, Path("trace.txt"));
        ASSERT_FALSE(sim->TerminalPath().empty());
        gateway = std::make_unique<zrnsim::Gateway>(Path("zrn-tty"), dir.string());
        ASSERT_TRUE(gateway->Start());
    }
    int FramesReceived() const {
        return static_cast<int>(zrntest::ReceivedFrames(Read("trace.txt")).size());
    }

    ToolRun Zrn(const std::string& args) const {
        // Backups and the journal in the test's folder, not the user's.
        return zrntest::RunCommand(scratch, "env ZRNCOM_PORTS= XDG_STATE_HOME=" + Path("state") +
                                                " " + ZRNCTL_PROGRAM + " " + args);
    }

    zrntest::ScratchDir scratch{"zrnctl-gw"};
    const fs::path dir = scratch.Dir();
    std::unique_ptr<zrnsim::SimProcess> sim;
    std::unique_ptr<zrnsim::Gateway> gateway;
};

TEST_F(ZrnctlGateway, InfoAndAPlanImportWorkOverBothProtocols) {
    StartDevice();
    std::ofstream(Path("plan.json")) << kPlan;
    for (const std::string& port : {gateway->Rfc2217Url(), gateway->RawUrl()}) {
        SCOPED_TRACE(port);
        const ToolRun info = Zrn("--port " + port + " info");
        ASSERT_EQ(info.status, 0) << info.out << info.err;
        EXPECT_TRUE(Has(info.out, port + ": firmware 2:07")) << info.out;
        const ToolRun imported = Zrn("--port " + port + " plan import " + Path("plan.json"));
        ASSERT_EQ(imported.status, 0) << imported.out << imported.err;
        EXPECT_TRUE(Has(imported.out, "holds the plan")) << imported.out;
        ASSERT_EQ(Zrn("--port " + port + " plan export " + Path("back.json")).status, 0);
        EXPECT_EQ(Read("back.json"), kPlan);
    }
}

// Killed once the device has begun answering: zrnctl ends with a failure that
// names the port, and does not hang.
TEST_F(ZrnctlGateway, AGatewayThatDiesMidReadFailsTheDeviceWithAMessage) {
    StartDevice({"--baud", "9600"});
    for (const std::string& port : {gateway->Rfc2217Url(), gateway->RawUrl()}) {
        SCOPED_TRACE(port);
        ASSERT_TRUE(gateway->Start());
        const int before = FramesReceived();
        auto run = std::async(std::launch::async, [&] { return Zrn("--port " + port + " info"); });
        ASSERT_TRUE(zrnsim::WaitFor([&] { return FramesReceived() >= before + 3; }, 20s));
        gateway->Kill();
        ASSERT_EQ(run.wait_for(30s), std::future_status::ready);
        const ToolRun result = run.get();
        EXPECT_EQ(result.status, 1) << result.out << result.err;
        EXPECT_TRUE(Has(result.out, port + ": FAILED: connection lost"))
            << result.out << result.err;
    }
}

} // namespace
