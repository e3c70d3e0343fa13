// The dialog's event table is spread over its panels' folders: one
// notification of one control must have exactly one handler.
#include "shell/ZRNcomDlg.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

TEST(EventTable, EveryControlNotificationPairHasOneRowInAllPanels) {
    std::set<std::pair<int, int>> seen;
    size_t rows = 0;
    for (const auto& table : CZRNcomDlgEvents::All()) {
        for (const auto& row : table) {
            ++rows;
            EXPECT_TRUE(seen.insert({row.id, row.code}).second)
                << "control " << row.id << " notification " << row.code << " is in two rows";
        }
    }
    EXPECT_GT(rows, 80u);
    EXPECT_EQ(CZRNcomDlgEvents::All().size(), 6u);
}
