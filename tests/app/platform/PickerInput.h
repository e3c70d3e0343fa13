#pragma once
// What a date-and-time picker reports to the dialog it sits in.
#include "platform/Dialog.h"
#include "platform/PanelSupport.h"

// `shown` is zero where the notification carries no value.
inline void SendPicker(CDialog& dialog, int id, int code, const PickerFields& shown = {}) {
    Notify n;
    n.id = id;
    n.code = code;
    n.year = shown.year, n.month = shown.month, n.day = shown.day;
    n.hour = shown.hour, n.minute = shown.minute, n.second = shown.second;
    dialog.Deliver(n);
}
