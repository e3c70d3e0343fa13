// zrnctl as a process against zrnsim processes: what it reports, what it sends
// (zrnsim's trace), and what the devices hold afterwards (read back by zrnctl
// itself, through a fresh process).
#include "Loopback.h"
#include "Scratch.h"
#include "SimProcess.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// The state every device starts from: schedule 1 inactive, 3 active, 2 and 4 empty.
constexpr const char* kState = R"(clock = 06/01/27 09:00:00
address = 3
delay = 42
valve = 90
schedule1 = D 06/02/27 08:00:00 06/09/27 08:00:00 01:00:00 00:01:00 00:01:00 00:01:00
schedule2 = 0 06/02/27 08:00:00 06/09/27 08:00:00 01:00:00 00:01:00 00:01:00 00:01:00
schedule3 = A 06/10/27 08:00:00 06/17/27 08:00:00 00:30:00 00:02:00 00:01:00 00:01:00
schedule4 = 0 06/02/27 08:00:00 06/09/27 08:00:00 01:00:00 00:01:00 00:01:00 00:01:00
)";

// A plan in export's layout, so an export of a device that holds it gives
// these bytes.
constexpr const char* kPlan = R"({
  "zrn_plan": 1,
  "schedules": [
    {"schedule": 1, "status": "active", "start": "2027-06-20T07:00:00", "stop": "2027-06-27T06:59:59", "interval": "00:15:00", "valve": "01:30", "hold": "00:45", "pump": "02:00"},
    {"schedule": 2, "status": "inactive", "start": "2027-07-01T00:00:00", "stop": "2027-07-02T00:00:00", "interval": "01:00:00", "valve": "00:30", "hold": "00:30", "pump": "00:30"},
    {"schedule": 3, "status": "empty"},
    {"schedule": 4, "status": "active", "start": "2027-06-01T12:00:00", "stop": "2027-06-05T12:00:00", "interval": "23:00:00", "valve": "59:59", "hold": "00:00", "pump": "00:01"}
  ]
}
)";

using zrntest::ToolRun;

class Zrnctl : public ::testing::Test {
protected:
    void SetUp() override { Write("state.txt", kState); }
    void TearDown() override { sims.clear(); }

    void Write(const std::string& name, const std::string& text) { scratch.Write(name, text); }
    std::string Read(const std::string& name) { return scratch.Read(name); }
    std::string Path(const std::string& name) { return scratch.Path(name); }

    // A device with its conversation traced to trace<i>.txt; its terminal path.
    std::string Sim(std::vector<std::string> switches = {}) {
        const std::string trace = Path("trace" + std::to_string(sims.size()) + ".txt");
        switches.insert(switches.end(), {"--state", Path("state.txt"), "--trace"});
        sims.push_back(std::make_unique<zrnsim::SimProcess>(ZRNSIM_PROGRAM, switches, trace));
        return sims.back()->TerminalPath();
    }
    // The frames device i received, without the "> ".
    std::vector<std::string> Received(std::size_t i) {
        return zrntest::ReceivedFrames(Read("trace" + std::to_string(i) + ".txt"));
    }

    // zrnctl with these arguments (and environment assignments in front); its
    // backups and journal in the test's own folder.
    ToolRun Zrn(const std::string& args, const std::string& env = "ZRNCOM_PORTS=") {
        return zrntest::RunCommand(scratch, "env XDG_STATE_HOME=" + Path("state") + " " + env +
                                                " " + ZRNCTL_PROGRAM + " " + args);
    }

    zrntest::ScratchDir scratch{"zrnctl"};
    const fs::path dir = scratch.Dir();
    std::vector<std::unique_ptr<zrnsim::SimProcess>> sims;
};

bool Has(const std::string& text, const std::string& piece) {
    return text.find(piece) != std::string::npos;
}

// A frame that sets something: values after "|", or a status, address or
// clock letter after its number ("S1A", "S10", "A5"); the probe and queries
// set nothing.
bool IsSetCommand(const std::string& frame) {
    if (Has(frame, "|"))
        return true;
    if (frame.size() == 3 && frame[0] == 'S')
        return frame[2] != '?' && Has("AD0R", frame.substr(2, 1));
    return frame.size() == 2 && frame[0] == 'A';
}

TEST_F(Zrnctl, InfoReportsWhatTheDeviceHolds) {
    const std::string port = Sim();
    const ToolRun run = Zrn("--json --port " + port + " info");
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    const nlohmann::json report = nlohmann::json::parse(run.out);
    const nlohmann::json& device = report["results"][0];
    EXPECT_EQ(device["port"], port);
    EXPECT_EQ(device["firmware"], "2:07");
    EXPECT_EQ(device["sdi"], nlohmann::json::parse(R"({"address": "3", "delay": 42,
        "valve": "01:30", "hold": "01:00", "pump": "01:00"})"));
    EXPECT_EQ(device["identification"]["model"], "ZRN100");
    EXPECT_TRUE(device["clock"]["device"].get<std::string>().starts_with("2027-06-01T09:0"));
    EXPECT_EQ(device["schedules"][2], nlohmann::json::parse(R"({"schedule": 3,
        "status": "active", "start": "2027-06-10T08:00:00", "stop": "2027-06-17T08:00:00",
        "interval": "00:30:00", "valve": "02:00", "hold": "01:00", "pump": "01:00"})"));
    EXPECT_EQ(device["schedules"][1]["status"], "empty");
    EXPECT_EQ(report["summary"]["done"], 1);
    // Reading sets nothing.
    for (const std::string& frame : Received(0))
        EXPECT_FALSE(IsSetCommand(frame)) << frame;
}

TEST_F(Zrnctl, ImportStoresThePlanAndExportGivesTheSameBytesBack) {
    const std::string port = Sim();
    Write("plan.json", kPlan);
    const ToolRun imported = Zrn("--port " + port + " plan import " + Path("plan.json"));
    ASSERT_EQ(imported.status, 0) << imported.out << imported.err;
    EXPECT_TRUE(Has(imported.out, "holds the plan")) << imported.out;
    EXPECT_TRUE(Has(imported.out, "1 device: 1 done")) << imported.out;

    ASSERT_EQ(Zrn("--port " + port + " plan export " + Path("first.json")).status, 0);
    EXPECT_EQ(Read("first.json"), kPlan);
    ASSERT_EQ(Zrn("--port " + port + " plan import " + Path("first.json")).status, 0);
    ASSERT_EQ(Zrn("--port " + port + " plan export " + Path("second.json")).status, 0);
    EXPECT_EQ(Read("second.json"), Read("first.json"));
}

TEST_F(Zrnctl, DryRunChecksAgainstTheDeviceAndSendsNoSetCommand) {
    const std::string port = Sim();
    // Schedule 1 alone, overlapping schedule 3 which only the device holds.
    Write("clash.json", R"({"zrn_plan": 1, "schedules": [{"schedule": 1, "status": "active",
        "start": "2027-06-16T00:00:00", "stop": "2027-06-18T00:00:00", "interval": "01:00:00",
        "valve": "01:00", "hold": "01:00", "pump": "01:00"}]})");
    ToolRun run = Zrn("--port " + port + " plan import --dry-run " + Path("clash.json"));
    EXPECT_EQ(run.status, 2) << run.out << run.err;
    EXPECT_TRUE(Has(run.out, "REFUSED: schedules[0]: active from 2027-06-16T00:00:00"));
    EXPECT_TRUE(Has(run.out, "overlaps active schedule 3 on the device")) << run.out;
    // Without --dry-run it is refused the same way.
    EXPECT_EQ(Zrn("--port " + port + " plan import " + Path("clash.json")).status, 2);

    Write("fits.json", kPlan);
    run = Zrn("--port " + port + " plan import --dry-run " + Path("fits.json"));
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_TRUE(Has(run.out, "the plan fits; nothing sent (dry run)")) << run.out;
    const std::vector<std::string> frames = Received(0);
    EXPECT_TRUE(std::find(frames.begin(), frames.end(), "S3?") != frames.end());
    for (const std::string& frame : frames)
        EXPECT_FALSE(IsSetCommand(frame)) << frame;
}

std::size_t SetCommands(const std::vector<std::string>& frames) {
    return static_cast<std::size_t>(std::count_if(frames.begin(), frames.end(), IsSetCommand));
}

TEST_F(Zrnctl, DiffShowsEachFieldAndImportWritesOnlyWhatDiffers) {
    const std::string port = Sim();
    // The SDI delay the device holds already, and an address it does not.
    nlohmann::json plan = nlohmann::json::parse(kPlan);
    plan["sdi"] = {{"address", "5"}, {"delay", 42}};
    Write("plan.json", plan.dump());

    ToolRun run = Zrn("--port " + port + " plan diff " + Path("plan.json"));
    EXPECT_EQ(run.status, 3) << run.out << run.err;
    EXPECT_TRUE(Has(run.out, port + ": DIFFERS: differs from the plan in 11 fields")) << run.out;
    EXPECT_TRUE(Has(run.out, "  schedule 1 start: device 2027-06-02T08:00:00, plan "
                             "2027-06-20T07:00:00\n"))
        << run.out;
    EXPECT_TRUE(Has(run.out, "  sdi.address: device 3, plan 5\n")) << run.out;
    EXPECT_FALSE(Has(run.out, "sdi.delay")) << run.out;

    // The dry run shows the same differences, in the same form.
    run = Zrn("--json --port " + port + " plan import --dry-run " + Path("plan.json"));
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    nlohmann::json device = nlohmann::json::parse(run.out)["results"][0];
    EXPECT_EQ(device["changed"], true);
    ASSERT_EQ(device["differences"].size(), 11u) << device;
    EXPECT_EQ(device["differences"][0], nlohmann::json::parse(
                                            R"({"schedule": null, "field": "sdi.address",
        "device": "3", "plan": "5"})"));
    EXPECT_EQ(device["differences"][10], nlohmann::json::parse(R"({"schedule": 4,
        "field": "status", "device": "empty", "plan": "active"})"));
    EXPECT_EQ(SetCommands(Received(0)), 0u);

    run = Zrn("--json --port " + port + " plan import " + Path("plan.json"));
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_EQ(nlohmann::json::parse(run.out)["results"][0]["changed"], true);
    const std::vector<std::string> first = Received(0);
    EXPECT_TRUE(std::find(first.begin(), first.end(), "A5") != first.end());
    EXPECT_TRUE(std::find(first.begin(), first.end(), "L|042|") == first.end());

    // Applied twice, the second time sends nothing and says so.
    run = Zrn("--json --port " + port + " plan import " + Path("plan.json"));
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    device = nlohmann::json::parse(run.out)["results"][0];
    EXPECT_EQ(device["changed"], false) << device;
    for (const nlohmann::json& schedule : device["schedules"])
        EXPECT_EQ(schedule["result"], "unchanged") << schedule;
    EXPECT_EQ(SetCommands(Received(0)), SetCommands(first));

    // One port fails beside a device that holds the plan: 1, not 0 or 3.
    run = Zrn("--json --port " + port + " --port " + Path("missing") + " plan diff " +
              Path("plan.json"));
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    const nlohmann::json report = nlohmann::json::parse(run.out);
    EXPECT_EQ(report["results"][0]["result"], "same");
    EXPECT_TRUE(report["results"][0]["differences"].empty());
    EXPECT_EQ(report["results"][1]["result"], "failed");
    EXPECT_EQ(Zrn("--port " + port + " plan diff " + Path("plan.json")).status, 0);
}

TEST_F(Zrnctl, TheBackupImportsBackToWhatTheDeviceHeld) {
    const std::string port = Sim();
    ASSERT_EQ(Zrn("--port " + port + " plan export " + Path("held.json")).status, 0);
    const auto sdi = [&] {
        return nlohmann::json::parse(
            Zrn("--json --port " + port + " info").out)["results"][0]["sdi"];
    };
    const nlohmann::json heldSdi = sdi();
    nlohmann::json plan = nlohmann::json::parse(kPlan);
    plan["sdi"] = {{"address", "5"}, {"delay", 7}, {"valve", "00:10"}};
    Write("plan.json", plan.dump());

    ToolRun run = Zrn("--json --port " + port + " plan import " + Path("plan.json"));
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    const std::string backup = nlohmann::json::parse(run.out)["results"][0]["backup"];
    const fs::path file(backup);
    EXPECT_EQ(file.parent_path(), dir / "state/ZRNcom/backups");
    EXPECT_TRUE(file.filename().string().starts_with("ZRNSIM-ZRN100-207-SIM0001_2")) << backup;
    EXPECT_TRUE(backup.ends_with("Z.json")) << backup;
    // Taken before the first set command, so it holds the device as it was.
    EXPECT_EQ(nlohmann::json::parse(std::ifstream(file))["sdi"]["delay"], 42);

    run = Zrn("--port " + port + " plan import " + backup);
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    ASSERT_EQ(Zrn("--port " + port + " plan export " + Path("restored.json")).status, 0);
    EXPECT_EQ(Read("restored.json"), Read("held.json"));
    EXPECT_EQ(sdi(), heldSdi);
    // Reading takes no backup: two imports that wrote, two files.
    EXPECT_EQ(std::distance(fs::directory_iterator(file.parent_path()), fs::directory_iterator()),
              2);
}

// An active schedule that has run out may stay as it is: only a schedule to be
// written must not have ended, so a device's own export imports back.
TEST_F(Zrnctl, AnUnchangedScheduleThatHasEndedDoesNotStopTheImport) {
    std::string state = kState;
    state.replace(state.find("schedule3 = A 06/10/27"), 22, "schedule3 = A 05/10/27");
    state.replace(state.find("06/17/27", state.find("schedule3")), 8, "05/17/27");
    Write("state.txt", state);
    const std::string port = Sim();
    ASSERT_EQ(Zrn("--port " + port + " plan export " + Path("held.json")).status, 0);
    ToolRun run = Zrn("--port " + port + " plan import " + Path("held.json"));
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_TRUE(Has(run.out, "holds the plan already; nothing sent")) << run.out;
    EXPECT_EQ(SetCommands(Received(0)), 0u);

    // Written again, it is checked as the dialog checks an activation.
    nlohmann::json plan = nlohmann::json::parse(Read("held.json"));
    plan["schedules"][2]["interval"] = "00:20:00";
    Write("changed.json", plan.dump());
    run = Zrn("--port " + port + " plan import " + Path("changed.json"));
    EXPECT_EQ(run.status, 2) << run.out << run.err;
    EXPECT_EQ(SetCommands(Received(0)), 0u);
}

TEST_F(Zrnctl, ABadFileIsRefusedWithItsKeyBeforeAnythingIsSent) {
    const std::string port = Sim();
    const std::pair<std::string, std::string> files[] = {
        {"{\"zrn_plan\": 1,\n \"schedules\": [}", "not JSON at line 2, column"},
        {R"({"zrn_plan": 1, "schedule": []})", "schedule: unknown key"},
        {R"({"zrn_plan": 1, "schedules": [{"schedule": 2, "status": "inactive",
            "start": "2027-06-01T00:00:00", "stop": "2027-06-02T00:00:00", "interval": "00:61:00",
            "valve": "01:00", "hold": "01:00", "pump": "01:00"}]})",
         "schedules[0].interval: minutes 61 is outside 0-59"},
        // Two listed active schedules sharing 12:00.
        {R"({"zrn_plan": 1, "schedules": [
            {"schedule": 1, "status": "active", "start": "2027-06-01T10:00:00",
             "stop": "2027-06-01T12:00:00", "interval": "00:15:00", "valve": "01:00",
             "hold": "01:00", "pump": "01:00"},
            {"schedule": 2, "status": "active", "start": "2027-06-01T12:00:00",
             "stop": "2027-06-01T14:00:00", "interval": "00:15:00", "valve": "01:00",
             "hold": "01:00", "pump": "01:00"}]})",
         "overlaps active schedule 2 (schedules[1])"},
    };
    for (const auto& [text, reason] : files) {
        Write("bad.json", text);
        const ToolRun run = Zrn("--port " + port + " plan import " + Path("bad.json"));
        EXPECT_EQ(run.status, 2) << text;
        EXPECT_TRUE(Has(run.err, "bad.json: ") && Has(run.err, reason)) << run.err;
        EXPECT_EQ(Zrn("--port " + port + " plan diff " + Path("bad.json")).status, 2) << text;
    }
    const ToolRun usage = Zrn("--port " + port + " sdi set --delay 1000");
    EXPECT_EQ(usage.status, 2);
    EXPECT_TRUE(Received(0).empty());
}

// Reads the report of an import that failed: the failing schedule's number.
int FailingSchedule(const std::string& out) {
    const auto at = out.find("FAILED: schedule ");
    return at == std::string::npos ? 0 : out[at + 17] - '0';
}

// What an import that failed reports must agree with the wire: a schedule is
// stored only when its read-back was answered, and no set command goes out for
// the schedules after the failing one.
void ExpectHonestReport(const std::string& out, const std::vector<std::string>& frames,
                        int failing) {
    for (int n = 1; n <= 4; ++n) {
        const std::string s = "S" + std::to_string(n);
        const bool sent = std::any_of(frames.begin(), frames.end(), [&](const std::string& f) {
            return f.starts_with(s) && IsSetCommand(f);
        });
        if (n > failing) {
            EXPECT_TRUE(Has(out, "schedule " + std::to_string(n) + ": not sent")) << out;
            EXPECT_FALSE(sent) << s;
        }
        if (n < failing) {
            EXPECT_TRUE(std::find(frames.begin(), frames.end(), s + "P") != frames.end()) << s;
        }
    }
    EXPECT_FALSE(Has(out, "schedule " + std::to_string(failing) + ": stored")) << out;
}

TEST_F(Zrnctl, ARefusedCommandFailsTheImportAndNamesTheSchedule) {
    // This seed refuses an upload command of schedule 2.
    const std::string port = Sim({"--nak-rate", "0.1", "--seed", "1"});
    Write("plan.json", kPlan);
    const ToolRun run = Zrn("--port " + port + " plan import " + Path("plan.json"));
    EXPECT_EQ(run.status, 1) << run.out;
    const int failing = FailingSchedule(run.out);
    ASSERT_EQ(failing, 2) << run.out;
    EXPECT_TRUE(Has(run.out, port + ": FAILED: schedule 2: S2") && Has(run.out, "refused (NAK)"))
        << run.out;
    // Schedule 1 is to be active: stored inactive and read back, never switched on.
    EXPECT_TRUE(Has(run.out, "schedule 1: inactive with the planned values")) << run.out;
    ExpectHonestReport(run.out, Received(0), failing);
    // The journal tells the refusal apart from what was stored.
    const std::string journal = Read("state/ZRNcom/changes.jsonl");
    EXPECT_TRUE(Has(journal, R"("what":"schedule 1","before":{"schedule":1,"status":"inactive")"))
        << journal;
    EXPECT_TRUE(Has(journal, R"("result":"verified")")) << journal;
    EXPECT_TRUE(Has(journal, R"("what":"schedule 2","before":{"schedule":2,"status":"empty"},)"
                             R"("after":{"schedule":2,"status":"inactive")") &&
                Has(journal, R"("result":"refused"})"))
        << journal;
}

TEST_F(Zrnctl, ADeviceThatGoesSilentInTheMiddleFailsTheImport) {
    // Answers the probe, the four schedules and the clock (36 + 1 frames), the
    // backup's further reads (identification, version, SDI row: 7), schedule 1
    // (10 + 9 frames) and 4 frames of schedule 2: the fifth, "S2ET|...|", goes
    // unanswered.
    const std::string port = Sim({"--silent-after", "68"});
    Write("plan.json", kPlan);
    const ToolRun run = Zrn("--port " + port + " plan import " + Path("plan.json"));
    EXPECT_EQ(run.status, 1) << run.out;
    EXPECT_TRUE(Has(run.out, "FAILED: schedule 2: no answer to S2ET|00:00:00|")) << run.out;
    ExpectHonestReport(run.out, Received(0), 2);
}

TEST_F(Zrnctl, AnUnplugDuringTheImportFailsItWithoutClaimingWhatWasLost) {
    const std::string port = Sim({"--unplug-pause", "60000"});
    Write("plan.json", kPlan);
    auto import = std::async(std::launch::async, [&] {
        return Zrn("--port " + port + " plan import " + Path("plan.json"));
    });
    ASSERT_TRUE(zrnsim::WaitFor(
        [&] {
            const auto frames = Received(0);
            return std::find(frames.begin(), frames.end(), "S2H|00:00:30|") != frames.end();
        },
        20s));
    sims[0]->Signal(SIGUSR1);
    const ToolRun run = import.get();
    EXPECT_EQ(run.status, 1) << run.out;
    const int failing = FailingSchedule(run.out);
    EXPECT_GE(failing, 2) << run.out;
    ExpectHonestReport(run.out, Received(0), failing);
}

TEST_F(Zrnctl, EightDevicesAtOnce) {
    std::string ports, list;
    for (int i = 0; i < 8; ++i) {
        const std::string port = Sim();
        ports += " --port " + port;
        list += port + ":";
    }
    Write("plan.json", kPlan);
    ToolRun run = Zrn(ports + " plan import " + Path("plan.json"));
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    // Each with its own backup, although all eight identify alike.
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 8 * 6 + 1) << run.out;
    std::set<std::string> backups;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir / "state/ZRNcom/backups"))
        backups.insert(entry.path().string());
    EXPECT_EQ(backups.size(), 8u);
    EXPECT_TRUE(Has(run.out, "8 devices: 8 done")) << run.out;

    // Found by the scan, with a port where nothing answers among them.
    run = Zrn("--json info", "ZRNCOM_PORTS=" + list + Path("none"));
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    const nlohmann::json report = nlohmann::json::parse(run.out);
    EXPECT_EQ(report["summary"]["devices"], 8);
    EXPECT_EQ(report["summary"]["ports_without_device"], 1);
    const nlohmann::json planned = nlohmann::json::parse(kPlan)["schedules"];
    for (const nlohmann::json& device : report["results"]) {
        if (device["result"] == "done") {
            EXPECT_EQ(device["schedules"], planned) << device["port"];
        }
    }
}

struct ProcessEntry {
    int pid = 0;
    int parent = 0;
    std::string name;
};

// Every process of the system, from /proc.
std::vector<ProcessEntry> Processes() {
    std::vector<ProcessEntry> all;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator("/proc", error)) {
        const std::string pid = entry.path().filename().string();
        if (pid.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::string stat;
        std::getline(std::ifstream(entry.path() / "stat"), stat);
        const auto open = stat.find('('), close = stat.rfind(')');
        if (open == std::string::npos || close == std::string::npos || close + 2 > stat.size())
            continue; // gone meanwhile
        std::istringstream rest(stat.substr(close + 2));
        char state = 0;
        ProcessEntry process{std::stoi(pid), 0, stat.substr(open + 1, close - open - 1)};
        if (rest >> state >> process.parent)
            all.push_back(process);
    }
    return all;
}

// Every zrnctl below this test, and every child any of them has, as often as
// it can be looked at while `running` is under way.
template <typename Future>
std::pair<std::set<int>, std::set<std::string>> WatchZrnctl(Future& running) {
    std::set<int> seen;
    std::set<std::string> children;
    while (running.wait_for(5ms) != std::future_status::ready) {
        const std::vector<ProcessEntry> all = Processes();
        std::map<int, int> parents;
        for (const ProcessEntry& process : all)
            parents[process.pid] = process.parent;
        const auto ours = [&](int pid) {
            for (int hops = 0; pid > 1 && hops < 64; ++hops, pid = parents[pid])
                if (pid == ::getpid())
                    return true;
            return false;
        };
        std::set<int> now;
        for (const ProcessEntry& process : all)
            if (process.name == "zrnctl" && ours(process.pid))
                now.insert(process.pid);
        for (const ProcessEntry& process : all)
            if (now.contains(process.parent))
                children.insert(process.name + " " + std::to_string(process.pid));
        seen.insert(now.begin(), now.end());
    }
    return {seen, children};
}

TEST_F(Zrnctl, EightDevicesInOneProcessWithoutChildren) {
    std::vector<std::string> ports;
    std::string args = "--json";
    for (int i = 0; i < 8; ++i) {
        ports.push_back(Sim());
        args += " --port " + ports.back();
    }
    // LeakSanitizer checks at exit from a tracer process of its own, which
    // would show as a child: this run goes without it (other runs check leaks).
#if defined(__SANITIZE_ADDRESS__)
    const std::string env = "ZRNCOM_PORTS= ASAN_OPTIONS=detect_leaks=0";
#else
    const std::string env = "ZRNCOM_PORTS=";
#endif
    auto info = std::async(std::launch::async, [&] { return Zrn(args + " info", env); });
    const auto [seen, children] = WatchZrnctl(info);
    const ToolRun run = info.get();
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_TRUE(children.empty()) << *children.begin();

    const nlohmann::json report = nlohmann::json::parse(run.out);
    ASSERT_EQ(report["results"].size(), ports.size()) << run.out;
    for (std::size_t i = 0; i < ports.size(); ++i) {
        const nlohmann::json& device = report["results"][i];
        EXPECT_EQ(device["port"], ports[i]);
        EXPECT_EQ(device["result"], "done") << device["port"] << device["message"];
        EXPECT_EQ(device["firmware"], "2:07") << device["port"];
        EXPECT_EQ(device["sdi"]["delay"], 42) << device["port"];
        EXPECT_EQ(device["schedules"][2]["status"], "active") << device["port"];
    }
    EXPECT_EQ(report["summary"]["done"], 8);
}

// Eight processes appending at once: every line whole and one object, each
// change once, and log picks them out by port and time.
TEST_F(Zrnctl, EightProcessesJournalWholeLinesAndLogReadsThem) {
    Write("plan.json", kPlan);
    std::vector<std::string> ports;
    for (int i = 0; i < 8; ++i)
        ports.push_back(Sim());
    std::vector<std::future<int>> runs;
    for (const std::string& port : ports)
        runs.push_back(std::async(std::launch::async, [&, port] {
            const std::string command = "env ZRNCOM_PORTS= XDG_STATE_HOME=" + Path("state") + " " +
                                        ZRNCTL_PROGRAM + " --port " + port + " plan import " +
                                        Path("plan.json") + " >/dev/null";
            return std::system(command.c_str());
        }));
    for (auto& run : runs)
        EXPECT_EQ(run.get(), 0);

    // Four stores and two activations on each device.
    std::istringstream journal(Read("state/ZRNcom/changes.jsonl"));
    std::map<std::string, int> perPort;
    std::size_t lines = 0;
    for (std::string line; std::getline(journal, line); ++lines) {
        const nlohmann::ordered_json entry = nlohmann::ordered_json::parse(line, nullptr, false);
        ASSERT_TRUE(entry.is_object()) << line;
        std::vector<std::string> keys;
        for (const auto& [key, value] : entry.items())
            keys.push_back(key);
        EXPECT_EQ(keys,
                  (std::vector<std::string>{"time", "user", "host", "program", "version", "port",
                                            "device", "what", "before", "after", "result"}));
        EXPECT_EQ(entry["program"], "zrnctl");
        EXPECT_EQ(entry["result"], "verified") << line;
        EXPECT_EQ(entry["device"], "13 ZRNSIM ZRN100 207 SIM0001, firmware 2:07") << line;
        ++perPort[entry["port"]];
    }
    EXPECT_EQ(lines, 8u * 6u);
    for (const std::string& port : ports)
        EXPECT_EQ(perPort[port], 6) << port;

    ToolRun run = Zrn("--json --port " + ports[3] + " log --since 2000-01-01");
    ASSERT_EQ(run.status, 0) << run.err;
    const nlohmann::json changes = nlohmann::json::parse(run.out)["changes"];
    ASSERT_EQ(changes.size(), 6u);
    EXPECT_EQ(changes[0]["what"], "schedule 1");
    EXPECT_EQ(changes[0]["after"]["status"], "inactive");
    EXPECT_EQ(changes[4]["what"], "schedule 1");
    EXPECT_EQ(changes[4]["after"]["status"], "active");
    run = Zrn("log --since 2099-01-01T00:00:00Z");
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(Has(run.out, "0 changes in ")) << run.out;
    EXPECT_EQ(Zrn("log --since yesterday").status, 2);
}

// A state folder that cannot be written costs the backup and the journal, not the change.
TEST_F(Zrnctl, AnUnwritableStateFolderIsAWarningAndTheChangeIsMade) {
    const std::string port = Sim();
    Write("plan.json", kPlan);
    Write("notafolder", "");
    const ToolRun run = Zrn("--json --port " + port + " plan import " + Path("plan.json"),
                            "ZRNCOM_PORTS= XDG_STATE_HOME=" + Path("notafolder"));
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    const nlohmann::json device = nlohmann::json::parse(run.out)["results"][0];
    EXPECT_EQ(device["changed"], true);
    EXPECT_FALSE(device.contains("backup"));
    ASSERT_EQ(device["warnings"].size(), 2u) << device;
    EXPECT_TRUE(Has(device["warnings"][0], "no backup")) << device;
    EXPECT_TRUE(Has(device["warnings"][1], "journal of changes not written")) << device;
    EXPECT_TRUE(Has(run.err, "warning: no backup")) << run.err;
    EXPECT_EQ(Zrn("--port " + port + " plan diff " + Path("plan.json")).status, 0);
}

// A gateway that accepts, takes the probe, answers with noise and hangs up:
// the port fails at once, saying so, rather than after every attempt.
TEST_F(Zrnctl, AGatewayThatHangsUpOrRefusesFailsThePortSayingWhy) {
    zrntest::Loopback gateway(true);
    ASSERT_TRUE(gateway.Valid());
    std::jthread hangUp([&gateway] {
        const zrn::UniqueFd connection = gateway.Accept(10s);
        if (connection.valid() && zrntest::Loopback::Readable(connection.get(), 5s)) {
            char probe[64];
            (void)!::read(connection.get(), probe, sizeof probe);
            (void)!::write(connection.get(), "~?", 2);
            std::this_thread::sleep_for(200ms);
        }
    });
    const auto began = std::chrono::steady_clock::now();
    ToolRun run = Zrn("--port " + gateway.Url() + " info");
    EXPECT_LT(std::chrono::steady_clock::now() - began, 3s);
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    EXPECT_TRUE(Has(run.out,
                    gateway.Url() + ": FAILED: connection lost: the gateway closed the connection"))
        << run.out;

    zrntest::Loopback closed(false);
    ASSERT_TRUE(closed.Valid());
    run = Zrn("--json --port " + closed.Url() + " info");
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    const nlohmann::json device = nlohmann::json::parse(run.out)["results"][0];
    EXPECT_EQ(device["port"], closed.Url());
    EXPECT_EQ(device["result"], "failed");
    EXPECT_TRUE(device["message"].get<std::string>().starts_with("connection refused")) << device;
}

// The simulated clock starts in June 2027, far from the PC's.
TEST_F(Zrnctl, ClockCheckMeasuresTheDriftAndSyncSetsOnlyAClockBeyond) {
    const std::string port = Sim();
    ToolRun run = Zrn("--json --port " + port + " clock check");
    EXPECT_EQ(run.status, 3) << run.out << run.err;
    nlohmann::json device = nlohmann::json::parse(run.out)["results"][0];
    EXPECT_EQ(device["result"], "differs");
    const std::int64_t drift = device["drift"];
    EXPECT_EQ(drift, device["clock"]["device_ahead_seconds"]);
    EXPECT_GT(std::abs(drift), 3600);

    run = Zrn("--json --port " + port + " clock sync --if-drift-over 5");
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    device = nlohmann::json::parse(run.out)["results"][0];
    EXPECT_EQ(device["changed"], true);
    EXPECT_EQ(device["drift"], drift);
    const std::size_t sets = SetCommands(Received(0));
    EXPECT_GT(sets, 0u);

    run = Zrn("--json --port " + port + " clock sync --if-drift-over 5");
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_EQ(nlohmann::json::parse(run.out)["results"][0]["changed"], false);
    EXPECT_EQ(SetCommands(Received(0)), sets);
    run = Zrn("--port " + port + " clock check --max-drift 2");
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_TRUE(Has(run.out, "s, within 2 s")) << run.out;

    // A journal line for each setting, verified by the reading after it.
    run = Zrn("--json log");
    const nlohmann::json changes = nlohmann::json::parse(run.out)["changes"];
    ASSERT_FALSE(changes.empty()) << run.out;
    EXPECT_TRUE(changes[0]["before"].get<std::string>().starts_with("2027-06-01T09:0"));
    for (const nlohmann::json& change : changes) {
        EXPECT_EQ(change["what"], "clock");
        EXPECT_EQ(change["result"], "verified") << change;
    }
}

TEST_F(Zrnctl, SetsTheClockAndTheSdiSettingsAndReadsThemBack) {
    const std::string port = Sim();
    ToolRun run = Zrn("--port " + port + " clock sync");
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    run = Zrn("--json --port " + port + " clock show");
    const int ahead = nlohmann::json::parse(run.out)["results"][0]["clock"]["device_ahead_seconds"];
    EXPECT_LE(std::abs(ahead), 1);

    run = Zrn("--port " + port + " sdi set --address 7 --delay 5 --hold 02:05");
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_TRUE(Has(run.out, "SDI address 7, delay 5, valve 01:30, hold 02:05, pump 01:00"))
        << run.out;
    const std::vector<std::string> frames = Received(0);
    for (const char* sent : {"S0D", "S0A", "A7", "L|005|", "S5H|00:02:05|"})
        EXPECT_TRUE(std::find(frames.begin(), frames.end(), sent) != frames.end()) << sent;
}

} // namespace
