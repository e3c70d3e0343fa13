// What the Windows program adds to the panels (its resources, the port rights,
// starting other programs), stood in for so that the dialog tests build the
// real main dialog on the Win32 backend.
#include "platform/Shell.h"
#include "ports/PortAccess.h"
#include "shell/LogNote.h"
#include "shell/Resources.h"

#include <vector>

namespace {

Bitmap PlainBitmap(Size size) {
    HDC screen = ::GetDC(nullptr);
    Bitmap bitmap(::CreateCompatibleBitmap(screen, size.width(), size.height()));
    ::ReleaseDC(nullptr, screen);
    return bitmap;
}

} // namespace

Icon ProgramIcon() {
    return Icon(::CreateIcon(nullptr, 16, 16, 1, 1, std::vector<BYTE>(32, 0xFF).data(),
                             std::vector<BYTE>(32, 0).data()));
}

Bitmap LoadBitmap(int, Size size) {
    return PlainBitmap(size);
}

Bitmap LoadIconPixmap(int, Size size) {
    return PlainBitmap(size);
}

// Nothing is started from a test.
int ShellExecuteOpen(std::string_view, int, std::string_view) {
    return 0;
}

int WinExec(std::string_view, int) {
    return 0;
}

namespace zrn {

std::string TrafficLogNote(bool bLogOpen) {
    return bLogOpen ? "Traffic log beside the program" : "No traffic log";
}

std::string DevicePath(std::string_view definition) {
    return std::string(definition.substr(0, definition.find(':')));
}

// Windows refuses a port in use, not for want of rights.
std::optional<std::string> PermissionGroup(const std::string&) {
    return std::nullopt;
}

std::string PermissionHint(std::string_view, std::string_view) {
    return {};
}

} // namespace zrn
