#include "platform/Types.h"
#include "platform/win32/WideText.h"

namespace {

// Shares a GDI handle, freed with its last copy; a null handle shares nothing.
template <class Handle, class Free>
std::shared_ptr<std::remove_pointer_t<Handle>> Shared(Handle handle, Free free) {
    if (handle == nullptr)
        return {};
    return {handle, free};
}

} // namespace

Bitmap::Bitmap(HBITMAP handle)
    : handle(Shared(handle, [](HBITMAP bitmap) { ::DeleteObject(bitmap); })) {}

Size Bitmap::size() const {
    BITMAP info{};
    if (!handle || ::GetObjectW(handle.get(), sizeof info, &info) == 0)
        return {};
    return {info.bmWidth, info.bmHeight};
}

Icon::Icon(HICON handle) : handle(Shared(handle, [](HICON icon) { ::DestroyIcon(icon); })) {}

std::wstring Widen(std::string_view utf8) {
    if (utf8.empty())
        return {};
    const int size = static_cast<int>(utf8.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    return wide;
}

std::string Narrow(std::wstring_view utf16) {
    if (utf16.empty())
        return {};
    const int size = static_cast<int>(utf16.size());
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, narrow.data(), length, nullptr, nullptr);
    return narrow;
}
