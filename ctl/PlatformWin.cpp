#include "Platform.h"

#include <windows.h>

#include <cstdio>
#include <io.h>
#include <thread>
#include <utility>

namespace zrnctl {
namespace {

// A kernel handle, closed with its owner.
class Handle {
public:
    explicit Handle(HANDLE handle = nullptr) : handle_(handle) {}
    Handle(Handle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    Handle& operator=(Handle&& other) noexcept {
        reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    ~Handle() { reset(); }
    void reset(HANDLE handle = nullptr) {
        if (handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE)
            ::CloseHandle(handle_);
        handle_ = handle;
    }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

std::string SelfPath() {
    char path[MAX_PATH];
    const DWORD n = ::GetModuleFileNameA(nullptr, path, sizeof path);
    return n > 0 && n < sizeof path ? std::string(path, n) : std::string("zrnctl.exe");
}

// One argument as the C runtime splits a command line: quoted, with the
// backslashes before a quote doubled.
std::string Quoted(const std::string& argument) {
    std::string text = "\"";
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        text.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        text.push_back(c);
    }
    text.append(backslashes * 2, '\\');
    return text + "\"";
}

struct Copy {
    Handle process;
    Handle out;
    std::string output;
};

// Started one after another, each copy inherits only its own pipe: ours is
// closed before the next one starts.
Copy Start(const std::string& program, const std::vector<std::string>& arguments) {
    Copy copy;
    HANDLE read = nullptr, write = nullptr;
    if (!::CreatePipe(&read, &write, nullptr, 0))
        return copy;
    copy.out.reset(read);
    Handle writeEnd(write);
    ::SetHandleInformation(write, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    std::string commandLine = Quoted(program);
    for (const std::string& argument : arguments)
        commandLine += " " + Quoted(argument);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = write;
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION info{};
    if (::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                         nullptr, &startup, &info)) {
        copy.process.reset(info.hProcess);
        ::CloseHandle(info.hThread);
    }
    return copy;
}

void ReadAll(Copy& copy) {
    char chunk[4096];
    DWORD n = 0;
    while (::ReadFile(copy.out.get(), chunk, sizeof chunk, &n, nullptr) && n > 0)
        copy.output.append(chunk, n);
}

} // namespace

std::vector<CopyRun> RunCopies(const std::vector<std::vector<std::string>>& argumentLists) {
    const std::string self = SelfPath();
    std::vector<Copy> copies;
    for (const auto& arguments : argumentLists)
        copies.push_back(Start(self, arguments));
    {
        std::vector<std::jthread> readers;
        for (Copy& copy : copies)
            readers.emplace_back([&copy] { ReadAll(copy); });
    }
    std::vector<CopyRun> runs;
    for (Copy& copy : copies) {
        DWORD status = static_cast<DWORD>(-1);
        if (copy.process.get() != nullptr &&
            ::WaitForSingleObject(copy.process.get(), INFINITE) == WAIT_OBJECT_0)
            ::GetExitCodeProcess(copy.process.get(), &status);
        runs.push_back({static_cast<int>(status), std::move(copy.output)});
    }
    return runs;
}

bool StderrIsTerminal() {
    return ::_isatty(::_fileno(stderr)) != 0;
}

std::string PortOpenFailure(const std::string&) {
    return "the port does not open (missing, or in use by another program)";
}

} // namespace zrnctl
