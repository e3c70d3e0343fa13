// The two periodic timers; both run one tick routine.
#include "platform/DebugOutput.h"
#include "platform/Profile.h"
#include "shell/Resource.h"
#include "shell/ZRNcomDlg.h"

void CZRNcomDlg::OnStartPollingTimer() {
    const int period = zrn::GetPrivateProfileInt("SYSTEM", "PollingTime", 5000, strIniFile);
    if (tZrnTimePicker == 0) {
        DebugTrace("ZRNcom/OnStartPollingTimer; Polling Disabled\n");
        return;
    }
    // The period is used as read; the timer holds it within the system's bounds.
    if (!SetTimer(TIMER_POLLING, static_cast<unsigned>(period)))
        DebugTrace("ZRNcom/OnStartPollingTimer; ERROR in TIMER_POLLING timer\n");
    DebugTrace("ZRNcom/OnStartPollingTimer; %d\n", period);
}

void CZRNcomDlg::OnTimer(Notify& n) {
    OnTimerTick(n.wParam);
}

void CZRNcomDlg::OnTimerTick(uintptr_t) {
    // Port scan, full read and the polling rotation come with the polling work.
}
