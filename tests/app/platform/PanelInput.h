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

// The nine replies of entry n, in the order of its queries: status first.
inline std::vector<std::string> EntryReplies(int n, char status, const char* startDate,
                                             const char* startTime, const char* stopDate,
                                             const char* stopTime,
                                             const char* interval = "01:00:00") {
    const std::string s = "S" + std::to_string(n);
    return {s + status,
            s + "BD|" + startDate + "|",
            s + "BT|" + startTime + "|",
            s + "ED|" + stopDate + "|",
            s + "ET|" + stopTime + "|",
            s + "I|" + interval + "|",
            s + "V|00:01:30|",
            s + "H|00:01:00|",
            s + "P|00:01:00|"};
}

// Entry 1 active 1-8 June, entry 3 inactive 10-17 June; entries 2 and 4 empty.
inline std::vector<std::string> TwoEntriesReplies() {
    std::vector<std::string> replies =
        EntryReplies(1, 'A', "06/01/26", "08:00:00", "06/08/26", "08:00:00");
    replies.push_back("S20");
    for (std::string& reply :
         EntryReplies(3, 'D', "06/10/26", "13:05:00", "06/17/26", "13:05:00", "00:15:00"))
        replies.push_back(std::move(reply));
    replies.push_back("S40");
    return replies;
}
