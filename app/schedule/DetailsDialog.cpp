// The schedule details dialog.
#include "shell/ZRNcomDlg.h"

void CZRNcomDlg::OnBnClickedButtonProperties() {
    TraceNotYet("OnBnClickedButtonProperties");
}
