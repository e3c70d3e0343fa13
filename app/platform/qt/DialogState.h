#pragma once
// The Qt backend's state of a dialog, shared by its parts.
#include "platform/Dialog.h"

#include <QMetaObject>
#include <cstdint>
#include <map>
#include <vector>

class QTimer;
class QToolButton;

struct DialogState {
    explicit DialogState(const DialogTemplate& dialogTemplate) : dialogTemplate(dialogTemplate) {}

    const DialogTemplate& dialogTemplate;
    QSize baseUnits;
    bool created = false;
    bool ending = false;
    bool destroying = false;
    std::map<int, QWidget*> controls; // children of the dialog
    std::map<uintptr_t, QTimer*> timers;
    std::vector<int> refusingFocus;
    WindowMenu systemMenu;
    QToolButton* systemMenuButton = nullptr;
    QMetaObject::Connection focusConnection;
};
