#include "platform/Dialog.h"
#include "platform/NativePrompts.h"
#include "platform/Win.h"
#include "platform/win32/WideText.h"

#include <memory>

namespace {

struct MenuDeleter {
    void operator()(HMENU menu) const { ::DestroyMenu(menu); }
};
using MenuHandle = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;

} // namespace

unsigned ShowPopupMenu(CWnd* owner, const PopupMenuRequest& request) {
    const MenuHandle menu(::CreatePopupMenu());
    if (!menu)
        return 0;
    for (const MenuItem& item : request.items) {
        if (item.id == 0)
            ::AppendMenuW(menu.get(), win::MF_SEPARATOR, 0, nullptr);
        else
            ::AppendMenuW(menu.get(), win::MF_STRING, item.id, Widen(item.text).c_str());
    }
    if (request.defaultId != 0)
        ::SetMenuDefaultItem(menu.get(), request.defaultId, FALSE); // shown bold
    HWND window = owner != nullptr ? owner->m_hWnd : ::GetActiveWindow();
    // Without the foreground the menu would not close when the user clicks elsewhere.
    ::SetForegroundWindow(window);
    const BOOL command =
        ::TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON,
                         request.screenPos.x(), request.screenPos.y(), 0, window, nullptr);
    ::PostMessageW(window, WM_NULL, 0, 0);
    return static_cast<unsigned>(command);
}
