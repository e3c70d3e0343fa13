#include "schedule/ButtonRule.h"

#include "model/ScheduleEntry.h"

namespace zrn {

ButtonStates ComputeButtonStates(const ButtonInputs& in) {
    ButtonStates out;
    const int C = in.nItemCount;
    const int S = in.nSelectedRow;
    const bool V = in.bValidStartStop;

    if (in.bEditPending == 1) {
        // While an edit is pending only Save and Discard act; the clock waits too,
        // because setting it pauses and resumes the device's schedules.
        out.bSave = out.bDiscard = V && C > 0 && S != -1;
    } else {
        out.bProperties = true;
        out.bUpdateClock = out.bSyncClock = true;
        out.bScheduleRefresh = true;
        if (S != -1) {
            if (in.nSelectedEntry == -1) {
                out.bSelectedWithoutEntry = true;
            } else if (!in.bSelectedRead) {
                // Nothing is known of it to act on: a refresh reads it again.
                out.bProperties = false;
            } else {
                const char status = in.chSelectedStatus;
                out.bEnable = status != STATUS_EMPTY && status != STATUS_ACTIVE && V;
                out.bDisable = status == STATUS_ACTIVE;
            }
        }
    }
    out.bDelete = out.bClearAll = C > 0;
    out.bAdd = C == 0 || (in.bEditPending == 0 && C < SCHEDULE_ENTRY_COUNT);
    return out;
}

} // namespace zrn
