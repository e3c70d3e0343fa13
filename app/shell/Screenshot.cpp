// Renders the main window (or, with "about", the About box) into a PNG file,
// without a display:
//   zrncom_screenshot <file.png> [about]
// A few status replies are handed to the dialog first so the picture shows values.
#include "platform/LinkWindow.h"
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
    for (const char* reply : {"F|02.07|", "B|12.6|3.55|"}) {
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
