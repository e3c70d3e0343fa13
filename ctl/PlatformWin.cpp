#include "Platform.h"

#include "Copies.h"

#include <windows.h>

#include <cstdio>
#include <io.h>
#include <thread>

namespace zrnctl {

std::string SelfPath() {
    char path[MAX_PATH];
    const DWORD n = ::GetModuleFileNameA(nullptr, path, sizeof path);
    return n > 0 && n < sizeof path ? std::string(path, n) : std::string("zrnctl.exe");
}

namespace {

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

} // namespace

// Started one after another, each copy inherits only its own pipe: ours is
// closed before the next one starts.
Copy Start(const std::string& program, const std::vector<std::string>& arguments) {
    Copy copy;
    HANDLE read = nullptr, write = nullptr;
    if (!::CreatePipe(&read, &write, nullptr, 0))
        return copy;
    copy.out.reset(read);
    zrn::UniqueHandle writeEnd(write);
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

void ReadOutputs(std::vector<Copy>& copies) {
    // Each pipe on a thread of its own: Windows has no poll for pipes.
    std::vector<std::jthread> readers;
    for (Copy& copy : copies)
        readers.emplace_back([&copy] {
            char chunk[4096];
            DWORD n = 0;
            while (::ReadFile(copy.out.get(), chunk, sizeof chunk, &n, nullptr) && n > 0)
                copy.output.append(chunk, n);
        });
}

int Wait(Copy& copy) {
    DWORD status = static_cast<DWORD>(-1);
    if (copy.process.valid() &&
        ::WaitForSingleObject(copy.process.get(), INFINITE) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(copy.process.get(), &status);
    return static_cast<int>(status);
}

bool StderrIsTerminal() {
    return ::_isatty(::_fileno(stderr)) != 0;
}

} // namespace zrnctl
