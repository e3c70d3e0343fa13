#include "platform/Menu.h"

#include "platform/Dialog.h"
#include "platform/Win.h"
#include "platform/win32/WideText.h"

#include <memory>
#include <utility>

namespace {

PopupMenuHook hook;

struct MenuDeleter {
    void operator()(HMENU menu) const { ::DestroyMenu(menu); }
};
using MenuHandle = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;

} // namespace

PopupMenuHook SetPopupMenuHook(PopupMenuHook replacement) {
    return std::exchange(hook, std::move(replacement));
}

unsigned TrackPopupMenu(CWnd* owner, std::span<const MenuItem> items, unsigned defaultId,
                        Point screenPos) {
    if (hook)
        return hook(PopupMenuRequest{{items.begin(), items.end()}, defaultId, screenPos});

    const MenuHandle menu(::CreatePopupMenu());
    if (!menu)
        return 0;
    for (const MenuItem& item : items) {
        if (item.id == 0)
            ::AppendMenuW(menu.get(), win::MF_SEPARATOR, 0, nullptr);
        else
            ::AppendMenuW(menu.get(), win::MF_STRING, item.id, Widen(item.text).c_str());
    }
    if (defaultId != 0)
        ::SetMenuDefaultItem(menu.get(), defaultId, FALSE); // shown bold
    HWND window = owner != nullptr ? owner->m_hWnd : ::GetActiveWindow();
    // Without the foreground the menu would not close when the user clicks elsewhere.
    ::SetForegroundWindow(window);
    const BOOL command =
        ::TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, screenPos.x(),
                         screenPos.y(), 0, window, nullptr);
    ::PostMessageW(window, WM_NULL, 0, 0);
    return static_cast<unsigned>(command);
}
