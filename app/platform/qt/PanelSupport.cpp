#include "platform/PanelSupport.h"

#include "platform/Dialog.h"

#include <QApplication>
#include <QCursor>

std::optional<PickerFields> GetPickerFields(const CDialog& dialog, int id) {
    const auto* picker = dialog.Item<DateTimePicker>(id);
    if (picker == nullptr)
        return std::nullopt;
    const QDateTime value = picker->Value();
    if (!value.isValid())
        return std::nullopt;
    return PickerFields{value.date().year(), value.date().month(),  value.date().day(),
                        value.time().hour(), value.time().minute(), value.time().second()};
}

void SetPickerTime(CDialog& dialog, int id, std::int64_t t) {
    if (auto* picker = dialog.Item<DateTimePicker>(id))
        picker->SetValue(QDateTime::fromSecsSinceEpoch(t));
}

void SetPickerSpan(CDialog& dialog, int id, int hours, int minutes, int seconds) {
    if (auto* picker = dialog.Item<DateTimePicker>(id))
        picker->SetOleDate((hours * 3600 + minutes * 60 + seconds) / 86400.0);
}

ClientPoint ScreenToClient(const CDialog& dialog, int id, int screenX, int screenY) {
    const QWidget* control = dialog.GetDlgItem(id);
    if (control == nullptr)
        return {screenX, screenY};
    const QPoint local = control->mapFromGlobal(QPoint(screenX, screenY));
    return {local.x(), local.y()};
}

CWaitCursor::CWaitCursor() {
    if (qApp != nullptr) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        shown = true;
    }
}

CWaitCursor::~CWaitCursor() {
    Restore();
}

void CWaitCursor::Restore() {
    if (shown)
        QApplication::restoreOverrideCursor();
    shown = false;
}
