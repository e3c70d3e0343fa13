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
