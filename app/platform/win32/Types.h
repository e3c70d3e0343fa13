#pragma once
// Small value types with the members panel code uses, and RAII owners of GDI
// bitmaps and icons.
// windows.h comes in tamed here, ahead of every platform-layer name: see WinApi.h.
#include "platform/win32/WinApi.h"

#include <memory>
#include <type_traits>

class Point {
public:
    constexpr Point() = default;
    constexpr Point(int x, int y) : px(x), py(y) {}
    constexpr int x() const { return px; }
    constexpr int y() const { return py; }
    constexpr bool operator==(const Point&) const = default;

private:
    int px = 0, py = 0;
};

class Size {
public:
    constexpr Size() = default;
    constexpr Size(int width, int height) : w(width), h(height) {}
    constexpr int width() const { return w; }
    constexpr int height() const { return h; }
    constexpr bool operator==(const Size&) const = default;

private:
    int w = 0, h = 0;
};

class Rect {
public:
    constexpr Rect() = default;
    constexpr Rect(int x, int y, int width, int height) : px(x), py(y), w(width), h(height) {}
    constexpr int x() const { return px; }
    constexpr int y() const { return py; }
    constexpr int left() const { return px; }
    constexpr int top() const { return py; }
    constexpr int width() const { return w; }
    constexpr int height() const { return h; }
    constexpr bool operator==(const Rect&) const = default;

private:
    int px = 0, py = 0, w = 0, h = 0;
};

class Colour {
public:
    constexpr Colour(int red, int green, int blue) : r(red), g(green), b(blue) {}
    // As COLORREF: 0x00bbggrr.
    constexpr unsigned long Ref() const {
        return static_cast<unsigned long>(r) | static_cast<unsigned long>(g) << 8 |
               static_cast<unsigned long>(b) << 16;
    }

private:
    int r, g, b;
};

// A GDI bitmap, deleted with its last copy.
class Bitmap {
public:
    Bitmap() = default;
    explicit Bitmap(HBITMAP__* handle);
    HBITMAP__* Handle() const { return handle.get(); }
    bool isNull() const { return !handle; }
    Size size() const;

private:
    std::shared_ptr<HBITMAP__> handle;
};

// An icon from the program's resources, destroyed with its last copy.
class Icon {
public:
    Icon() = default;
    explicit Icon(HICON__* handle);
    HICON__* Handle() const { return handle.get(); }
    bool isNull() const { return !handle; }

private:
    std::shared_ptr<HICON__> handle;
};

class CWnd; // the owner of a dialog or message box: platform/win32/DialogBase.h
