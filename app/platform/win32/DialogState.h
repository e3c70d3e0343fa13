#pragma once
// The Win32 backend's state of a dialog, shared by its parts.
#include "platform/Dialog.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct DialogState {
    DialogState(const DialogTemplate& dialogTemplate, CWnd* parent)
        : dialogTemplate(dialogTemplate), parent(parent) {}

    const DialogTemplate& dialogTemplate;
    CWnd* parent;
    bool created = false;
    bool initResult = true;
    bool destroying = false;
    bool modal = false;
    bool ending = false;
    bool refusingUserMessages = false;
    int modalResult = 0;
    std::map<int, std::unique_ptr<Control>> controls;
    std::map<uintptr_t, unsigned> timers;
    std::map<unsigned, int> registeredMessages;
    std::map<int, int> lineLimits;
    std::map<int, std::string> accessibleNames;
    std::vector<Bitmap> images; // shown by picture controls, which do not own them
    Icon icon;
    WindowMenu systemMenu;
};
