#pragma once
// Registered window messages: RegisterWindowMessageA gives each name the
// number every process on the desktop agrees on, and the dialog handles that
// number as the program's own message.
#include <string>

class CDialog;

class WindowMessageBus {
public:
    explicit WindowMessageBus(CDialog& dialog) : dialog(dialog) {}

    // The name's message goes to the dialog's event table as the given window message.
    void Register(const std::string& name, int message);
    // True once a name has been registered.
    bool Listening() const { return listening; }

private:
    CDialog& dialog;
    bool listening = false;
};

// RegisterWindowMessageA: 0xC000 to 0xFFFF, the same for every process; 0 on failure.
unsigned RegisterMessageName(const std::string& name);
