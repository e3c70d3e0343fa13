// Controls by identifier: text, lists, buttons, multi-line edits, names.
#include "platform/qt/DialogState.h"

#include "platform/Win.h"
#include "platform/qt/QtText.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabBar>

namespace {

// Windows edits separate lines with CR LF; Qt's text widgets with LF.
QString ToWidgetText(std::string_view text) {
    return ToQString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

std::string FromWidgetText(const QString& text) {
    return QString(text).replace(QStringLiteral("\n"), QStringLiteral("\r\n")).toStdString();
}

} // namespace

void CDialog::SetAccessibleName(int id, std::string_view name) {
    if (QWidget* widget = GetDlgItem(id))
        widget->setAccessibleName(ToQString(name));
}

QWidget* CDialog::GetDlgItem(int id) const {
    const auto found = state->controls.find(id);
    return found == state->controls.end() ? nullptr : found->second;
}

QWidget* CDialog::ControlObject(int id) const {
    return GetDlgItem(id);
}

std::vector<int> CDialog::ControlIds() const {
    std::vector<int> ids;
    for (const auto& [id, widget] : state->controls)
        ids.push_back(id);
    return ids;
}

void CDialog::SetDlgItemText(int id, std::string_view text) {
    QWidget* widget = GetDlgItem(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(ToQString(text));
    else if (auto* box = qobject_cast<QPlainTextEdit*>(widget))
        box->setPlainText(ToWidgetText(text));
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(ToQString(text));
    else if (auto* group = qobject_cast<QGroupBox*>(widget))
        group->setTitle(ToQString(text));
    else if (auto* picker = dynamic_cast<DateTimePicker*>(widget)) {
        const QDateTime parsed = QDateTime::fromString(ToQString(text), picker->displayFormat());
        if (parsed.isValid())
            picker->SetValue(parsed);
    } else if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(ToQString(text));
}

std::string CDialog::GetDlgItemText(int id) const {
    QWidget* widget = GetDlgItem(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text().toStdString();
    if (auto* box = qobject_cast<QPlainTextEdit*>(widget))
        return FromWidgetText(box->toPlainText());
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text().toStdString();
    if (auto* group = qobject_cast<QGroupBox*>(widget))
        return group->title().toStdString();
    if (auto* picker = dynamic_cast<DateTimePicker*>(widget))
        return picker->text().toStdString();
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text().toStdString();
    return {};
}

void CDialog::EnableItem(int id, bool enable) {
    if (QWidget* widget = GetDlgItem(id))
        widget->setEnabled(enable);
}

bool CDialog::IsItemEnabled(int id) const {
    const QWidget* widget = GetDlgItem(id);
    return widget != nullptr && widget->isEnabled();
}

void CDialog::ShowItem(int id, bool show) {
    if (QWidget* widget = GetDlgItem(id))
        widget->setVisible(show);
}

bool CDialog::IsItemShown(int id) const {
    const QWidget* widget = GetDlgItem(id);
    return widget != nullptr && !widget->isHidden();
}

void CDialog::GotoDlgCtrl(int id) {
    if (QWidget* widget = GetDlgItem(id))
        widget->setFocus(Qt::OtherFocusReason);
}

void CDialog::SetReadOnly(int id, bool readOnly) {
    QWidget* widget = GetDlgItem(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setReadOnly(readOnly);
    else if (auto* box = qobject_cast<QPlainTextEdit*>(widget))
        box->setReadOnly(readOnly);
}

void CDialog::ListBoxReset(int id) {
    if (auto* list = qobject_cast<QListWidget*>(GetDlgItem(id)))
        list->clear();
}

void CDialog::ListBoxInsert(int id, int row, std::string_view text) {
    auto* list = qobject_cast<QListWidget*>(GetDlgItem(id));
    if (list == nullptr)
        return;
    // The caller chooses the place; Qt's own sorting would move it.
    list->setSortingEnabled(false);
    list->insertItem(row, ToQString(text));
}

int CDialog::ListBoxCount(int id) const {
    const auto* list = qobject_cast<QListWidget*>(GetDlgItem(id));
    return list != nullptr ? list->count() : 0;
}

std::string CDialog::ListBoxText(int id, int row) const {
    const auto* list = qobject_cast<QListWidget*>(GetDlgItem(id));
    const QListWidgetItem* item = list != nullptr ? list->item(row) : nullptr;
    return item != nullptr ? item->text().toStdString() : std::string();
}

void CDialog::ListBoxSetCurSel(int id, int row) {
    if (auto* list = qobject_cast<QListWidget*>(GetDlgItem(id)))
        list->setCurrentRow(row);
}

int CDialog::ListBoxGetCurSel(int id) const {
    const auto* list = qobject_cast<QListWidget*>(GetDlgItem(id));
    return list != nullptr && list->currentItem() != nullptr ? list->currentRow() : -1;
}

void CDialog::AddTab(int id, std::string_view label) {
    if (auto* tab = qobject_cast<QTabBar*>(GetDlgItem(id)))
        tab->addTab(ToQString(label));
}

void CDialog::LimitText(int id, int maxChars) {
    if (auto* edit = qobject_cast<QLineEdit*>(GetDlgItem(id)))
        edit->setMaxLength(maxChars);
}

bool CDialog::ItemHasFocus(int id) const {
    const QWidget* widget = GetDlgItem(id);
    return widget != nullptr && widget->hasFocus();
}

bool CDialog::IsReadOnly(int id) const {
    QWidget* widget = GetDlgItem(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->isReadOnly();
    if (auto* box = qobject_cast<QPlainTextEdit*>(widget))
        return box->isReadOnly();
    return false;
}

void CDialog::CheckDlgButton(int id, int check) {
    if (auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(id)))
        button->setChecked(check != 0);
}

int CDialog::IsDlgButtonChecked(int id) const {
    const auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(id));
    return button != nullptr && button->isChecked() ? 1 : 0;
}

void CDialog::AppendLine(int id, std::string_view text) {
    auto* box = qobject_cast<QPlainTextEdit*>(GetDlgItem(id));
    if (box == nullptr)
        return;
    if (box->document()->isEmpty())
        box->setPlainText(ToWidgetText(text));
    else
        box->appendPlainText(ToWidgetText(text));
}

int CDialog::GetLineCount(int id) const {
    const auto* box = qobject_cast<QPlainTextEdit*>(GetDlgItem(id));
    return box ? box->document()->blockCount() : 1;
}

void CDialog::LineScroll(int id, int lines) {
    if (auto* box = qobject_cast<QPlainTextEdit*>(GetDlgItem(id))) {
        QScrollBar* bar = box->verticalScrollBar();
        bar->setValue(bar->value() + lines); // the bar clamps, as EM_LINESCROLL does
    }
}

void CDialog::LimitLines(int id, int lines) {
    if (auto* box = qobject_cast<QPlainTextEdit*>(GetDlgItem(id)))
        box->setMaximumBlockCount(lines);
}

int CDialog::FirstVisibleLine(int id) const {
    const auto* box = qobject_cast<QPlainTextEdit*>(GetDlgItem(id));
    return box ? box->verticalScrollBar()->value() : 0;
}

void CDialog::RefuseFocus(int id) {
    if (QWidget* widget = GetDlgItem(id))
        widget->setFocusPolicy(Qt::StrongFocus);
    state->refusingFocus.push_back(id);
}
