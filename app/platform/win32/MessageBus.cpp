#include "platform/MessageBus.h"

#include "platform/DebugOutput.h"
#include "platform/Dialog.h"

#include <windows.h>

unsigned RegisterMessageName(const std::string& name) {
    return ::RegisterWindowMessageA(name.c_str());
}

void WindowMessageBus::Register(const std::string& name, int message) {
    const unsigned registered = RegisterMessageName(name);
    if (registered == 0) {
        DebugTrace("ZRNcom/WindowMessageBus; %s not registered\n", name.c_str());
        return;
    }
    dialog.MapRegisteredMessage(registered, message);
    listening = true;
}
