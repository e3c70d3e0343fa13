#pragma once
// What the schedule panel keeps beside the device's four-entry table: the
// list's rows, the selection and the edit in progress. View state, so it lives
// with the panel and not in model/.
#include "model/ScheduleEntry.h"
#include "model/ScheduleRules.h"

#include <array>
#include <cstdint>

namespace zrn {

// Copies taken when an entry is selected (or proposed by Add); read by the
// details dialog and used as the base time of the interval presets.
struct SelectedEntryView : EntryTimes {
    int bActive = 0;
};

// The table and the state the dialog keeps beside it.
struct ScheduleState {
    ScheduleTable table{};
    std::array<int, SCHEDULE_ENTRY_COUNT> nRowEntry{-1, -1, -1, -1}; // list row -> entry index
    ReadStates listed = ALL_READ;                                    // as the list shows each entry
    int nSelectedRow = NO_SELECTABLE_ACTIVE_ENTRY;
    int bEditPending = 0;
    int bScheduleReady = 0;
    int nDaylightFlag = -1; // -1: the local-time rules decide about daylight saving
    EntryTimes edit;        // the panel's working values of the selected entry
    SelectedEntryView selected;
};

// Entry index of the selected row, or -1 when no row (or a row without an
// entry) is selected.
int SelectedEntryIndex(const ScheduleState& state);
// The selected row shows an entry with values (read, or being edited).
bool SelectedEntryRead(const ScheduleState& state);

// Defaults for every entry (start now, stop now + 7 days, interval 00:15:00,
// valve/hold/pump 1:00, status '0'), then ValidateTableEntry on each; clears
// the row map and sets bScheduleReady. The list itself is the dialog's.
void InitScheduleTable(ScheduleState& state, std::int64_t tNow, const LineSink& appendLog,
                       const LineSink& trace);

} // namespace zrn
