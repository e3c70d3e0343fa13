#pragma once
// A Win32 handle that closes itself.

#include <windows.h>

#include <utility>

namespace zrn {

class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : handle(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    HANDLE get() const { return handle; }
    // CreateFile fails with INVALID_HANDLE_VALUE, most other calls with null.
    bool valid() const { return handle != INVALID_HANDLE_VALUE && handle != nullptr; }
    explicit operator bool() const { return valid(); }
    HANDLE release() { return std::exchange(handle, INVALID_HANDLE_VALUE); }
    void reset(HANDLE replacement = INVALID_HANDLE_VALUE) {
        if (valid())
            ::CloseHandle(handle);
        handle = replacement;
    }

private:
    HANDLE handle = INVALID_HANDLE_VALUE;
};

} // namespace zrn
