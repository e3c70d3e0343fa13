#pragma once
// Popup menus from menu tables, and the window menu that stands in for the
// system menu.
#include "platform/Types.h"

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct MenuItem {
    unsigned id = 0; // 0 is a separator
    std::string_view text;
};

// A menu resource with its one popup.
struct MenuTemplate {
    int id;
    std::string_view popup;
    std::span<const MenuItem> items;
};

struct PopupMenuRequest {
    std::vector<MenuItem> items;
    unsigned defaultId = 0; // shown bold
    Point screenPos;
};

// Chooses in place of the user (tests); returns the command, 0 for none.
using PopupMenuHook = std::function<unsigned(const PopupMenuRequest&)>;
PopupMenuHook SetPopupMenuHook(PopupMenuHook hook);

// Shows the menu at screenPos and returns the chosen command, or 0.
unsigned TrackPopupMenu(CWnd* owner, std::span<const MenuItem> items, unsigned defaultId,
                        Point screenPos);
