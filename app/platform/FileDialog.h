#pragma once
// The system's dialogs for choosing a file to open or to save, as
// GetOpenFileName and GetSaveFileName show them. Names are UTF-8.
#include "platform/Types.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

enum class FileDialogKind { Open, Save };

struct FileDialogRequest {
    FileDialogKind kind = FileDialogKind::Open;
    std::string title;
    std::string filter;    // "Plan files (*.json)"
    std::string extension; // "json": what the filter shows, and what a saved name gets
    std::string name;      // the name proposed for a save
};

// Answers every file dialog in place of the user (tests): a file name, or
// nothing for Cancel.
using FileDialogHook = std::function<std::optional<std::string>(const FileDialogRequest&)>;
FileDialogHook SetFileDialogHook(FileDialogHook hook);

// The chosen file, or nothing when the user cancelled. A save asks before
// replacing an existing file; an open offers existing files only. The dialog
// is modal and runs its own event loop, so link notifications are still
// handled while it is open.
std::optional<std::string> ChooseFile(CWnd* owner, const FileDialogRequest& request);
