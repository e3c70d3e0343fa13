#include "platform/Application.h"

#include "platform/CommandLine.h"
#include "platform/Dialog.h"

#include <QApplication>
#include <QFile>
#include <cstdio>
#include <cstdlib>

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

// Whether the windowing system can start; QApplication aborts the process when it cannot.
bool DisplayAvailable(int argc, char** argv) {
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

} // namespace

struct PlatformApplication::State {
    std::unique_ptr<QApplication> application;
};

PlatformApplication::PlatformApplication(int& argc, char** argv)
    : state(std::make_unique<State>()) {
    if (!DisplayAvailable(argc, argv))
        return;
    state->application = std::make_unique<QApplication>(argc, argv);
    KeepNumbersLocaleFree();
    QApplication::setApplicationName(QStringLiteral("ZRNcom"));
    QApplication::setFont(DialogFont("MS Sans Serif", 8));
}

PlatformApplication::~PlatformApplication() = default;

bool PlatformApplication::Started() const {
    return state->application != nullptr;
}

std::string ProgramCommandLine(int argc, char** argv) {
    return zrn::CommandLineFromArgs(argc, argv);
}

void WriteInformation(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

void ShowStartupError(std::string_view text) {
    // Without a display no message box can open.
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}
