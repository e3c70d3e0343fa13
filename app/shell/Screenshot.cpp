// Renders the main window into a PNG file, without a display:
//   zrncom_screenshot <file.png>
// A few status replies are handed to the dialog first so the picture shows values.
#include "platform/LinkWindow.h"
#include "shell/ZRNcomDlg.h"

#include <QApplication>
#include <QPixmap>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: zrncom_screenshot <file.png>\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setFont(DialogFont("MS Sans Serif", 8));
    CZRNcomDlg dialog("ZRNcom");
    dialog.Create();
    dialog.show();
    for (const char* reply : {"F|02.07|", "B|12.6|3.55|"}) {
        ZrnWindow& window = LinkWindow::Instance();
        window.sendMessage(&window, WM_ZRN_LINK, LINK_REPLY, reinterpret_cast<intptr_t>(reply));
    }
    return dialog.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
