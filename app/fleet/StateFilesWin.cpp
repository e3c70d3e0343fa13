#include "fleet/StateFiles.h"

#include <windows.h>

#include <array>
#include <cstdlib>
#include <system_error>

namespace zrn {
namespace {

// Closes on every way out.
class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() {
        if (handle_ != INVALID_HANDLE_VALUE)
            ::CloseHandle(handle_);
    }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

std::string Why(const char* step) {
    return std::string(step) + ": " +
           std::system_category().message(static_cast<int>(::GetLastError()));
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

std::optional<std::filesystem::path> StateFolder() {
    const wchar_t* local = ::_wgetenv(L"LOCALAPPDATA");
    if (!local || !*local)
        return std::nullopt;
    return std::filesystem::path(local) / "ZRNcom";
}

std::optional<std::string> MakeStateFolder(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!std::filesystem::is_directory(folder))
        return "cannot create " + folder.string() + ": " + error.message();
    return std::nullopt;
}

std::string UserName() {
    return Environment("USERNAME");
}

std::string HostName() {
    return Environment("COMPUTERNAME");
}

std::optional<std::string> AppendLocked(const std::filesystem::path& file,
                                        const std::string& line) {
    // Read access only for LockFileEx, which wants it or write access;
    // FILE_APPEND_DATA without FILE_WRITE_DATA places every write at the end.
    const Handle handle(::CreateFileW(file.c_str(), GENERIC_READ | FILE_APPEND_DATA,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (handle.get() == INVALID_HANDLE_VALUE)
        return Why("cannot open");
    // The lock keeps a second writer out while a long line goes in several pieces.
    OVERLAPPED whole{};
    if (!::LockFileEx(handle.get(), LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole))
        return Why("cannot lock");
    std::optional<std::string> failure;
    std::size_t done = 0;
    while (done < line.size()) {
        DWORD written = 0;
        const DWORD piece = static_cast<DWORD>(line.size() - done);
        if (!::WriteFile(handle.get(), line.data() + done, piece, &written, nullptr) ||
            written == 0) {
            failure = Why("cannot write");
            break;
        }
        done += written;
    }
    OVERLAPPED again{};
    ::UnlockFileEx(handle.get(), 0, MAXDWORD, MAXDWORD, &again);
    return failure;
}

bool CreateNew(const std::filesystem::path& file) {
    const Handle handle(::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    return handle.get() != INVALID_HANDLE_VALUE;
}

} // namespace zrn
