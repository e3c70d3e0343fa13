#include "platform/win32/Controls.h"

#include "platform/Win.h"
#include "platform/win32/WideText.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (month <= 2));
}

const int64_t kOleZero = DaysFromCivil(1899, 12, 30);

SYSTEMTIME ToSystemTime(const PickerFields& f) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(f.year);
    st.wMonth = static_cast<WORD>(f.month);
    st.wDay = static_cast<WORD>(f.day);
    st.wHour = static_cast<WORD>(f.hour);
    st.wMinute = static_cast<WORD>(f.minute);
    st.wSecond = static_cast<WORD>(f.second);
    // The day of the week, which the picker's calendar wants right.
    st.wDayOfWeek = static_cast<WORD>(
        (DaysFromCivil(f.year, static_cast<unsigned>(f.month), static_cast<unsigned>(f.day)) % 7 +
         11) %
        7);
    return st;
}

} // namespace

double OleDateFromFields(const PickerFields& f) {
    const auto days = static_cast<double>(
        DaysFromCivil(f.year, static_cast<unsigned>(f.month), static_cast<unsigned>(f.day)) -
        kOleZero);
    const double fraction = (f.hour * 3600 + f.minute * 60 + f.second) / 86400.0;
    // Before the zero date the day count is negative but the fraction still counts forward.
    return days >= 0 ? days + fraction : days - fraction;
}

PickerFields FieldsFromOleDate(double days) {
    const double whole = std::trunc(days);
    const double fraction = std::fabs(days - whole);
    auto seconds = static_cast<int64_t>(std::llround(fraction * 86400.0));
    auto day = static_cast<int64_t>(whole) + kOleZero;
    if (seconds >= 86400) {
        ++day;
        seconds = 0;
    }
    PickerFields f;
    CivilFromDays(day, f.year, f.month, f.day);
    f.hour = static_cast<int>(seconds / 3600);
    f.minute = static_cast<int>(seconds / 60 % 60);
    f.second = static_cast<int>(seconds % 60);
    return f;
}

DateTimePicker::DateTimePicker(int id, HWND hwnd, unsigned style)
    : Control(id, hwnd), style(style) {
    if ((style & win::DTS_TIMEFORMAT) == win::DTS_TIMEFORMAT) {
        timePicker = true;
        SetFormat("h:mm:ss tt");
    } else {
        SetFormat("M/d/yyyy");
    }
}

void DateTimePicker::SetTimeStyle() {
    if (timePicker)
        return;
    timePicker = true;
    const std::optional<PickerFields> value = Fields();
    HWND parent = ::GetParent(hwnd);
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    const auto windowStyle = static_cast<DWORD>(::GetWindowLongW(hwnd, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(::GetWindowLongW(hwnd, GWL_EXSTYLE));
    const auto font = static_cast<WPARAM>(::SendMessageW(hwnd, WM_GETFONT, 0, 0));
    style = (style & ~0xFu) | win::DTS_TIMEFORMAT;
    HWND fresh = ::CreateWindowExW(
        exStyle, DATETIMEPICK_CLASSW, L"", (windowStyle & ~0xFu) | win::DTS_TIMEFORMAT, r.left,
        r.top, r.right - r.left, r.bottom - r.top, parent,
        reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), ::GetModuleHandleW(nullptr), nullptr);
    if (fresh == nullptr)
        return;
    ::SendMessageW(fresh, WM_SETFONT, font, FALSE);
    // The same place in the tab order.
    ::SetWindowPos(fresh, hwnd, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::DestroyWindow(hwnd);
    hwnd = fresh;
    SetFormat("h:mm:ss tt");
    if (value)
        SetFields(*value);
}

void DateTimePicker::SetFormat(std::string_view format) {
    windowsFormat = format;
    const std::wstring wide = Widen(format);
    ::SendMessageW(hwnd, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

void DateTimePicker::SetRange(const PickerFields& first, const PickerFields& last) {
    SYSTEMTIME range[2] = {ToSystemTime(first), ToSystemTime(last)};
    ::SendMessageW(hwnd, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range));
}

void DateTimePicker::SetFields(const PickerFields& fields) {
    SYSTEMTIME st = ToSystemTime(fields);
    const bool old = settingValue;
    settingValue = true;
    ::SendMessageW(hwnd, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
    settingValue = old;
}

std::optional<PickerFields> DateTimePicker::Fields() const {
    SYSTEMTIME st{};
    if (::SendMessageW(hwnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) != GDT_VALID)
        return std::nullopt;
    return PickerFields{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

void DateTimePicker::SetTime(std::int64_t t) {
    const auto value = static_cast<__time64_t>(t);
    std::tm local{};
    if (_localtime64_s(&local, &value) != 0)
        return;
    SetFields(PickerFields{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                           local.tm_min, local.tm_sec});
}

std::int64_t DateTimePicker::Time() const {
    const std::optional<PickerFields> f = Fields();
    if (!f)
        return 0;
    std::tm local{};
    local.tm_year = f->year - 1900;
    local.tm_mon = f->month - 1;
    local.tm_mday = f->day;
    local.tm_hour = f->hour;
    local.tm_min = f->minute;
    local.tm_sec = f->second;
    local.tm_isdst = -1;
    return static_cast<std::int64_t>(_mktime64(&local));
}

double DateTimePicker::OleDate() const {
    const std::optional<PickerFields> f = Fields();
    return f ? OleDateFromFields(*f) : 0.0;
}

bool DateTimePicker::IsDroppedDown() const {
    // Some pickers keep their calendar window while closed: only a shown one counts.
    HWND calendar = reinterpret_cast<HWND>(::SendMessageW(hwnd, DTM_GETMONTHCAL, 0, 0));
    return calendar != nullptr && ::IsWindowVisible(calendar);
}

void DateTimePicker::ShowDropDown(bool show) {
    if (timePicker || show == IsDroppedDown())
        return;
    if (!show) {
        // DTM_CLOSEMONTHCAL, else Escape in the calendar, else the focus back on the picker.
        ::SendMessageW(hwnd, DTM_CLOSEMONTHCAL, 0, 0);
        HWND calendar = reinterpret_cast<HWND>(::SendMessageW(hwnd, DTM_GETMONTHCAL, 0, 0));
        if (IsDroppedDown())
            ::SendMessageW(calendar, WM_KEYDOWN, VK_ESCAPE, 0);
        if (IsDroppedDown())
            ::SetFocus(hwnd);
        return;
    }
    // As the user opens it: a click on the drop-down button, else F4, else Alt+Down
    // (wine's picker takes only the keys).
    RECT r{};
    ::GetClientRect(hwnd, &r);
    const LPARAM at = MAKELPARAM(r.right - 6, r.bottom / 2);
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, at);
    if (!IsDroppedDown())
        ::SendMessageW(hwnd, WM_KEYDOWN, VK_F4, 0);
    if (!IsDroppedDown())
        ::SendMessageW(hwnd, WM_SYSKEYDOWN, VK_DOWN, 1 << 29);
}

ImageList::ImageList(::Size size)
    : imageSize(size),
      list(::ImageList_Create(size.width(), size.height(), ILC_COLOR32 | ILC_MASK, 4, 4),
           [](HIMAGELIST handle) {
               if (handle != nullptr)
                   ::ImageList_Destroy(handle);
           }) {}

int ImageList::Add(const Bitmap& bitmap, Colour maskColour) {
    if (!list || bitmap.isNull())
        return -1;
    // A copy at the list's size: adding with a mask blackens the masked pixels of its source.
    const Bitmap copy(
        static_cast<HBITMAP>(::CopyImage(bitmap.Handle(), IMAGE_BITMAP, imageSize.width(),
                                         imageSize.height(), LR_CREATEDIBSECTION)));
    if (copy.isNull())
        return -1;
    return ::ImageList_AddMasked(list.get(), copy.Handle(), maskColour.Ref());
}

int ImageList::Count() const {
    return list ? ::ImageList_GetImageCount(list.get()) : 0;
}

namespace {

int SelectedRow(HWND list) {
    return static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
}

LRESULT CALLBACK KeySelectProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR subclass,
                               DWORD_PTR) {
    if (msg == WM_KEYDOWN) {
        const int before = SelectedRow(hwnd);
        const LRESULT result = ::DefSubclassProc(hwnd, msg, wParam, lParam);
        if (SelectedRow(hwnd) != before) {
            NMHDR header{};
            header.hwndFrom = hwnd;
            header.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(hwnd));
            header.code = static_cast<UINT>(win::LVN_KEYSELECT);
            ::SendMessageW(::GetParent(hwnd), WM_NOTIFY, header.idFrom,
                           reinterpret_cast<LPARAM>(&header));
        }
        return result;
    }
    if (msg == WM_NCDESTROY)
        ::RemoveWindowSubclass(hwnd, &KeySelectProc, subclass);
    return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

} // namespace

ListView::ListView(int id, HWND hwnd) : Control(id, hwnd) {
    ::SetWindowSubclass(hwnd, &KeySelectProc, 2, 0);
}

void ListView::SetStyle(unsigned lvsStyle) {
    const auto old = static_cast<unsigned>(::GetWindowLongW(hwnd, GWL_STYLE));
    // The list never destroys the image lists: they belong to their ImageList objects.
    ::SetWindowLongW(hwnd, GWL_STYLE,
                     static_cast<LONG>((old & 0xFFFF0000u) | lvsStyle | LVS_SHAREIMAGELISTS));
}

unsigned ListView::GetStyle() const {
    return static_cast<unsigned>(::GetWindowLongW(hwnd, GWL_STYLE)) & 0xFFFFu &
           ~static_cast<unsigned>(LVS_SHAREIMAGELISTS);
}

void ListView::SetExtendedStyle(unsigned lvsExStyle) {
    exStyle = lvsExStyle;
    ::SendMessageW(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, lvsExStyle);
}

void ListView::SetImageList(const ImageList& list, Which which) {
    (which == Small ? small : normal) = list;
    ::SendMessageW(hwnd, LVM_SETIMAGELIST, which == Small ? LVSIL_SMALL : LVSIL_NORMAL,
                   reinterpret_cast<LPARAM>(list.Handle()));
}

int ListView::ClientWidth() const {
    RECT r{};
    ::GetClientRect(hwnd, &r);
    return r.right - r.left;
}

int ListView::InsertColumn(int column, std::string_view heading, int width) {
    std::wstring text = Widen(heading);
    LVCOLUMNW col{};
    col.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH;
    col.fmt = LVCFMT_LEFT;
    col.cx = width;
    col.pszText = text.data();
    column = std::clamp(column, 0, ColumnCount());
    return static_cast<int>(
        ::SendMessageW(hwnd, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&col)));
}

int ListView::ColumnCount() const {
    HWND header = reinterpret_cast<HWND>(::SendMessageW(hwnd, LVM_GETHEADER, 0, 0));
    return header ? static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

std::string ListView::ColumnHeading(int column) const {
    wchar_t buffer[256] = {};
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT;
    col.pszText = buffer;
    col.cchTextMax = 255;
    if (!::SendMessageW(hwnd, LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&col)))
        return {};
    return Narrow(col.pszText);
}

int ListView::InsertItem(int row, std::string_view text, int image) {
    std::wstring wide = Widen(text);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = std::clamp(row, 0, GetItemCount());
    item.pszText = wide.data();
    // -1 would ask the dialog for the image (I_IMAGECALLBACK).
    item.iImage = image < 0 ? I_IMAGENONE : image;
    return static_cast<int>(
        ::SendMessageW(hwnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

int ListView::ItemImage(int row) const {
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    if (!::SendMessageW(hwnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return -1;
    return item.iImage < 0 ? -1 : item.iImage;
}

bool ListView::SetItemText(int row, int column, std::string_view text) {
    if (row < 0 || row >= GetItemCount() || column < 0 || column >= ColumnCount())
        return false;
    std::wstring wide = Widen(text);
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = wide.data();
    return ::SendMessageW(hwnd, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item)) != 0;
}

std::string ListView::GetItemText(int row, int column) const {
    std::wstring buffer(256, L'\0');
    for (;;) {
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        const auto length = static_cast<size_t>(
            ::SendMessageW(hwnd, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item)));
        if (length + 1 < buffer.size())
            return Narrow(std::wstring_view(buffer.data(), length));
        buffer.resize(buffer.size() * 2);
    }
}

bool ListView::SetItemData(int row, intptr_t data) {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.lParam = data;
    return ::SendMessageW(hwnd, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)) != 0;
}

intptr_t ListView::GetItemData(int row) const {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!::SendMessageW(hwnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return 0;
    return item.lParam;
}

int ListView::GetItemCount() const {
    return static_cast<int>(::SendMessageW(hwnd, LVM_GETITEMCOUNT, 0, 0));
}

bool ListView::DeleteAllItems() {
    return ::SendMessageW(hwnd, LVM_DELETEALLITEMS, 0, 0) != 0;
}

void ListView::SetItemState(int row, bool selected, bool focused) {
    if (row < 0 || row >= GetItemCount())
        return;
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | (focused ? LVIS_FOCUSED : 0u);
    item.state = (selected ? LVIS_SELECTED : 0u) | (focused ? LVIS_FOCUSED : 0u);
    ::SendMessageW(hwnd, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

std::vector<int> ListView::SelectedRows() const {
    std::vector<int> rows;
    int row = -1;
    while ((row = static_cast<int>(
                ::SendMessageW(hwnd, LVM_GETNEXTITEM, row, MAKELPARAM(LVNI_SELECTED, 0)))) != -1)
        rows.push_back(row);
    return rows;
}
