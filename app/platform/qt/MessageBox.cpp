#include "platform/NativePrompts.h"
#include "platform/Win.h"

#include <QMessageBox>
#include <QPushButton>
#include <utility>
#include <vector>

namespace {

struct ButtonSpec {
    int result;
    const char* text;
    QMessageBox::ButtonRole role;
};

std::vector<ButtonSpec> Buttons(unsigned type) {
    using R = QMessageBox::ButtonRole;
    switch (type) {
    case win::MB_OKCANCEL:
        return {{win::IDOK, "OK", R::AcceptRole}, {win::IDCANCEL, "Cancel", R::RejectRole}};
    case win::MB_ABORTRETRYIGNORE:
        return {{win::IDABORT, "&Abort", R::RejectRole},
                {win::IDRETRY, "&Retry", R::AcceptRole},
                {win::IDIGNORE, "&Ignore", R::AcceptRole}};
    case win::MB_YESNOCANCEL:
        return {{win::IDYES, "&Yes", R::YesRole},
                {win::IDNO, "&No", R::NoRole},
                {win::IDCANCEL, "Cancel", R::RejectRole}};
    case win::MB_YESNO:
        return {{win::IDYES, "&Yes", R::YesRole}, {win::IDNO, "&No", R::NoRole}};
    case win::MB_RETRYCANCEL:
        return {{win::IDRETRY, "&Retry", R::AcceptRole}, {win::IDCANCEL, "Cancel", R::RejectRole}};
    default:
        return {{win::IDOK, "OK", R::AcceptRole}};
    }
}

QMessageBox::Icon BoxIcon(unsigned flags) {
    switch (flags & win::MB_ICONMASK) {
    case win::MB_ICONERROR:
        return QMessageBox::Critical;
    case win::MB_ICONQUESTION:
        return QMessageBox::Question;
    case win::MB_ICONWARNING:
        return QMessageBox::Warning;
    case win::MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

int ShowMessageBox(QWidget* owner, const MessageBoxRequest& request) {
    const unsigned flags = request.flags;
    QMessageBox box(BoxIcon(flags), QString::fromStdString(request.caption),
                    QString::fromStdString(request.text), QMessageBox::NoButton, owner);
    const std::vector<ButtonSpec> layout = Buttons(flags & win::MB_TYPEMASK);
    std::vector<std::pair<QPushButton*, int>> buttons;
    for (const ButtonSpec& item : layout)
        buttons.emplace_back(box.addButton(QString::fromUtf8(item.text), item.role), item.result);
    const size_t defaultIndex = (flags & win::MB_DEFMASK) >> 8;
    if (defaultIndex < buttons.size())
        box.setDefaultButton(buttons[defaultIndex].first);
    // Escape answers Cancel where there is one, and OK on a box with OK alone, as on Windows.
    for (const auto& [button, result] : buttons) {
        if (result == win::IDCANCEL || (buttons.size() == 1 && result == win::IDOK))
            box.setEscapeButton(button);
    }
    box.exec();
    for (const auto& [button, result] : buttons) {
        if (box.clickedButton() == button)
            return result;
    }
    return layout.size() == 1 ? layout.front().result : win::IDCANCEL;
}
