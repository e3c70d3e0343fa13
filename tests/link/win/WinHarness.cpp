#include <winsock2.h>

#include "WinHarness.h"

#include "UniqueHandle.h"

#include <cstdlib>
#include <stdexcept>

namespace zrntest {

void PumpMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void Pause() {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
    PumpMessages();
}

namespace {

// A connection to the bridge's port named by `variable`.
SOCKET ConnectToBridge(const char* variable) {
    const char* port = std::getenv(variable);
    if (port == nullptr)
        throw std::runtime_error(std::string(variable) + " not set: run under pty_bridge");
    const SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<u_short>(std::atoi(port)));
    if (s == INVALID_SOCKET ||
        ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        throw std::runtime_error("cannot reach the line");
    return s;
}

} // namespace

Line::Line() {
    WSADATA data;
    if (::WSAStartup(MAKEWORD(2, 2), &data) != 0)
        throw std::runtime_error("WSAStartup failed");
    const SOCKET s = ConnectToBridge("ZRN_LINE_PORT");
    u_long nonBlocking = 1;
    ::ioctlsocket(s, FIONBIO, &nonBlocking);
    const BOOL noDelay = TRUE;
    ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay),
                 sizeof noDelay);
    socket = s;
}

std::string Line::Definition(const std::string& settings) {
    return "COM1:" + settings;
}

Line::~Line() {
    ::closesocket(static_cast<SOCKET>(socket));
    ::WSACleanup();
}

std::string Line::Settings() {
    const SOCKET s = ConnectToBridge("ZRN_LINE_SETTINGS_PORT");
    std::string text;
    char buffer[64];
    int n;
    while ((n = ::recv(s, buffer, sizeof buffer, 0)) > 0)
        text.append(buffer, static_cast<std::size_t>(n));
    ::closesocket(s);
    if (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

void Line::Write(const std::string& bytes) const {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const int n = ::send(static_cast<SOCKET>(socket), bytes.data() + done,
                             static_cast<int>(bytes.size() - done), 0);
        if (n > 0)
            done += static_cast<std::size_t>(n);
        else
            ::Sleep(1);
    }
}

std::string Line::ReadUntilCrs(int count, std::chrono::milliseconds bound) const {
    std::string got;
    int crs = 0;
    WaitUntil(
        [&] {
            char c;
            while (crs < count && ::recv(static_cast<SOCKET>(socket), &c, 1, 0) == 1) {
                got.push_back(c);
                crs += c == '\r';
            }
            return crs >= count;
        },
        bound);
    return got;
}

namespace {

const char* WindowClass() {
    static const char* name = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "ZrnTestWindow";
        ::RegisterClassA(&wc);
        return "ZrnTestWindow";
    }();
    return name;
}

} // namespace

RecordingWindow::RecordingWindow() {
    hwnd = ::CreateWindowExA(0, WindowClass(), "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
    if (hwnd == nullptr)
        throw std::runtime_error("CreateWindowEx failed");
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure));
}

RecordingWindow::~RecordingWindow() {
    ::DestroyWindow(hwnd);
}

LRESULT CALLBACK RecordingWindow::Procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<RecordingWindow*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (msg != WM_ZRN_LINK || self == nullptr)
        return ::DefWindowProcA(hwnd, msg, wParam, lParam);
    Notice notice{wParam, std::nullopt};
    if (lParam != 0)
        notice.lParam = reinterpret_cast<const char*>(lParam);
    self->OnNotice(notice);
    return 0;
}

std::vector<Notice> RecordingWindow::WaitFor(std::size_t count, std::chrono::milliseconds bound) {
    WaitUntil([&] { return notices.size() >= count; }, bound);
    return notices;
}

// A temporary file in place of standard error.
struct DebugCapture::Redirect {
    std::string path;
    zrn::UniqueHandle file;
    HANDLE savedError = nullptr;
};

DebugCapture::DebugCapture() : redirect(std::make_unique<Redirect>()) {
    char folder[MAX_PATH];
    char name[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    ::GetTempFileNameA(folder, "zrn", 0, name);
    redirect->path = name;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    redirect->file.reset(::CreateFileA(name, GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr));
    redirect->savedError = ::GetStdHandle(STD_ERROR_HANDLE);
    ::SetStdHandle(STD_ERROR_HANDLE, redirect->file.get());
    ::SetEnvironmentVariableA("ZRNCOM_DEBUG", "1");
}

DebugCapture::~DebugCapture() {
    ::SetEnvironmentVariableA("ZRNCOM_DEBUG", nullptr);
    ::SetStdHandle(STD_ERROR_HANDLE, redirect->savedError);
    redirect->file.reset();
    ::DeleteFileA(redirect->path.c_str());
}

std::string DebugCapture::Text() const {
    return FileText(redirect->path);
}

// The loaded ZRNComDll.dll's folder: the library writes its logs beside itself.
std::string LogDirectory() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(::GetModuleHandleA("ZRNComDll.dll"), path, MAX_PATH);
    std::string full = path;
    return full.substr(0, full.find_last_of("\\/") + 1);
}

} // namespace zrntest
