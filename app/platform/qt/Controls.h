#pragma once
// The common controls that have no plain Qt equivalent with the Windows
// behaviour the dialogs rely on.
#include "platform/PanelSupport.h"

#include <QDateTime>
#include <QDateTimeEdit>
#include <QLabel>
#include <QPixmap>
#include <QRadioButton>
#include <QTableWidget>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct Notify;
using NotifyFn = std::function<void(Notify&)>;

// Date-time values as day counts from 1899-12-30, the fraction being the time of day.
double OleDateFromDateTime(const QDateTime& value);
QDateTime DateTimeFromOleDate(double days);

// A date picker (short date, drop-down calendar) or a time picker (spin buttons).
class DateTimePicker : public QDateTimeEdit {
public:
    DateTimePicker(unsigned style, QWidget* parent);

    void SetTimeStyle(); // a time picker with spin buttons from now on
    bool IsTimePicker() const { return timePicker; }
    // Windows picker format ("H:mm:ss", "mm:ss", "M/d/yyyy"...).
    void SetFormat(std::string_view windowsFormat);
    const std::string& Format() const { return windowsFormat; }
    // The first and last dates the picker offers, in its calendar too.
    void SetRange(const PickerFields& first, const PickerFields& last);

    // Setting a value never notifies, as DTM_SETSYSTEMTIME does not.
    void SetValue(const QDateTime& value);
    QDateTime Value() const { return dateTime(); }
    void SetTime(std::int64_t t) {
        SetValue(QDateTime::fromSecsSinceEpoch(t));
    } // seconds since 1970
    std::int64_t Time() const { return dateTime().toSecsSinceEpoch(); }
    void SetOleDate(double days) { SetValue(DateTimeFromOleDate(days)); }
    double OleDate() const { return OleDateFromDateTime(dateTime()); }

    bool IsDroppedDown() const { return droppedDown; }
    void ShowDropDown(bool show); // opens or closes the calendar, as the user would

    NotifyFn notify;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Send(int code);

    bool timePicker = false;
    bool droppedDown = false;
    bool settingValue = false;
    std::string windowsFormat;
};

// A masked image list: every pixel of the mask colour becomes transparent.
class ImageList {
public:
    explicit ImageList(QSize size = QSize(16, 16)) : imageSize(size) {}
    int Add(const QPixmap& bitmap, QColor maskColour);
    int Count() const { return static_cast<int>(images.size()); }
    QSize Size() const { return imageSize; }
    const QPixmap& Image(int index) const { return images.at(static_cast<size_t>(index)); }

private:
    QSize imageSize;
    std::vector<QPixmap> images;
};

// A list view in report mode: rows of texts, an image and item data per row.
class ListView : public QTableWidget {
public:
    enum Which { Normal, Small };
    explicit ListView(QWidget* parent);

    void SetStyle(unsigned lvsStyle);
    void SetExtendedStyle(unsigned lvsExStyle);
    unsigned GetStyle() const { return style; }
    unsigned GetExtendedStyle() const { return exStyle; }
    void SetImageList(const ImageList& list, Which which);
    const ImageList& GetImageList(Which which) const { return which == Small ? small : normal; }
    int ClientWidth() const; // the width inside the border

    int InsertColumn(int column, const QString& heading, int width);
    int InsertColumn(int column, std::string_view heading, int width);
    int InsertColumn(int column, const char* heading, int width) {
        return InsertColumn(column, std::string_view(heading), width);
    }
    int ColumnCount() const { return columnCount(); }
    QString ColumnHeading(int column) const;
    int InsertItem(int row, const QString& text, int image);
    int InsertItem(int row, std::string_view text, int image);
    int InsertItem(int row, const char* text, int image) {
        return InsertItem(row, std::string_view(text), image);
    }
    int ItemImage(int row) const;
    bool SetItemText(int row, int column, const QString& text);
    bool SetItemText(int row, int column, std::string_view text);
    bool SetItemText(int row, int column, const char* text) {
        return SetItemText(row, column, std::string_view(text));
    }
    QString GetItemText(int row, int column) const;
    bool SetItemData(int row, intptr_t data);
    intptr_t GetItemData(int row) const;
    int GetItemCount() const { return rowCount(); }
    bool DeleteAllItems();
    void SetItemState(int row, bool selected, bool focused);
    std::vector<int> SelectedRows() const;

    NotifyFn notify;

protected:
    bool viewportEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Send(int code, int row, QPoint screen);
    int SelectedRow() const; // the first selected row, -1 for none
    // Rows as tall as the font or the row image needs, as a Windows list draws them.
    void FitRows();

    unsigned style = 0;
    unsigned exStyle = 0;
    ImageList normal{QSize(32, 32)};
    ImageList small{QSize(16, 16)};
};

// A static picture; with SS_NOTIFY a click tells the dialog.
// A radio button the dialog checks and unchecks itself, as Windows does. A class
// of its own so its accessible interface (a radio button, not the check box Qt
// makes of a button that is not auto-exclusive) is found by its class name.
class DialogRadio : public QRadioButton {
    Q_OBJECT
public:
    DialogRadio(const QString& text, QWidget* parent);
};

class PictureControl : public QLabel {
public:
    PictureControl(bool notifies, QWidget* parent) : QLabel(parent), notifies(notifies) {}
    NotifyFn notify;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool notifies;
};
