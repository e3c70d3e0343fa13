#pragma once
// The one rule that enables and disables the schedule and clock action buttons, as a
// function of plain state so it can be tested without a dialog.

#include <optional>

namespace zrn {

struct ButtonInputs {
    int nItemCount = 0;        // rows in the schedule list
    int nSelectedRow = -1;     // -1 when no row is selected
    int nSelectedEntry = -1;   // entry index of the selected row, -1 for none
    char chSelectedStatus = 0; // status of that entry
    bool bSelectedRead = true; // that entry's values came from the device (or are being edited)
    int bEditPending = 0;
    bool bValidStartStop = false; // the edit panel's start and stop may be activated
};

// Each button's state; an empty optional leaves the button as it is.
struct ButtonStates {
    bool bSave = false;
    bool bDiscard = false;
    bool bProperties = false;
    bool bEnable = false;  // Activate
    bool bDisable = false; // Deactivate
    bool bUpdateClock = false;
    bool bSyncClock = false;
    std::optional<bool> bScheduleRefresh; // only enabled, never disabled, by the rule
    bool bDelete = false;
    bool bClearAll = false;
    bool bAdd = false;
    bool bSelectedWithoutEntry = false; // a selected row maps to no entry (traced)
};

ButtonStates ComputeButtonStates(const ButtonInputs& in);

} // namespace zrn
