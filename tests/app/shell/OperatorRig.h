#pragma once
// An operator at the real main dialog (offscreen), with the real link library,
// against zrnsim as a process on a line with faults. After every action the rig
// waits until the line is quiet and no schedule read is in flight, then checks
// what an operator relies on:
//   - every listed row is what the device holds for that schedule, or says
//     "Not read", except the one entry being edited;
//   - the highlighted row is the entry the panel shows;
//   - no command carries a year outside 2000-2037 or a stop before its start;
//   - a change the device did not take was told in a box naming the schedule.
#include "EnvGuard.h"
#include "Gateway.h"
#include "LinkRecorder.h"
#include "SimProcess.h"
#include "platform/MessageBox.h"
#include "platform/PcClock.h"
#include "protocol/LinkApi.h"
#include "shell/ZRNcomDlg.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

struct LineFaults {
    std::uint64_t seed = 1;
    double nakRate = 0.03;
    double dropRate = 0.03;
    double badCrcRate = 0.01;
    bool viaGateway = false; // ser2net (RFC 2217) between the program and the device
};

// What a run went through, for the soak benchmark's figures.
struct RigCounts {
    long steps = 0;
    long frames = 0;       // frames the device received
    long naks = 0;         // NAKs it sent
    long boxes = 0;        // message boxes the operator answered
    long reports = 0;      // of them, changes the device did not take
    long notRead = 0;      // rows left "Not read" at a check
    long rescans = 0;      // times the program went back to the port scan
    long outages = 0;      // times the gateway went away and came back
    long timerSeconds = 0; // timer ticks given while the line stalled
};

class OperatorRig {
public:
    explicit OperatorRig(const LineFaults& faults);
    ~OperatorRig();
    OperatorRig(const OperatorRig&) = delete;
    OperatorRig& operator=(const OperatorRig&) = delete;

    // How the boxes of the next action are answered: the nth of their buttons.
    void AnswerWith(unsigned choice) { answerChoice = choice; }

    // The operator's actions, through the real widgets; a disabled control
    // or a row that is not there does nothing.
    void ClickRow(int row);
    void DoubleClickRow(int row);
    void Arrow(bool down);
    void StepPicker(int id, int section, bool up, int times);
    void Press(int id); // a button or a radio button
    // The gateway killed, the given seconds of the timer without it, then back
    // on the same port; nothing without a gateway.
    void GatewayAway(int seconds);

    // Waits for a quiet line, then checks; an empty list when everything holds.
    std::vector<std::string> SettleAndCheck();

    const RigCounts& Counts() const { return counts; }
    static RigCounts& Total();

private:
    void Tick();
    bool Quiet(std::string& why);
    bool ReadsInFlight() const;
    void ReadTrace();
    std::vector<std::string> CheckRows();
    std::vector<std::string> CheckPanel();
    std::vector<std::string> CheckCommandsAndChanges();

    std::filesystem::path dir;
    std::unique_ptr<zrnsim::SimProcess> sim;
    std::unique_ptr<zrnsim::Gateway> gateway;
    std::unique_ptr<EnvGuard> ports;
    LinkSwap linkSwap; // the real link comes back when the rig goes
    MessageBoxHook savedHook;
    PcClockSource savedClock;
    std::int64_t pcNow = 0;
    std::unique_ptr<CZRNcomDlg> dialog;

    unsigned answerChoice = 0;
    long closesSettled = 0; // the link's closes up to the last quiet line
    std::vector<std::string> boxesThisStep;
    // The device's side of the conversation: received frames and answers.
    std::size_t traceOffset = 0;
    std::string tracePartial;
    std::vector<std::string> framesThisStep;
    RigCounts counts;
};
