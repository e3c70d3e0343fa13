// The enabling rule of the action buttons as a function of plain state.
#include "schedule/ButtonRule.h"

#include <gtest/gtest.h>

using zrn::ButtonInputs;
using zrn::ComputeButtonStates;

namespace {
ButtonInputs Selected(char status, bool valid, int pending = 0) {
    ButtonInputs in;
    in.nItemCount = 2;
    in.nSelectedRow = 1;
    in.nSelectedEntry = 3;
    in.chSelectedStatus = status;
    in.bValidStartStop = valid;
    in.bEditPending = pending;
    return in;
}
} // namespace

TEST(ButtonStates, PendingEditAllowsOnlySaveAndDiscardWhenTheTimesAreValid) {
    auto out = ComputeButtonStates(Selected('D', true, 1));
    EXPECT_TRUE(out.bSave && out.bDiscard);
    EXPECT_FALSE(out.bEnable || out.bDisable || out.bProperties || out.bUpdateClock ||
                 out.bSyncClock || out.bAdd);
    EXPECT_FALSE(out.bScheduleRefresh.has_value()); // left as it was
    out = ComputeButtonStates(Selected('D', false, 1));
    EXPECT_FALSE(out.bSave || out.bDiscard);
}

TEST(ButtonStates, ActivateNeedsAnInactiveEntryWithValidTimesDeactivateAnActiveOne) {
    EXPECT_TRUE(ComputeButtonStates(Selected('D', true)).bEnable);
    EXPECT_FALSE(ComputeButtonStates(Selected('D', false)).bEnable);
    EXPECT_FALSE(ComputeButtonStates(Selected('A', true)).bEnable);
    EXPECT_TRUE(ComputeButtonStates(Selected('A', false)).bDisable);
    EXPECT_FALSE(ComputeButtonStates(Selected('0', true)).bEnable);
}

TEST(ButtonStates, AddDependsOnRowsAndPendingEdits) {
    ButtonInputs in;
    EXPECT_TRUE(ComputeButtonStates(in).bAdd); // empty list
    EXPECT_FALSE(ComputeButtonStates(in).bDelete);
    in.nItemCount = 4;
    EXPECT_FALSE(ComputeButtonStates(in).bAdd); // full
    in.nItemCount = 3;
    EXPECT_TRUE(ComputeButtonStates(in).bAdd);
    in.bEditPending = 1;
    EXPECT_FALSE(ComputeButtonStates(in).bAdd);
    EXPECT_TRUE(ComputeButtonStates(in).bClearAll);
}

TEST(ButtonStates, SelectedRowWithoutEntryIsReported) {
    ButtonInputs in = Selected('D', true);
    in.nSelectedEntry = -1;
    const auto out = ComputeButtonStates(in);
    EXPECT_TRUE(out.bSelectedWithoutEntry);
    EXPECT_FALSE(out.bEnable || out.bDisable);
}
