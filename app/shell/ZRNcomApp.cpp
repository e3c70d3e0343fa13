#include "shell/ZRNcomApp.h"

#include "platform/CommandLine.h"
#include "platform/Dialog.h"
#include "platform/MessageBus.h"
#include "platform/VersionInfo.h"
#include "shell/Usage.h"
#include "shell/ZRNcomDlg.h"

#include <QApplication>
#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// True when the named Qt platform plugin has what it needs to start.
bool PlatformUsable(std::string_view platform) {
    platform = platform.substr(0, platform.find(':')); // options follow a colon
    if (platform == "xcb")
        return Set("DISPLAY");
    if (platform.starts_with("wayland")) {
        if (Set("WAYLAND_DISPLAY"))
            return true;
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        return runtime != nullptr && QFile::exists(QString::fromLocal8Bit(runtime) + "/wayland-0");
    }
    return !platform.empty(); // offscreen, minimal, vnc, eglfs...: no display server needed
}

} // namespace

CZRNcomApp::CZRNcomApp(int& argc, char** argv)
    : argc(argc), argv(argv), commandLine(zrn::CommandLineFromArgs(argc, argv)) {}

bool CZRNcomApp::DisplayAvailable(int argc, char** argv) {
    std::string platforms;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string_view(argv[i]) == "-platform")
            platforms = argv[i + 1];
    }
    if (platforms.empty() && Set("QT_QPA_PLATFORM"))
        platforms = std::getenv("QT_QPA_PLATFORM");
    if (platforms.empty())
        platforms = "xcb"; // this Qt's default
    // Qt tries each of a ";"-separated list in turn.
    for (size_t start = 0; start <= platforms.size();) {
        const size_t end = std::min(platforms.find(';', start), platforms.size());
        if (PlatformUsable(std::string_view(platforms).substr(start, end - start)))
            return true;
        start = end + 1;
    }
    return false;
}

int CZRNcomApp::Run() {
    // As any Linux program: answered without a display, before anything starts.
    if (const auto text = zrn::InformationText(
            argc, argv, zrn::ReadFileVersion(zrn::ProgramVersionBlock(), 0x0409))) {
        std::fputs(text->c_str(), stdout);
        return EXIT_SUCCESS;
    }
    if (!DisplayAvailable(argc, argv)) {
        std::fputs("Unable to initialize OLE.\nTerminating application!\n", stderr);
        return EXIT_FAILURE;
    }
    QApplication application(argc, argv);
    KeepNumbersLocaleFree();
    QApplication::setApplicationName(QStringLiteral("ZRNcom"));
    QApplication::setFont(DialogFont("MS Sans Serif", 8));
    RunApplication();
    return EXIT_SUCCESS;
}

bool CZRNcomApp::RunApplication() {
    CZRNcomDlg dialog(commandLine);
    // Other processes ask for the presets to be applied again through this message.
    WindowMessageBus bus(dialog);
    bus.Register("ZRNCOMDLGSETINTERVALS", WM_ZRNCOMDLGSETINTERVALS);
    dialog.DoModal(); // IDOK or IDCANCEL: the program ends either way
    // The link is left as it is: its worker finds the window gone and is told nothing more.
    return false;
}
