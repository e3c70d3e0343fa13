// Message boxes, popup menus and file dialogs on either backend: the request
// is built here once, and a test's hook answers it in place of the user
// before the backend shows anything.
#include "platform/NativePrompts.h"

#include <utility>

namespace {
MessageBoxHook messageBoxHook;
PopupMenuHook popupMenuHook;
FileDialogHook fileDialogHook;
} // namespace

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook) {
    return std::exchange(messageBoxHook, std::move(hook));
}

int MessageBox(CWnd* owner, std::string_view text, std::string_view caption, unsigned flags) {
    const MessageBoxRequest request{
        std::string(text), caption.empty() ? std::string("ZRNcom") : std::string(caption), flags};
    return messageBoxHook ? messageBoxHook(request) : ShowMessageBox(owner, request);
}

PopupMenuHook SetPopupMenuHook(PopupMenuHook hook) {
    return std::exchange(popupMenuHook, std::move(hook));
}

unsigned TrackPopupMenu(CWnd* owner, std::span<const MenuItem> items, unsigned defaultId,
                        Point screenPos) {
    const PopupMenuRequest request{{items.begin(), items.end()}, defaultId, screenPos};
    return popupMenuHook ? popupMenuHook(request) : ShowPopupMenu(owner, request);
}

FileDialogHook SetFileDialogHook(FileDialogHook hook) {
    return std::exchange(fileDialogHook, std::move(hook));
}

std::optional<std::string> ChooseFile(CWnd* owner, const FileDialogRequest& request) {
    return fileDialogHook ? fileDialogHook(request) : ShowFileDialog(owner, request);
}
