// Build-time tool: writes the program icon, drawn in code, as the PNG files of
// an icon theme: ROOT/hicolor/NxN/apps/zrncom.png for every size given.
#include "resources/Resource.h"
#include "resources/Resources.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: zrncom_render_icons ROOT SIZE...\n", stderr);
        return EXIT_FAILURE;
    }
    QGuiApplication application(argc, argv);
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size <= 0)
            return EXIT_FAILURE;
        const QString folder = QStringLiteral("%1/hicolor/%2x%2/apps").arg(root).arg(size);
        if (!QDir().mkpath(folder) ||
            !LoadIconPixmap(IDR_MAINFRAME, QSize(size, size)).save(folder + "/zrncom.png", "PNG"))
            return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
