// The two periodic timers; both run one tick routine that looks for the
// device, reads everything once it is found, then polls it.
#include "model/Catalogue.h"
#include "model/Settings.h"
#include "platform/DebugOutput.h"
#include "platform/PcClock.h"
#include "resources/Resource.h"
#include "shell/ZRNcomDlg.h"

void CZRNcomDlg::OnStartPollingTimer() {
    const int configured =
        zrn::GetPrivateProfileInt("SYSTEM", "PollingTime", 5000, options.strIniFile);
    if (!panels.clock.ZrnTimeShown()) {
        DebugTrace("ZRNcom/OnStartPollingTimer; Polling Disabled\n");
        return;
    }
    const int period = zrn::PollingPeriod(configured);
    if (period != configured)
        DebugTrace("ZRNcom/OnStartPollingTimer; PollingTime %d is below %d ms\n", configured,
                   zrn::MIN_POLLING_TIME);
    if (!SetTimer(TIMER_POLLING, static_cast<unsigned>(period)))
        DebugTrace("ZRNcom/OnStartPollingTimer; ERROR in TIMER_POLLING timer\n");
    DebugTrace("ZRNcom/OnStartPollingTimer; %d\n", period);
}

void CZRNcomDlg::OnTimer(Notify& n) {
    if (n.wParam == TIMER_REPORT)
        ShowReports();
    else
        OnTimerTick();
}

void CZRNcomDlg::OnTimerTick() {
    // 1. Two whole seconds without a notification: try the next port. A clock
    //    set backwards gives a negative gap, which waits for it to catch up.
    const int64_t now = PcTime();
    if (!options.bNoScanCommPorts && now - link.tLastLinkMessage > 1) {
        link.bPortScanning = true;
        ShowPortInUse({}); // even when the list is empty and no port is reopened
        panels.ports.ScanNextPort();
        SendCommand(zrn::ProbeCommand());
        link.tLastLinkMessage = now;
    } else if (link.bPortScanning) {
        // 2. The probe is not answered yet.
    } else if (link.bPrevTickScanning) {
        // 3. Answered since the last tick: a new device, read everything once.
        for (const std::string& command : zrn::FullReadSequence())
            SendCommand(command);
        panels.schedule.QueryAllEntries();
    } else {
        // 3. The normal tick: the clock and one value of the rotation.
        const zrn::PollTick tick = zrn::NormalPollTick(link.nPollStep);
        for (const std::string& command : tick.commands)
            SendCommand(command);
        link.nPollStep = tick.nNextPollStep;
    }
    // 4.
    link.bPrevTickScanning = link.bPortScanning;
}
