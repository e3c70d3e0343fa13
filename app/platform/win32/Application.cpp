#include "platform/Application.h"

#include "platform/DebugOutput.h"

#include <windows.h>

#include <commctrl.h>
#include <ole2.h>

struct PlatformApplication::State {
    bool oleStarted = false;
};

PlatformApplication::PlatformApplication(int&, char**) : state(std::make_unique<State>()) {
    // The window classes of the date-time pickers, the list view and the tabs,
    // in the comctl32 version the manifest asks for.
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof classes;
    classes.dwICC =
        ICC_STANDARD_CLASSES | ICC_DATE_CLASSES | ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES;
    if (!::InitCommonControlsEx(&classes))
        DebugTrace("ZRNcom/InitCommonControlsEx; failed\n");
    state->oleStarted = SUCCEEDED(::OleInitialize(nullptr));
}

PlatformApplication::~PlatformApplication() {
    if (state->oleStarted)
        ::OleUninitialize();
}

bool PlatformApplication::Started() const {
    return state->oleStarted;
}

std::string ProgramCommandLine(int, char**) {
    return ::GetCommandLineA();
}

namespace {

bool Usable(HANDLE handle) {
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

} // namespace

void WriteInformation(std::string_view text) {
    // A program for the desktop has no console of its own: output that was
    // redirected is there already, otherwise the text goes to the console of
    // whoever started it, if any.
    HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    HANDLE console = INVALID_HANDLE_VALUE;
    if (!Usable(out) && ::AttachConsole(ATTACH_PARENT_PROCESS)) {
        console = ::CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
        out = console;
    }
    if (!Usable(out))
        return;
    // Windows lines end in CR LF.
    std::string lines;
    for (const char c : text) {
        if (c == '\n')
            lines += '\r';
        lines += c;
    }
    DWORD written = 0;
    ::WriteFile(out, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
    if (Usable(console)) {
        ::CloseHandle(console);
        ::FreeConsole();
    }
}

void ShowStartupError(std::string_view text) {
    // No application name was given: the program's name is the caption.
    ::MessageBoxA(nullptr, std::string(text).c_str(), "ZRNcom", MB_OK | MB_ICONEXCLAMATION);
}
