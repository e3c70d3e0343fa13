#pragma once
// The common controls panel code reaches through CDialog::Item<T>: thin
// wrappers around the comctl32 windows of a dialog, found by identifier.
#include "platform/PanelSupport.h"
#include "platform/Types.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Date-time values as day counts from 1899-12-30, the fraction being the time of day.
double OleDateFromFields(const PickerFields& fields);
PickerFields FieldsFromOleDate(double days);

// Any control of a dialog; the kinds panel code works with directly derive from it.
class Control {
public:
    Control(int id, HWND hwnd) : id(id), hwnd(hwnd) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    HWND Handle() const { return hwnd; }
    int Id() const { return id; }

protected:
    int id;
    HWND hwnd;
};

// A date picker (short date, drop-down calendar) or a time picker (spin buttons).
class DateTimePicker : public Control {
public:
    DateTimePicker(int id, HWND hwnd, unsigned style);

    // A time picker with spin buttons from now on; the window is made again
    // with DTS_TIMEFORMAT, which a picker takes only when it is created.
    void SetTimeStyle();
    bool IsTimePicker() const { return timePicker; }
    // Windows picker format ("H:mm:ss", "mm:ss", "M/d/yyyy"...).
    void SetFormat(std::string_view windowsFormat);
    const std::string& Format() const { return windowsFormat; }
    // The first and last dates the picker offers (DTM_SETRANGE), in its calendar too.
    void SetRange(const PickerFields& first, const PickerFields& last);

    // Setting a value never notifies, as DTM_SETSYSTEMTIME does not.
    void SetFields(const PickerFields& fields);
    std::optional<PickerFields> Fields() const; // empty unless GDT_VALID
    void SetTime(std::int64_t t);               // seconds since 1970, shown as local time
    std::int64_t Time() const;
    void SetOleDate(double days) { SetFields(FieldsFromOleDate(days)); }
    double OleDate() const;

    bool IsDroppedDown() const;
    void ShowDropDown(bool show); // opens or closes the calendar, as the user would

    bool Setting() const { return settingValue; }

private:
    unsigned style;
    bool timePicker = false;
    bool settingValue = false;
    std::string windowsFormat;
};

// A masked image list: every pixel of the mask colour becomes transparent.
// Copies share one list.
class ImageList {
public:
    explicit ImageList(::Size size = ::Size(16, 16));
    int Add(const Bitmap& bitmap, Colour maskColour);
    int Count() const;
    ::Size Size() const { return imageSize; }
    HIMAGELIST Handle() const { return list.get(); }

private:
    ::Size imageSize;
    std::shared_ptr<_IMAGELIST> list;
};

// A list view in report mode: rows of texts, an image and item data per row.
class ListView : public Control {
public:
    enum Which { Normal, Small };
    // A key that moves the selection is told to the dialog as LVN_KEYSELECT.
    ListView(int id, HWND hwnd);

    void SetStyle(unsigned lvsStyle);
    void SetExtendedStyle(unsigned lvsExStyle);
    unsigned GetStyle() const;
    unsigned GetExtendedStyle() const { return exStyle; }
    void SetImageList(const ImageList& list, Which which);
    const ImageList& GetImageList(Which which) const { return which == Small ? small : normal; }
    int ClientWidth() const; // the width inside the border

    int InsertColumn(int column, std::string_view heading, int width);
    int ColumnCount() const;
    std::string ColumnHeading(int column) const;
    int InsertItem(int row, std::string_view text, int image);
    int ItemImage(int row) const;
    bool SetItemText(int row, int column, std::string_view text);
    std::string GetItemText(int row, int column) const;
    bool SetItemData(int row, intptr_t data);
    intptr_t GetItemData(int row) const;
    int GetItemCount() const;
    bool DeleteAllItems();
    void SetItemState(int row, bool selected, bool focused);
    std::vector<int> SelectedRows() const;

private:
    unsigned exStyle = 0;
    ImageList normal{::Size(32, 32)};
    ImageList small{::Size(16, 16)};
};
