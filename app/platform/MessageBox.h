#pragma once
// Message boxes with the Windows flags and answers. A real box runs a nested
// event loop, so link notifications are still handled while it is open.
#include <functional>
#include <string>
#include <string_view>

#include "platform/Types.h"

struct MessageBoxRequest {
    std::string text;
    std::string caption;
    unsigned flags = 0;
};

// Answers every box in place of the user (tests); returns IDOK, IDYES...
using MessageBoxHook = std::function<int(const MessageBoxRequest&)>;
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);

// The caption defaults to the program's name.
int MessageBox(CWnd* owner, std::string_view text, std::string_view caption = {},
               unsigned flags = 0);
