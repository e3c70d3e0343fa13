// The dialog's event table is spread over its panels' folders: one
// notification of one control must have exactly one handler.
#include "shell/ZRNcomDlg.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

TEST(EventTable, EveryControlNotificationPairHasOneRowInAllPanels) {
    std::vector<std::pair<int, int>> keys;
    for (const auto& row : CZRNcomDlgEvents::All())
        keys.emplace_back(row.id, row.code);
    CZRNcomDlg dialog("");
    for (const Panel* panel : dialog.panels.All())
        for (const auto& key : panel->EventKeys())
            keys.push_back(key);

    std::set<std::pair<int, int>> seen;
    for (const auto& [id, code] : keys)
        EXPECT_TRUE(seen.insert({id, code}).second)
            << "control " << id << " notification " << code << " is in two rows";
    EXPECT_GT(keys.size(), 80u);
}
