#include "platform/Menu.h"

#include "platform/qt/QtText.h"

#include <QAction>
#include <QMenu>
#include <utility>

namespace {
PopupMenuHook hook;
}

PopupMenuHook SetPopupMenuHook(PopupMenuHook replacement) {
    return std::exchange(hook, std::move(replacement));
}

unsigned TrackPopupMenu(QWidget* owner, std::span<const MenuItem> items, unsigned defaultId,
                        QPoint screenPos) {
    if (hook)
        return hook(PopupMenuRequest{{items.begin(), items.end()}, defaultId, screenPos});

    QMenu menu(owner);
    for (const MenuItem& item : items) {
        if (item.id == 0) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(ToQString(item.text));
        action->setData(item.id);
        if (item.id == defaultId) {
            QFont bold = action->font();
            bold.setBold(true);
            action->setFont(bold);
            menu.setDefaultAction(action);
        }
    }
    const QAction* chosen = menu.exec(screenPos);
    return chosen ? chosen->data().toUInt() : 0;
}
