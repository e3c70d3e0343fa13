#include "platform/Dialog.h"

#include "platform/MessageBox.h"
#include "platform/Win.h"
#include "platform/qt/QtText.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QShortcut>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <clocale>
#include <cmath>

namespace {

// Windows edits separate lines with CR LF; Qt's text widgets with LF.
QString ToWidgetText(std::string_view text) {
    return ToQString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

std::string FromWidgetText(const QString& text) {
    return QString(text).replace(QStringLiteral("\n"), QStringLiteral("\r\n")).toStdString();
}

int MulDiv(int value, int numerator, int denominator) {
    return static_cast<int>(std::lround(static_cast<double>(value) * numerator / denominator));
}

// Reports a widget's focus changes as the two notifications Windows sends.
class FocusNotifier : public QObject {
public:
    FocusNotifier(QObject* parent, std::function<void(bool)> notify)
        : QObject(parent), notify(std::move(notify)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn)
            notify(true);
        else if (event->type() == QEvent::FocusOut)
            notify(false);
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void(bool)> notify;
};

QString LabelName(const QString& caption);

// The dialog checks and unchecks its radio buttons itself, as Windows does, so
// they are not auto-exclusive, and Qt would present them as check boxes.
class AccessibleRadio : public QAccessibleWidget {
public:
    explicit AccessibleRadio(QRadioButton* radio)
        : QAccessibleWidget(radio, QAccessible::RadioButton) {}

    QString text(QAccessible::Text t) const override {
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty())
            text = LabelName(Radio()->text());
        return text;
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = Radio()->isChecked();
        return state;
    }
    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == pressAction())
            Radio()->click();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    QRadioButton* Radio() const { return static_cast<QRadioButton*>(widget()); }
};

QAccessibleInterface* DialogRadioFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("DialogRadio"))
        return new AccessibleRadio(static_cast<DialogRadio*>(object));
    return nullptr;
}

} // namespace

void KeepNumbersLocaleFree() {
    std::setlocale(LC_NUMERIC, "C");
}

QFont DialogFont(std::string_view face, int pointSize) {
    // The Windows dialog fonts are not here; this face at this size gives
    // about the same base units (6 x 13 pixels at 8 points).
    QFont font(face == "MS Sans Serif" || face == "MS Shell Dlg"
                   ? QStringLiteral("DejaVu Sans Condensed")
                   : ToQString(face));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(static_cast<int>(std::lround(pointSize * 4.0 / 3.0)));
    return font;
}

QSize DialogBaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(width / 26 + 1) / 2, metrics.height()};
}

void DataExchange::DateTime(int id, int64_t& seconds) {
    auto* picker = dialog.Item<DateTimePicker>(id);
    if (failed || picker == nullptr)
        return;
    if (saving)
        seconds = picker->Value().toSecsSinceEpoch();
    else
        picker->SetValue(QDateTime::fromSecsSinceEpoch(seconds));
}

void WindowMenu::AppendMenu(unsigned flags, unsigned id, std::string_view text) {
    if (flags & win::MF_SEPARATOR) {
        items.push_back(MenuItem{});
        return;
    }
    texts.emplace_back(text); // a deque: earlier items keep pointing at their texts
    items.push_back(MenuItem{id, texts.back()});
}

CDialog::CDialog(const DialogTemplate& dialogTemplate, QWidget* parent)
    : QDialog(parent), dialogTemplate(dialogTemplate) {
    systemMenu.AppendMenu(win::MF_STRING, static_cast<unsigned>(win::SC_CLOSE), "&Close\tAlt+F4");
}

CDialog::~CDialog() {
    // Hiding and focus changes during destruction must not reach handlers of a dialog
    // that is already half gone: the controls go while this is still a CDialog.
    destroying = true;
    disconnect(focusConnection);
    // A plain loop: clang 14 cannot build the ranges view of a map.
    for (const auto& entry : timers)
        entry.second->stop();
    hide();
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
}

bool CDialog::Create() {
    if (created)
        return true;
    created = true;
    Build();
    return OnInitDialog();
}

int CDialog::DoModal() {
    Create();
    return exec();
}

void CDialog::EndDialog(int result) {
    ending = true;
    done(result);
    ending = false;
}

void CDialog::Build() {
    const QFont font = DialogFont(dialogTemplate.font, dialogTemplate.pointSize);
    setFont(font);
    baseUnits = DialogBaseUnits(font);
    setWindowTitle(ToQString(dialogTemplate.caption));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(MapDialogRect(QRect(0, 0, dialogTemplate.cx, dialogTemplate.cy)).size());

    std::vector<QWidget*> built;
    for (const ControlTemplate& control : dialogTemplate.controls) {
        QWidget* widget = BuildControl(control);
        built.push_back(widget);
        widget->setFont(font);
        widget->setGeometry(MapDialogRect(QRect(control.x, control.y, control.cx, control.cy)));
        if (control.kind == ControlKind::Icon)
            widget->resize(32, 32);
        if (control.style & NOT_VISIBLE)
            widget->hide();
        if (control.style & win::WS_DISABLED)
            widget->setEnabled(false);
        if (control.id != win::IDC_STATIC)
            controls[control.id] = widget;
        Wire(control, widget);
    }
    NameFromLabels(built);
    // Group boxes are drawn behind the controls they frame and take no clicks.
    for (QGroupBox* group : findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly)) {
        group->lower();
        group->setAttribute(Qt::WA_TransparentForMouseEvents);
        // The caption sits on the frame's top line, as on Windows, not above it.
        group->setStyleSheet(QStringLiteral(
            "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 0.5em; }"
            "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }"));
    }

    systemMenuButton = new QToolButton(this);
    systemMenuButton->setGeometry(1, 1, 16, 16);
    systemMenuButton->setAutoRaise(true);
    systemMenuButton->setFocusPolicy(Qt::NoFocus);
    systemMenuButton->setToolTip(QStringLiteral("Window menu (Alt+Space)"));
    systemMenuButton->setAccessibleName(QStringLiteral("Window menu"));
    systemMenuButton->setIconSize(QSize(16, 16));
    connect(systemMenuButton, &QToolButton::clicked, this, [this] {
        ShowSystemMenu(systemMenuButton->mapToGlobal(QPoint(0, systemMenuButton->height())));
    });
    auto* shortcut = new QShortcut(QKeySequence(QStringLiteral("Alt+Space")), this);
    connect(shortcut, &QShortcut::activated, this,
            [this] { ShowSystemMenu(mapToGlobal(QPoint(0, 0))); });
    connect(this, &QWidget::windowIconChanged, systemMenuButton, &QToolButton::setIcon);
    systemMenuButton->setIcon(windowIcon());

    focusConnection =
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
            for (int id : refusingFocus) {
                QWidget* refusing = GetDlgItem(id);
                if (refusing == nullptr || now != refusing)
                    continue;
                if (old != nullptr && old != refusing && old->window() == this)
                    old->setFocus(Qt::OtherFocusReason);
                else
                    refusing->clearFocus();
            }
        });
}

QWidget* CDialog::BuildControl(const ControlTemplate& control) {
    const QString caption = ToQString(control.caption);
    const QSize size = MapDialogRect(QRect(0, 0, control.cx, control.cy)).size();
    switch (control.kind) {
    case ControlKind::Static: {
        auto* label = new QLabel(caption, this);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setTextFormat(Qt::PlainText);
        return label;
    }
    case ControlKind::Picture: {
        auto* picture = new PictureControl((control.style & win::SS_NOTIFY) != 0, this);
        picture->setPixmap(LoadImageResource(control.resource, size));
        picture->setScaledContents(true);
        return picture;
    }
    case ControlKind::Icon: {
        auto* icon = new QLabel(this);
        icon->setPixmap(LoadImageResource(control.resource, QSize(32, 32)));
        icon->setAccessibleName(QStringLiteral("Program icon")); // a dialog shows no other
        return icon;
    }
    case ControlKind::GroupBox:
        return new QGroupBox(caption, this);
    case ControlKind::Button: {
        auto* button = new QPushButton(caption, this);
        button->setAutoDefault(false); // Enter goes to the dialog, as IDOK
        button->setDefault((control.style & win::BS_DEFPUSHBUTTON) != 0); // drawn as default
        return button;
    }
    case ControlKind::CheckBox:
        return new QCheckBox(caption, this);
    case ControlKind::RadioButton: {
        auto* radio = new DialogRadio(caption, this);
        static const bool factoryInstalled = [] {
            QAccessible::installFactory(DialogRadioFactory);
            return true;
        }();
        (void)factoryInstalled;
        return radio;
    }
    case ControlKind::Edit: {
        if (control.style & win::ES_MULTILINE) {
            auto* edit = new QPlainTextEdit(this);
            edit->setPlainText(caption);
            edit->setReadOnly((control.style & win::ES_READONLY) != 0);
            if (control.style & win::WS_HSCROLL) {
                edit->setLineWrapMode(QPlainTextEdit::NoWrap);
                edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            }
            if (control.style & win::WS_VSCROLL)
                edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            return edit;
        }
        auto* edit = new QLineEdit(caption, this);
        edit->setReadOnly((control.style & win::ES_READONLY) != 0);
        if (control.style &
            win::ES_NUMBER) // the user types digits only; the program may set anything
            edit->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("[0-9]*")), edit));
        return edit;
    }
    case ControlKind::DateTime:
        return new DateTimePicker(control.style, this);
    case ControlKind::ListView: {
        auto* list = new ListView(this);
        list->SetStyle(control.style & 0xFFFF);
        return list;
    }
    case ControlKind::ListBox: {
        auto* list = new QListWidget(this);
        list->setSortingEnabled((control.style & win::LBS_SORT) != 0);
        return list;
    }
    case ControlKind::Tab:
        return new QTabBar(this);
    }
    return new QWidget(this);
}

void CDialog::Wire(const ControlTemplate& control, QWidget* widget) {
    const int id = control.id;
    auto forward = [this, id](Notify& n) {
        n.id = id;
        Deliver(n);
    };
    switch (control.kind) {
    case ControlKind::Button:
    case ControlKind::CheckBox:
        connect(static_cast<QAbstractButton*>(widget), &QAbstractButton::clicked, this,
                [this, id] { SendMessage(id, win::BN_CLICKED); });
        break;
    case ControlKind::RadioButton:
        connect(static_cast<QAbstractButton*>(widget), &QAbstractButton::clicked, this, [this, id] {
            AutoRadio(id);
            SendMessage(id, win::BN_CLICKED);
        });
        break;
    case ControlKind::Picture:
        static_cast<PictureControl*>(widget)->notify = forward;
        break;
    case ControlKind::Edit:
        widget->installEventFilter(new FocusNotifier(widget, [this, id](bool gained) {
            SendMessage(id, gained ? win::EN_SETFOCUS : win::EN_KILLFOCUS);
        }));
        break;
    case ControlKind::DateTime:
        static_cast<DateTimePicker*>(widget)->notify = forward;
        break;
    case ControlKind::ListView:
        static_cast<ListView*>(widget)->notify = forward;
        break;
    case ControlKind::ListBox: {
        auto* list = static_cast<QListWidget*>(widget);
        // Only the user's choice notifies, as with LB_SETCURSEL.
        connect(list, &QListWidget::currentRowChanged, this, [this, id, list] {
            if (list->hasFocus())
                SendMessage(id, win::LBN_SELCHANGE);
        });
        break;
    }
    default:
        break;
    }
}

namespace {

// A label's text as a name: without the mnemonic's "&" and the closing colon.
QString LabelName(const QString& caption) {
    QString name;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i; // "&&" stands for one "&"
        name += caption[i];
    }
    name = name.trimmed();
    if (name.endsWith(u':'))
        name.chop(1);
    return name.trimmed();
}

} // namespace

// Windows names a control that has no caption of its own (an edit, a picker, a
// list) after the static text just before it in the template, its label; a
// group box's caption serves for the first control it frames. The label also
// becomes the control's buddy, so its mnemonic moves the focus there.
void CDialog::NameFromLabels(const std::vector<QWidget*>& built) {
    const auto& list = dialogTemplate.controls;
    for (std::size_t i = 1; i < list.size() && i < built.size(); ++i) {
        const ControlKind kind = list[i].kind;
        if (kind != ControlKind::Edit && kind != ControlKind::DateTime &&
            kind != ControlKind::ListView && kind != ControlKind::ListBox &&
            kind != ControlKind::Tab)
            continue;
        const ControlTemplate& before = list[i - 1];
        if (before.kind != ControlKind::Static && before.kind != ControlKind::GroupBox)
            continue;
        const QString caption = ToQString(before.caption);
        if (LabelName(caption).isEmpty())
            continue;
        built[i]->setAccessibleName(LabelName(caption));
        if (auto* label = qobject_cast<QLabel*>(built[i - 1]);
            label != nullptr && !(before.style & win::SS_NOPREFIX))
            label->setBuddy(built[i]);
    }
}

void CDialog::SetAccessibleName(int id, std::string_view name) {
    if (QWidget* widget = GetDlgItem(id))
        widget->setAccessibleName(ToQString(name));
}

void CDialog::AutoRadio(int id) {
    // A group runs from a control with WS_GROUP to the next one, in template order.
    const auto& list = dialogTemplate.controls;
    const auto clicked =
        std::find_if(list.begin(), list.end(), [id](const auto& c) { return c.id == id; });
    if (clicked == list.end())
        return;
    auto first = clicked;
    while (first != list.begin() && !(first->style & win::WS_GROUP))
        --first;
    for (auto it = first; it != list.end(); ++it) {
        if (it != first && (it->style & win::WS_GROUP))
            break;
        if (it->kind == ControlKind::RadioButton)
            CheckDlgButton(it->id, it->id == id ? 1 : 0);
    }
}

QWidget* CDialog::GetDlgItem(int id) const {
    const auto found = controls.find(id);
    return found == controls.end() ? nullptr : found->second;
}

std::vector<int> CDialog::ControlIds() const {
    std::vector<int> ids;
    for (const auto& [id, widget] : controls)
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
    refusingFocus.push_back(id);
}

QRect CDialog::MapDialogRect(const QRect& du) const {
    return {MulDiv(du.x(), baseUnits.width(), 4), MulDiv(du.y(), baseUnits.height(), 8),
            MulDiv(du.width(), baseUnits.width(), 4), MulDiv(du.height(), baseUnits.height(), 8)};
}

bool CDialog::SetTimer(uintptr_t id, unsigned elapse) {
    elapse = std::clamp(elapse, win::USER_TIMER_MINIMUM, win::USER_TIMER_MAXIMUM);
    QTimer*& timer = timers[id];
    if (timer == nullptr) {
        timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this,
                [this, id] { SendMessage(kWindow, win::WM_TIMER, id); });
    }
    timer->start(static_cast<int>(elapse));
    return timer->isActive();
}

bool CDialog::KillTimer(uintptr_t id) {
    const auto found = timers.find(id);
    if (found == timers.end() || !found->second->isActive())
        return false;
    found->second->stop();
    return true;
}

int CDialog::TimerInterval(uintptr_t id) const {
    const auto found = timers.find(id);
    return found != timers.end() && found->second->isActive() ? found->second->interval() : -1;
}

QPixmap CDialog::LoadImageResource(int, QSize) const {
    return {};
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
    if (ending) {
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
