#include "platform/PanelSupport.h"

#include "platform/Dialog.h"

std::optional<PickerFields> GetPickerFields(const CDialog& dialog, int id) {
    const auto* picker = dialog.Item<DateTimePicker>(id);
    return picker != nullptr ? picker->Fields() : std::nullopt;
}

void SetPickerTime(CDialog& dialog, int id, std::int64_t t) {
    if (auto* picker = dialog.Item<DateTimePicker>(id))
        picker->SetTime(t);
}

void SetPickerSpan(CDialog& dialog, int id, int hours, int minutes, int seconds) {
    if (auto* picker = dialog.Item<DateTimePicker>(id))
        picker->SetOleDate((hours * 3600 + minutes * 60 + seconds) / 86400.0);
}

ClientPoint ScreenToClient(const CDialog& dialog, int id, int screenX, int screenY) {
    HWND control = dialog.GetDlgItem(id);
    POINT p{screenX, screenY};
    if (control == nullptr || !::ScreenToClient(control, &p))
        return {screenX, screenY};
    return {p.x, p.y};
}

CWaitCursor::CWaitCursor() {
    ::SetCursor(::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
    shown = true;
}

CWaitCursor::~CWaitCursor() {
    Restore();
}

// The window under the mouse sets its own cursor again, as CWaitCursor's Restore does.
void CWaitCursor::Restore() {
    if (!shown)
        return;
    shown = false;
    POINT p{};
    ::GetCursorPos(&p);
    ::SetCursorPos(p.x, p.y);
}
