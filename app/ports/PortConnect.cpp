// Choosing a serial port by hand.
#include "shell/ZRNcomDlg.h"

void CZRNcomDlg::OnZrnConnect() {
    TraceNotYet("OnZrnConnect");
}
