#pragma once
// The tests' way into a panel's state, which the program itself asks for by
// name: each function hands out one member of a panel.
#include "shell/ZRNcomDlg.h"

struct PanelTestAccess {
    // The status panel
    static int nVersionMajor(const StatusPanel& p) { return p.nVersionMajor; }
    static int nVersionMinor(const StatusPanel& p) { return p.nVersionMinor; }
    static float fExternalVolts(const StatusPanel& p) { return p.fExternalVolts; }
    static float fInternalVolts(const StatusPanel& p) { return p.fInternalVolts; }
    static int nSyncAttempts(const ClockPanel& p) { return p.nSyncAttempts; }
    // The schedule panel
    static zrn::ScheduleState& sched(SchedulePanel& p) { return p.sched; }
    static double& odtInterval(SchedulePanel& p) { return p.odtInterval; }
    static double& odtOpenValve(SchedulePanel& p) { return p.odtOpenValve; }
    static double& odtSampleHolding(SchedulePanel& p) { return p.odtSampleHolding; }
    static double& odtPumpOn(SchedulePanel& p) { return p.odtPumpOn; }
    static int& nIntervalPreset(IntervalPanel& p) { return p.nIntervalPreset; }
    // The clock panel
    static int64_t& tZrnClock(ClockPanel& p) { return p.tZrnClock; }
    static int64_t& tPendingClock(ClockPanel& p) { return p.tPendingClock; }
    static int& bFollowZrnClock(ClockPanel& p) { return p.bFollowZrnClock; }
    static int& bSyncToPc(ClockPanel& p) { return p.bSyncToPc; }
    // The settings panel
    static std::string& strSdiAddress(SettingsPanel& p) { return p.strSdiAddress; }
    static std::string& strSdiDelay(SettingsPanel& p) { return p.strSdiDelay; }
    static std::string& strHoldAtFocus(SettingsPanel& p) { return p.strHoldAtFocus; }
    static zrn::SdiMinSec& sdiHold(SettingsPanel& p) { return p.sdiHold; }
    static zrn::SdiMinSec& sdiPump(SettingsPanel& p) { return p.sdiPump; }
    static CSdiInfoDlg& sdiInfoDlg(SettingsPanel& p) { return p.sdiInfoDlg; }
    // The ports panel
    static COpenZrn& openZrn(PortsPanel& p) { return p.openZrn; }
};
