#pragma once
// The main dialog through the real link library against zrnsim as a process,
// in a scratch folder that holds the device's state, its trace and the
// program's settings file.
#include "EnvGuard.h"
#include "Scratch.h"
#include "SimProcess.h"
#include "protocol/LinkApi.h"
#include "shell/ZRNcomDlg.h"

#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

// The simulator's state: the clock 20 May 2026 10:07:30; schedule 1 active
// from 1 to 8 June, 2 empty, 4 inactive from 5 to 12 June; `schedule3` is the
// third schedule's line.
inline std::string MorningDevice(const std::string& schedule3) {
    return "clock = 05/20/26 10:07:30\n"
           "schedule1 = A 06/01/26 08:00:00 06/08/26 08:00:00 01:00:00 00:01:00 00:01:00 00:01:00\n"
           "schedule2 = 0 01/01/26 00:00:00 01/02/26 00:00:00 00:15:00 00:01:00 00:01:00 "
           "00:01:00\n" +
           schedule3 +
           "\nschedule4 = D 06/05/26 08:00:00 06/12/26 08:00:00 00:30:00 00:02:00 00:01:00 "
           "00:01:00\n";
}

class SimDialogTest : public ::testing::Test {
protected:
    using Path = std::filesystem::path;

    // The port closed before the window its worker reports to goes.
    void TearDown() override {
        Link().close();
        dialog.reset();
        sim.reset();
    }

    // zrnsim holding `state`, its trace in trace.txt, `args` added to its
    // command line; its terminal is the one port the program scans.
    void StartDevice(const std::string& state, std::vector<std::string> args = {}) {
        Write("state.txt", state);
        args.insert(args.begin(), {"--state", (dir / "state.txt").string(), "--trace"});
        sim = std::make_unique<zrnsim::SimProcess>(ZRNSIM_PROGRAM, args,
                                                   (dir / "trace.txt").string());
        ASSERT_FALSE(sim->TerminalPath().empty());
        ports = std::make_unique<EnvGuard>("ZRNCOM_PORTS", sim->TerminalPath().c_str());
    }
    // Its settings from ZRNcom.ini in the scratch folder, if the test wrote one.
    CZRNcomDlg& StartDialog(const char* commandLine = "ZRNcom") {
        dialog = std::make_unique<CZRNcomDlg>(commandLine);
        dialog->options.strIniFile = (dir / "ZRNcom.ini").string();
        dialog->Create();
        return *dialog;
    }

    template <class F> static bool Wait(F done, int ms = 10000) {
        return QTest::qWaitFor(done, ms);
    }
    bool AllRead() const {
        for (int i = 0; i < 4; ++i)
            if (!dialog->panels.schedule.OnDevice().IsRead(i))
                return false;
        return true;
    }
    // The conversation so far: "> " lines are frames the device received.
    std::vector<std::string> Trace() const {
        std::ifstream in(dir / "trace.txt");
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    Path Write(const std::string& name, const std::string& text) const {
        std::ofstream(dir / name, std::ios::binary) << text;
        return dir / name;
    }
    static std::string Read(const Path& file) { return zrntest::ReadFile(file); }

    zrntest::ScratchDir scratch{"zrncom-e2e"};
    const Path dir = scratch.Dir();
    std::unique_ptr<zrnsim::SimProcess> sim;
    std::unique_ptr<EnvGuard> ports;
    std::unique_ptr<CZRNcomDlg> dialog;
};
