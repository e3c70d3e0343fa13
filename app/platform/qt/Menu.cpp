#include "platform/NativePrompts.h"
#include "platform/qt/QtText.h"

#include <QAction>
#include <QMenu>

unsigned ShowPopupMenu(QWidget* owner, const PopupMenuRequest& request) {
    QMenu menu(owner);
    for (const MenuItem& item : request.items) {
        if (item.id == 0) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(ToQString(item.text));
        action->setData(item.id);
        if (item.id == request.defaultId) {
            QFont bold = action->font();
            bold.setBold(true);
            action->setFont(bold);
            menu.setDefaultAction(action);
        }
    }
    const QAction* chosen = menu.exec(request.screenPos);
    return chosen ? chosen->data().toUInt() : 0;
}
