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
#include <string>
#include <string_view>
#include <vector>

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
    dialog.link.strOpenPort = "/dev/ttyUSB0"; // as if the replies came from there
    // The SDI row, the two schedules zrnsim starts with (one active, one inactive)
    // and two more, so the picture shows the whole table.
    std::vector<std::string> replies{"F|02.07|",      "B|12.6|3.55|",  "A3",           "L|015|",
                                     "S5V|00:01:00|", "S5H|00:00:45|", "S5P|00:01:30|"};
    const char* schedules[][6] = {
        {"A", "12/07/26", "08:00:00", "12/14/26", "08:00:00", "01:00:00"},
        {"D", "12/21/26", "08:00:00", "12/28/26", "08:00:00", "00:15:00"},
        {"D", "01/04/27", "06:00:00", "01/11/27", "05:59:59", "00:30:00"},
        {"D", "02/01/27", "00:00:00", "02/07/27", "23:59:59", "23:59:59"},
    };
    for (int n = 1; n <= 4; ++n) {
        const auto& s = schedules[n - 1];
        const std::string e = "S" + std::to_string(n);
        for (const std::string& reply :
             {e + s[0], e + "BD|" + s[1] + "|", e + "BT|" + s[2] + "|", e + "ED|" + s[3] + "|",
              e + "ET|" + s[4] + "|", e + "I|" + s[5] + "|", e + "V|00:01:00|", e + "H|00:01:00|",
              e + "P|00:01:00|"})
            replies.push_back(reply);
    }
    for (const std::string& reply : replies) {
        ZrnWindow& window = LinkWindow::Instance();
        window.sendMessage(&window, WM_ZRN_LINK, LINK_REPLY,
                           reinterpret_cast<intptr_t>(reply.c_str()));
    }
    const QString file = QString::fromLocal8Bit(argv[1]);
    if (argc == 3) {
        CZRNcomAbout about(&dialog);
        about.strVersion = "QUORVANEX ZRNcom Version " + dialog.options.strFileVersion;
        about.Create();
        about.show();
        return about.grab().save(file) ? 0 : 1;
    }
    return dialog.grab().save(file) ? 0 : 1;
}
