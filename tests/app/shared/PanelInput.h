#pragma once
// What the dialog tests hand to the schedule panel: a control's notification,
// and the replies of one schedule entry as the device gives them.
#include "platform/Dialog.h"

#include <string>
#include <vector>

inline void SendNotify(CDialog& dialog, int id, int code, int row = -1) {
    Notify n;
    n.id = id;
    n.code = code;
    n.row = row;
    dialog.Deliver(n);
}

// The nine replies of entry n, status last.
inline std::vector<std::string> EntryReplies(int n, char status, const char* startDate,
                                             const char* startTime, const char* stopDate,
                                             const char* stopTime,
                                             const char* interval = "01:00:00") {
    const std::string s = "S" + std::to_string(n);
    return {s + "BD|" + startDate + "|", s + "BT|" + startTime + "|", s + "ED|" + stopDate + "|",
            s + "ET|" + stopTime + "|",  s + "I|" + interval + "|",   s + "V|00:01:30|",
            s + "H|00:01:00|",           s + "P|00:01:00|",           s + status};
}
