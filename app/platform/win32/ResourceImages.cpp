#include "platform/ResourceImages.h"

#include <windows.h>

Bitmap LoadBitmapResource(int id, Size size) {
    // A DIB section keeps the colours exact, so an image list can still mask
    // the magenta background.
    HANDLE image = ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_BITMAP,
                                size.width(), size.height(), LR_CREATEDIBSECTION);
    return image == nullptr ? Bitmap() : Bitmap(static_cast<HBITMAP>(image));
}

Icon LoadIconResource(int id, Size size) {
    // The icon's image nearest the size, from the several it holds.
    HANDLE image = ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON,
                                size.width(), size.height(), 0);
    return image == nullptr ? Icon() : Icon(static_cast<HICON>(image));
}

Bitmap LoadIconAsBitmap(int id, Size size) {
    const Icon icon = LoadIconResource(id, size);
    if (icon.isNull())
        return Bitmap();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.width();
    info.bmiHeader.biHeight = size.height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr)
        return Bitmap();
    Bitmap result(bitmap); // owns it from here
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    if (memory == nullptr)
        return Bitmap();
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    const RECT all{0, 0, size.width(), size.height()};
    ::FillRect(memory, &all, ::GetSysColorBrush(COLOR_3DFACE));
    ::DrawIconEx(memory, 0, 0, icon.Handle(), size.width(), size.height(), 0, nullptr, DI_NORMAL);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    return result;
}
