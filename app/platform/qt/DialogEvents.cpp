// Messages from Qt: timers, keys, closing and showing the window, the window menu.
#include "platform/qt/DialogState.h"

#include "platform/Win.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

void WindowMenu::AppendMenu(unsigned flags, unsigned id, std::string_view text) {
    if (flags & win::MF_SEPARATOR) {
        items.push_back(MenuItem{});
        return;
    }
    texts.emplace_back(text); // a deque: earlier items keep pointing at their texts
    items.push_back(MenuItem{id, texts.back()});
}

WindowMenu& CDialog::GetSystemMenu() {
    return state->systemMenu;
}

bool CDialog::SetTimer(uintptr_t id, unsigned elapse) {
    elapse = std::clamp(elapse, win::USER_TIMER_MINIMUM, win::USER_TIMER_MAXIMUM);
    QTimer*& timer = state->timers[id];
    if (timer == nullptr) {
        timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this,
                [this, id] { SendMessage(kWindow, win::WM_TIMER, id); });
    }
    timer->start(static_cast<int>(elapse));
    return timer->isActive();
}

bool CDialog::KillTimer(uintptr_t id) {
    const auto found = state->timers.find(id);
    if (found == state->timers.end() || !found->second->isActive())
        return false;
    found->second->stop();
    return true;
}

int CDialog::TimerInterval(uintptr_t id) const {
    const auto found = state->timers.find(id);
    return found != state->timers.end() && found->second->isActive() ? found->second->interval()
                                                                     : -1;
}

void CDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A push button with the focus is the default button while it has it, as on Windows.
        if (auto* button = qobject_cast<QPushButton*>(QApplication::focusWidget());
            button != nullptr && button->window() == this && button->isEnabled()) {
            button->click();
            return;
        }
        SendMessage(win::IDOK, win::BN_CLICKED);
        return;
    case Qt::Key_Escape:
        SendMessage(win::IDCANCEL, win::BN_CLICKED);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void CDialog::closeEvent(QCloseEvent* event) {
    if (state->ending) {
        event->accept();
        return;
    }
    // The window manager's close is the close command of the window menu.
    event->ignore();
    SendMessage(kWindow, win::WM_SYSCOMMAND, win::SC_CLOSE);
}

void CDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        SendMessage(kWindow, win::WM_SHOWWINDOW, 1);
}
