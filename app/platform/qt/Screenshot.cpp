// Renders the main window (or, with "about", the About box) into a PNG file,
// without a display:
//   zrncom_screenshot <file.png> [about]
// A few status and schedule replies are handed to the dialog first so the picture
// shows values.
#include "platform/qt/LinkWindow.h"
#include "shell/AboutBox.h"
#include "shell/ZRNcomDlg.h"

#include <QApplication>
#include <QPixmap>
#include <cstdio>
#include <string_view>

int main(int argc, char** argv) {
    if (argc != 2 && !(argc == 3 && std::string_view(argv[2]) == "about")) {
        std::fputs("usage: zrncom_screenshot <file.png> [about]\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    KeepNumbersLocaleFree();
    QApplication::setFont(DialogFont("MS Sans Serif", 8));
    CZRNcomDlg dialog("ZRNcom");
    dialog.Create();
    dialog.show();
    // The SDI row, and two schedules as zrnsim starts with them: one active, one inactive.
    for (const char* reply :
         {"F|02.07|", "B|12.6|3.55|", "A3", "L|015|", "S5V|00:01:00|", "S5H|00:00:45|",
          "S5P|00:01:30|", "S1BD|12/07/26|", "S1BT|08:00:00|", "S1ED|12/14/26|", "S1ET|08:00:00|",
          "S1I|01:00:00|", "S1A", "S2BD|12/21/26|", "S2BT|08:00:00|", "S2ED|12/28/26|",
          "S2ET|08:00:00|", "S2I|00:15:00|", "S2D"}) {
        ZrnWindow& window = LinkWindow::Instance();
        window.sendMessage(&window, WM_ZRN_LINK, LINK_REPLY, reinterpret_cast<intptr_t>(reply));
    }
    const QString file = QString::fromLocal8Bit(argv[1]);
    if (argc == 3) {
        CZRNcomAbout about(&dialog);
        about.strVersion = "QUORVANEX ZRNcom Version " + dialog.strFileVersion;
        about.Create();
        about.show();
        return about.grab().save(file) ? 0 : 1;
    }
    return dialog.grab().save(file) ? 0 : 1;
}
