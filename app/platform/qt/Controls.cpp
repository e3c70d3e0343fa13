#include "platform/Controls.h"

#include "platform/EventTable.h"
#include "platform/Win.h"
#include "platform/qt/QtText.h"

#include <QCalendarWidget>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <cmath>

namespace {

const QDate kOleZeroDate(1899, 12, 30);

// Windows picker formats differ from Qt's only in the AM/PM marker.
QString QtFormat(std::string_view windowsFormat) {
    QString format = ToQString(windowsFormat);
    format.replace(QStringLiteral("tt"), QStringLiteral("AP"));
    return format;
}

} // namespace

double OleDateFromDateTime(const QDateTime& value) {
    const double days = static_cast<double>(kOleZeroDate.daysTo(value.date()));
    const double fraction = value.time().msecsSinceStartOfDay() / 86400000.0;
    // Before the zero date the day count is negative but the fraction still counts forward.
    return days >= 0 ? days + fraction : days - fraction;
}

QDateTime DateTimeFromOleDate(double days) {
    const double whole = std::trunc(days);
    const double fraction = std::fabs(days - whole);
    const auto msecs = static_cast<int>(std::llround(fraction * 86400000.0));
    QDate date = kOleZeroDate.addDays(static_cast<qint64>(whole));
    if (msecs >= 86400000)
        return QDateTime(date.addDays(1), QTime(0, 0));
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(msecs));
}

DateTimePicker::DateTimePicker(unsigned style, QWidget* parent) : QDateTimeEdit(parent) {
    setMinimumDateTime(QDateTime(QDate(1601, 1, 1), QTime(0, 0)));
    if ((style & win::DTS_TIMEFORMAT) == win::DTS_TIMEFORMAT) {
        SetTimeStyle();
    } else {
        SetFormat("M/d/yyyy");
        setCalendarPopup(true);
        if (QCalendarWidget* calendar = calendarWidget())
            calendar->window()->installEventFilter(this);
    }
    connect(this, &QDateTimeEdit::dateTimeChanged, this, [this] {
        if (!settingValue)
            Send(win::DTN_DATETIMECHANGE);
    });
}

void DateTimePicker::SetTimeStyle() {
    timePicker = true;
    setCalendarPopup(false);
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    SetFormat("h:mm:ss tt");
}

void DateTimePicker::SetFormat(std::string_view format) {
    windowsFormat = format;
    const bool old = settingValue;
    settingValue = true;
    setDisplayFormat(QtFormat(format));
    settingValue = old;
}

void DateTimePicker::SetRange(const PickerFields& first, const PickerFields& last) {
    const bool old = settingValue;
    settingValue = true;
    setDateTimeRange(QDateTime(QDate(first.year, first.month, first.day),
                               QTime(first.hour, first.minute, first.second)),
                     QDateTime(QDate(last.year, last.month, last.day),
                               QTime(last.hour, last.minute, last.second)));
    settingValue = old;
}

void DateTimePicker::SetValue(const QDateTime& value) {
    const bool old = settingValue;
    settingValue = true;
    setDateTime(value);
    settingValue = old;
}

void DateTimePicker::ShowDropDown(bool show) {
    QCalendarWidget* calendar = calendarPopup() ? calendarWidget() : nullptr;
    if (calendar == nullptr)
        return;
    QWidget* popup = calendar->window();
    if (show) {
        calendar->setSelectedDate(date());
        popup->move(mapToGlobal(rect().bottomLeft()));
        popup->show();
    } else {
        popup->hide();
    }
}

void DateTimePicker::focusInEvent(QFocusEvent* event) {
    QDateTimeEdit::focusInEvent(event);
    Send(win::NM_SETFOCUS);
}

void DateTimePicker::focusOutEvent(QFocusEvent* event) {
    QDateTimeEdit::focusOutEvent(event);
    // The calendar popup takes the keyboard while open; the picker keeps the focus.
    if (event->reason() != Qt::PopupFocusReason)
        Send(win::NM_KILLFOCUS);
}

void DateTimePicker::keyPressEvent(QKeyEvent* event) {
    Send(win::DTN_WMKEYDOWN);
    QDateTimeEdit::keyPressEvent(event);
}

bool DateTimePicker::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && !droppedDown) {
        droppedDown = true;
        Send(win::DTN_DROPDOWN);
    } else if (event->type() == QEvent::Hide && droppedDown) {
        droppedDown = false;
        Send(win::DTN_CLOSEUP);
    }
    return QDateTimeEdit::eventFilter(watched, event);
}

void DateTimePicker::Send(int code) {
    if (!notify)
        return;
    Notify n;
    n.code = code;
    const QDateTime value = dateTime();
    n.year = value.date().year();
    n.month = value.date().month();
    n.day = value.date().day();
    n.hour = value.time().hour();
    n.minute = value.time().minute();
    n.second = value.time().second();
    notify(n);
}

int ImageList::Add(const QPixmap& bitmap, QColor maskColour) {
    QPixmap image = bitmap.scaled(imageSize);
    image.setMask(image.createMaskFromColor(maskColour, Qt::MaskInColor));
    images.push_back(image);
    return Count() - 1;
}

ListView::ListView(QWidget* parent) : QTableWidget(parent) {
    verticalHeader()->hide();
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setShowGrid(false);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setIconSize(QSize(16, 16));
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    FitRows();
    connect(this, &QTableWidget::itemSelectionChanged, this,
            [this] { Send(win::LVN_ITEMCHANGED, currentRow(), QCursor::pos()); });
}

void ListView::FitRows() {
    const int text = fontMetrics().height();
    const int rowHeight = std::max(text + 2, iconSize().height());
    verticalHeader()->setMinimumSectionSize(rowHeight);
    verticalHeader()->setDefaultSectionSize(rowHeight);
    horizontalHeader()->setFixedHeight(text + 4);
}

void ListView::changeEvent(QEvent* event) {
    QTableWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        FitRows();
}

int ListView::SelectedRow() const {
    const std::vector<int> rows = SelectedRows();
    return rows.empty() ? -1 : rows.front();
}

void ListView::keyPressEvent(QKeyEvent* event) {
    const int before = SelectedRow();
    QTableWidget::keyPressEvent(event);
    const int after = SelectedRow();
    if (after == before)
        return;
    const QRect cell = visualRect(model()->index(std::max(after, 0), 0));
    Send(win::LVN_KEYSELECT, after, viewport()->mapToGlobal(cell.center()));
}

void ListView::SetStyle(unsigned lvsStyle) {
    style = lvsStyle;
    horizontalHeader()->setVisible((style & win::LVS_REPORT) != 0);
    setSelectionMode((style & win::LVS_SINGLESEL) ? QAbstractItemView::SingleSelection
                                                  : QAbstractItemView::ExtendedSelection);
}

void ListView::SetExtendedStyle(unsigned lvsExStyle) {
    exStyle = lvsExStyle;
    setShowGrid((exStyle & win::LVS_EX_GRIDLINES) != 0);
    setSelectionBehavior((exStyle & win::LVS_EX_FULLROWSELECT) ? QAbstractItemView::SelectRows
                                                               : QAbstractItemView::SelectItems);
}

void ListView::SetImageList(const ImageList& list, Which which) {
    (which == Small ? small : normal) = list;
    if (which == Small) {
        setIconSize(list.Size());
        FitRows();
    }
}

int ListView::ClientWidth() const {
    return width() - 2 * frameWidth();
}

int ListView::InsertColumn(int column, const QString& heading, int width) {
    column = std::clamp(column, 0, columnCount());
    insertColumn(column);
    auto* header = new QTableWidgetItem(heading);
    header->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setHorizontalHeaderItem(column, header);
    setColumnWidth(column, width);
    return column;
}

QString ListView::ColumnHeading(int column) const {
    const QTableWidgetItem* header = horizontalHeaderItem(column);
    return header ? header->text() : QString();
}

int ListView::InsertItem(int row, const QString& text, int image) {
    row = std::clamp(row, 0, rowCount());
    insertRow(row);
    for (int column = 0; column < columnCount(); ++column)
        setItem(row, column, new QTableWidgetItem);
    QTableWidgetItem* first = item(row, 0);
    if (first == nullptr)
        return -1;
    first->setText(text);
    first->setData(Qt::UserRole + 1, image);
    if (image >= 0 && image < small.Count())
        first->setIcon(QIcon(small.Image(image)));
    return row;
}

int ListView::ItemImage(int row) const {
    const QTableWidgetItem* first = item(row, 0);
    return first ? first->data(Qt::UserRole + 1).toInt() : -1;
}

bool ListView::SetItemText(int row, int column, const QString& text) {
    QTableWidgetItem* cell = item(row, column);
    if (cell == nullptr)
        return false;
    cell->setText(text);
    return true;
}

QString ListView::GetItemText(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->text() : QString();
}

bool ListView::SetItemData(int row, intptr_t data) {
    QTableWidgetItem* first = item(row, 0);
    if (first == nullptr)
        return false;
    first->setData(Qt::UserRole, QVariant::fromValue<qlonglong>(data));
    return true;
}

intptr_t ListView::GetItemData(int row) const {
    const QTableWidgetItem* first = item(row, 0);
    return first ? static_cast<intptr_t>(first->data(Qt::UserRole).toLongLong()) : 0;
}

bool ListView::DeleteAllItems() {
    setRowCount(0);
    return true;
}

void ListView::SetItemState(int row, bool selected, bool focused) {
    if (row < 0 || row >= rowCount())
        return;
    // A single-selection list keeps one selected row, as LVS_SINGLESEL does.
    const auto select = selectionMode() == QAbstractItemView::SingleSelection
                            ? QItemSelectionModel::ClearAndSelect
                            : QItemSelectionModel::Select;
    const auto flags =
        (selected ? select : QItemSelectionModel::Deselect) | QItemSelectionModel::Rows;
    const QModelIndex index = model()->index(row, 0);
    selectionModel()->select(index, flags);
    if (focused)
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
}

std::vector<int> ListView::SelectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

bool ListView::viewportEvent(QEvent* event) {
    const bool result = QTableWidget::viewportEvent(event);
    const auto type = event->type();
    if (type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QModelIndex index = indexAt(mouse->position().toPoint());
        const int row = index.isValid() ? index.row() : -1;
        const QPoint screen = mouse->globalPosition().toPoint();
        if (type == QEvent::MouseButtonDblClick) {
            Send(win::NM_DBLCLK, row, screen);
            if (row >= 0)
                Send(win::LVN_ITEMACTIVATE, row, screen);
        } else if (mouse->button() == Qt::LeftButton) {
            Send(win::NM_CLICK, row, screen);
        } else if (mouse->button() == Qt::RightButton) {
            Send(win::NM_RCLICK, row, screen);
        }
    }
    return result;
}

void ListView::focusInEvent(QFocusEvent* event) {
    QTableWidget::focusInEvent(event);
    Send(win::NM_SETFOCUS, currentRow(), QCursor::pos());
}

void ListView::focusOutEvent(QFocusEvent* event) {
    QTableWidget::focusOutEvent(event);
    Send(win::NM_KILLFOCUS, currentRow(), QCursor::pos());
}

void ListView::Send(int code, int row, QPoint screen) {
    if (!notify)
        return;
    Notify n;
    n.code = code;
    n.row = row;
    n.point = screen;
    notify(n);
}

void PictureControl::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (notifies && notify && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint())) {
        Notify n;
        n.code = win::STN_CLICKED;
        notify(n);
    }
}

DialogRadio::DialogRadio(const QString& text, QWidget* parent) : QRadioButton(text, parent) {
    setAutoExclusive(false);
}

int ListView::InsertColumn(int column, std::string_view heading, int width) {
    return InsertColumn(column, ToQString(heading), width);
}

int ListView::InsertItem(int row, std::string_view text, int image) {
    return InsertItem(row, ToQString(text), image);
}

bool ListView::SetItemText(int row, int column, std::string_view text) {
    return SetItemText(row, column, ToQString(text));
}
