// Resident memory of the main dialog (offscreen) as its log box takes lines
// the way polling writes them, well past the number it keeps.
#include "protocol/LinkApi.h"
#include "shell/ZRNcomDlg.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("VmRSS:"))
            return std::atol(line.c_str() + 6);
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    Link().open = [](HWND, const char*) { return 1; };
    Link().send = [](const char*) { return 1; };
    Link().close = [] { return 1; };
    Link().log = [](bool) { return 1; };
    CZRNcomDlg dialog("ZRNcom");
    dialog.options.strIniFile = "/nonexistent/ZRNcom.ini";
    dialog.Create();
    const int total = argc > 1 ? std::atoi(argv[1]) : 4 * LOG_LINES_KEPT;
    std::printf("log box keeps %d lines; resident memory after each %d lines appended:\n",
                LOG_LINES_KEPT, LOG_LINES_KEPT / 2);
    for (int i = 1; i <= total; ++i) {
        dialog.AppendLog("CZRNcomDlg/ProcessReadClockResponse: C|12/07/26|07:30:" +
                         std::to_string(i % 60) + "|\r\n");
        if (i % (LOG_LINES_KEPT / 2) == 0)
            std::printf("  %6d lines: %ld KiB, %d in the box\n", i, ResidentKiB(),
                        dialog.GetLineCount(1005));
    }
    return 0;
}
