#pragma once
// The Qt backend's part of platform/Dialog.h: the window a dialog is, its
// font and units, its window menu.
#include "platform/Controls.h"
#include "platform/Menu.h"
#include "platform/Types.h"

#include <QDialog>
#include <QFont>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

// A dialog is a Qt dialog; its controls are widgets.
using DialogWindow = QDialog;
using DialogItem = QWidget*;
using DialogControl = QWidget;

// The font that stands in for a template's font, and the dialog base units
// Windows derives from it: the average width of "A".."Z" "a".."z" and the height.
QFont DialogFont(std::string_view face, int pointSize);
QSize DialogBaseUnits(const QFont& font);

// The menu opened from the small button at the top-left and with Alt+Space;
// its commands reach the dialog as WM_SYSCOMMAND.
class WindowMenu {
public:
    void AppendMenu(unsigned flags, unsigned id, std::string_view text);
    const std::vector<MenuItem>& Items() const { return items; }

private:
    std::deque<std::string> texts; // owns the appended texts
    std::vector<MenuItem> items;
};
