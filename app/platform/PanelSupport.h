#pragma once
// Small pieces of the windowing system that panel code needs without
// speaking Qt: picker values, the wait cursor, client coordinates.
#include <cstdint>
#include <optional>

class CDialog;

// A picker's value as its notifications carry it.
struct PickerFields {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// DTM_GETSYSTEMTIME: empty when the picker does not answer GDT_VALID.
std::optional<PickerFields> GetPickerFields(const CDialog& dialog, int id);
// DTM_SETSYSTEMTIME with a calendar time (seconds since 1970, shown in local time).
void SetPickerTime(CDialog& dialog, int id, std::int64_t t);
// A time-of-day picker set to a span of hours, minutes and seconds.
void SetPickerSpan(CDialog& dialog, int id, int hours, int minutes, int seconds);

// A point in screen coordinates as the control's client coordinates.
struct ClientPoint {
    int x = 0, y = 0;
};
ClientPoint ScreenToClient(const CDialog& dialog, int id, int screenX, int screenY);

// Shows the wait cursor while alive, as CWaitCursor does.
class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    void Restore(); // ends the wait early

private:
    bool shown = false;
};
