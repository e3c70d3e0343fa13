#pragma once
// Helpers shared by the dialog tests: captured debug output, answered
// message boxes and popup menus.
#include "platform/DebugOutput.h"
#include "platform/Menu.h"
#include "platform/MessageBox.h"

#include <mutex>
#include <string>
#include <vector>

// Collects the debugger output while alive.
class DebugCapture {
public:
    DebugCapture() {
        previous = SetDebugSink([this](std::string_view text) {
            std::lock_guard lock(mutex);
            lines.emplace_back(text);
        });
    }
    ~DebugCapture() { SetDebugSink(std::move(previous)); }
    std::vector<std::string> Lines() {
        std::lock_guard lock(mutex);
        return lines;
    }
    std::string Text() {
        std::string all;
        for (const auto& line : Lines())
            all += line;
        return all;
    }
    bool Contains(std::string_view piece) { return Text().find(piece) != std::string::npos; }
    void Clear() {
        std::lock_guard lock(mutex);
        lines.clear();
    }

private:
    std::mutex mutex;
    std::vector<std::string> lines;
    DebugSink previous;
};

// Answers every message box with `answer` and records what was asked.
class MessageBoxAnswer {
public:
    explicit MessageBoxAnswer(int answer) {
        previous = SetMessageBoxHook([this, answer](const MessageBoxRequest& request) {
            asked.push_back(request);
            return answer;
        });
    }
    ~MessageBoxAnswer() { SetMessageBoxHook(std::move(previous)); }
    std::vector<MessageBoxRequest> asked;

private:
    MessageBoxHook previous;
};

// Chooses `command` from every popup menu and records the menus shown.
class PopupMenuAnswer {
public:
    explicit PopupMenuAnswer(unsigned command) {
        previous = SetPopupMenuHook([this, command](const PopupMenuRequest& request) {
            shown.push_back(request);
            return command;
        });
    }
    ~PopupMenuAnswer() { SetPopupMenuHook(std::move(previous)); }
    std::vector<PopupMenuRequest> shown;

private:
    PopupMenuHook previous;
};
