// Window creation: the template's controls as widgets, wired to the event
// table, named from their labels; the dialog's units.
#include "platform/qt/DialogState.h"

#include "platform/Win.h"
#include "platform/qt/QtText.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QShortcut>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <clocale>
#include <cmath>

namespace {

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

DialogStateOwner::DialogStateOwner(std::unique_ptr<DialogState> state) : state(std::move(state)) {}

DialogStateOwner::~DialogStateOwner() = default;

CDialog::CDialog(const DialogTemplate& dialogTemplate, CWnd* parent)
    : DialogStateOwner(std::make_unique<DialogState>(dialogTemplate)), QDialog(parent) {
    state->systemMenu.AppendMenu(win::MF_STRING, static_cast<unsigned>(win::SC_CLOSE),
                                 "&Close\tAlt+F4");
}

CDialog::~CDialog() {
    // Hiding and focus changes during destruction must not reach handlers of a dialog
    // that is already half gone: the controls go while this is still a CDialog.
    state->destroying = true;
    disconnect(state->focusConnection);
    // A plain loop: clang 14 cannot build the ranges view of a map.
    for (const auto& entry : state->timers)
        entry.second->stop();
    hide();
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
}

bool CDialog::Create() {
    if (state->created)
        return true;
    state->created = true;
    Build();
    return OnInitDialog();
}

int CDialog::DoModal() {
    Create();
    return exec();
}

void CDialog::EndDialog(int result) {
    state->ending = true;
    done(result);
    state->ending = false;
}

void CDialog::Build() {
    const QFont font = DialogFont(state->dialogTemplate.font, state->dialogTemplate.pointSize);
    setFont(font);
    state->baseUnits = DialogBaseUnits(font);
    setWindowTitle(ToQString(state->dialogTemplate.caption));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(
        MapDialogRect(QRect(0, 0, state->dialogTemplate.cx, state->dialogTemplate.cy)).size());

    std::vector<QWidget*> built;
    for (const ControlTemplate& control : state->dialogTemplate.controls) {
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
            state->controls[control.id] = widget;
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

    state->systemMenuButton = new QToolButton(this);
    state->systemMenuButton->setGeometry(1, 1, 16, 16);
    state->systemMenuButton->setAutoRaise(true);
    state->systemMenuButton->setFocusPolicy(Qt::NoFocus);
    state->systemMenuButton->setToolTip(QStringLiteral("Window menu (Alt+Space)"));
    state->systemMenuButton->setAccessibleName(QStringLiteral("Window menu"));
    state->systemMenuButton->setIconSize(QSize(16, 16));
    connect(state->systemMenuButton, &QToolButton::clicked, this, [this] {
        ShowSystemMenu(
            state->systemMenuButton->mapToGlobal(QPoint(0, state->systemMenuButton->height())));
    });
    auto* shortcut = new QShortcut(QKeySequence(QStringLiteral("Alt+Space")), this);
    connect(shortcut, &QShortcut::activated, this,
            [this] { ShowSystemMenu(mapToGlobal(QPoint(0, 0))); });
    connect(this, &QWidget::windowIconChanged, state->systemMenuButton, &QToolButton::setIcon);
    state->systemMenuButton->setIcon(windowIcon());

    state->focusConnection =
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
            for (int id : state->refusingFocus) {
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
    const auto& list = state->dialogTemplate.controls;
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

void CDialog::AutoRadio(int id) {
    // A group runs from a control with WS_GROUP to the next one, in template order.
    const auto& list = state->dialogTemplate.controls;
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

QRect CDialog::MapDialogRect(const QRect& du) const {
    return {MulDiv(du.x(), state->baseUnits.width(), 4),
            MulDiv(du.y(), state->baseUnits.height(), 8),
            MulDiv(du.width(), state->baseUnits.width(), 4),
            MulDiv(du.height(), state->baseUnits.height(), 8)};
}

Size CDialog::BaseUnits() const {
    return state->baseUnits;
}

void CDialog::SetIcon(const Icon& icon) {
    setWindowIcon(icon);
}

QPixmap CDialog::LoadImageResource(int, QSize) const {
    return {};
}
