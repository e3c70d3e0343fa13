#pragma once
// Helpers shared by the dialog tests: captured debug output, answered
// message boxes and popup menus.
#include "platform/DebugOutput.h"
#include "platform/FileDialog.h"
#include "platform/Menu.h"
#include "platform/MessageBox.h"
#include "platform/Win.h"

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

// While it lives, answers every request of one kind (a message box, a popup
// menu) with `answer` and records what was asked.
template <class Request, class Hook, Hook (*SetHook)(Hook)> class HookAnswer {
public:
    template <class Answer> explicit HookAnswer(Answer answer) {
        previous = SetHook([this, answer](const Request& request) {
            asked.push_back(request);
            return answer;
        });
    }
    ~HookAnswer() { SetHook(std::move(previous)); }
    HookAnswer(const HookAnswer&) = delete;
    HookAnswer& operator=(const HookAnswer&) = delete;
    std::vector<Request> asked;

private:
    Hook previous;
};
using MessageBoxAnswer = HookAnswer<MessageBoxRequest, MessageBoxHook, &SetMessageBoxHook>;
// Names one file in every file dialog.
using FileDialogAnswer = HookAnswer<FileDialogRequest, FileDialogHook, &SetFileDialogHook>;
// Chooses the command from every popup menu.
using PopupMenuAnswer = HookAnswer<PopupMenuRequest, PopupMenuHook, &SetPopupMenuHook>;

// The choice-th of the buttons a box with these flags shows, counting round.
inline int NthButton(unsigned flags, unsigned choice) {
    using namespace win;
    std::vector<int> buttons{IDOK};
    switch (flags & 0xF) {
    case MB_OKCANCEL:
        buttons = {IDOK, IDCANCEL};
        break;
    case MB_YESNOCANCEL:
        buttons = {IDYES, IDNO, IDCANCEL};
        break;
    case MB_YESNO:
        buttons = {IDYES, IDNO};
        break;
    default:
        break;
    }
    return buttons[choice % buttons.size()];
}
