#pragma once
// A dialog's message map: one static table of {source, code, handler}.
// Window messages use source 0; commands from buttons and menus use the
// control or command identifier with BN_CLICKED.
#include "platform/Types.h"

#include <cstdint>
#include <span>

// One window message or control notification on its way to a handler.
struct Notify {
    int id = 0;   // control or command identifier; 0 for window messages
    int code = 0; // notification code, or the window message
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
    int row = -1; // list views: the row under the mouse, -1 for none
    Point point;  // list views: the mouse in screen coordinates
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0; // pickers
    intptr_t result = 0; // the notification result a handler sets
};

inline constexpr int kWindow = 0;

template <class Dialog> struct EventEntry {
    using Plain = void (Dialog::*)();
    using WithArgs = void (Dialog::*)(Notify&);

    constexpr EventEntry(int source, int notification, Plain handler)
        : id(source), code(notification), plain(handler) {}
    constexpr EventEntry(int source, int notification, WithArgs handler)
        : id(source), code(notification), withArgs(handler) {}

    int id;
    int code;
    Plain plain = nullptr;
    WithArgs withArgs = nullptr;
};

// Calls the first handler that matches; false when the table has none.
template <class Dialog>
bool Dispatch(Dialog& dialog, std::span<const EventEntry<Dialog>> table, Notify& n) {
    for (const auto& entry : table) {
        if (entry.id != n.id || entry.code != n.code)
            continue;
        if (entry.plain)
            (dialog.*entry.plain)();
        else
            (dialog.*entry.withArgs)(n);
        return true;
    }
    return false;
}

// A dialog whose rows are spread over several tables (one per panel): the first
// table with a matching row wins.
template <class Dialog>
bool Dispatch(Dialog& dialog, std::span<const std::span<const EventEntry<Dialog>>> tables,
              Notify& n) {
    for (const auto& table : tables)
        if (Dispatch<Dialog>(dialog, table, n))
            return true;
    return false;
}
