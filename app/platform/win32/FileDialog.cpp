#include "platform/Dialog.h"
#include "platform/NativePrompts.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WinApi.h"

#include <commdlg.h>

#include <vector>

// The common dialog runs its own message loop, so link notifications sent to
// the dialog are still handled while it is open.
std::optional<std::string> ShowFileDialog(CWnd* owner, const FileDialogRequest& request) {
    // The filter is pairs of NUL-terminated texts, ended by an empty one.
    std::wstring filter = Widen(request.filter);
    filter += L'\0';
    filter += Widen("*." + request.extension);
    filter += L'\0';
    const std::wstring title = Widen(request.title);
    const std::wstring extension = Widen(request.extension);
    std::vector<wchar_t> name(32768, L'\0');
    const std::wstring proposed = Widen(request.name);
    proposed.copy(name.data(), name.size() - 1);

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner != nullptr ? owner->m_hWnd : nullptr;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.lpstrTitle = title.c_str();
    dialog.lpstrDefExt = extension.c_str();
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    BOOL chosen = FALSE;
    if (request.kind == FileDialogKind::Save) {
        dialog.Flags |= OFN_OVERWRITEPROMPT;
        chosen = ::GetSaveFileNameW(&dialog);
    } else {
        dialog.Flags |= OFN_FILEMUSTEXIST;
        chosen = ::GetOpenFileNameW(&dialog);
    }
    if (!chosen)
        return std::nullopt;
    return Narrow(name.data());
}
