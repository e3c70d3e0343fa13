#pragma once
// The schedule panel's decisions as plain functions: what Add proposes, what a
// reply changes, which rows the list shows, where the selection goes after a
// rebuild, what leaving an edited entry asks and does, and what each action
// sends. The dialog reads its controls, calls these and applies the result.

#include "model/Catalogue.h"
#include "model/DeviceSchedules.h"
#include "model/ScheduleEntry.h"
#include "model/ScheduleRules.h"
#include "schedule/IntervalRules.h"
#include "schedule/ScheduleState.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zrn {

using RowMap = std::array<int, SCHEDULE_ENTRY_COUNT>;

// ---- List rows ----------------------------------------------------------------

inline constexpr int IMAGE_ACTIVE = 0;
inline constexpr int IMAGE_INACTIVE = 1;

struct ListRow {
    int nEntry = -1;
    int nImage = IMAGE_INACTIVE;
    std::array<std::string, 6>
        texts; // Status, Start Date, Start Time, Stop Date, Stop Time, Interval
};

struct ListRows {
    std::vector<ListRow> rows; // entry order, empty entries left out
    RowMap nRowEntry{-1, -1, -1, -1};
};

// The status text of an entry that is listed without values.
inline constexpr const char* READING_TEXT = "Reading...";
inline constexpr const char* NOT_READ_TEXT = "Not read";

// Validates every read entry (an invalid one is logged and emptied, as the list
// never shows one) and lays out the rows of the non-empty ones. An entry being
// read, or asked but not read, is listed by that status text alone; one never
// asked is not listed.
ListRows BuildListRows(ScheduleTable& table, int nDaylightFlag, const LineSink& appendLog,
                       const LineSink& trace, const ReadStates& states = ALL_READ);

// The row of nEntry in the map, -1 when it has none.
int RowOfEntry(const RowMap& nRowEntry, int nEntry);

// Where the selection goes when the rows are rebuilt: the row of the entry that
// was selected. A selected row that showed no entry keeps its number; a
// selected entry that is no longer listed leaves nothing selected.
struct SelectionAfterRebuild {
    int nSelectedRow = NO_SELECTABLE_ACTIVE_ENTRY;
    bool bEntryGone = false; // the panel showed an entry that the list no longer has
};
SelectionAfterRebuild FollowSelection(int nSelectedRow, int nSelectedEntryBefore,
                                      const RowMap& nRowEntryAfter);

// ---- Add ----------------------------------------------------------------------

inline constexpr std::int64_t ADD_SPAN = 604799; // six days 23:59:59

// The device clock, moved past the stop of every listed entry that was read.
std::int64_t AddBaseTime(const ScheduleTable& table, const RowMap& nRowEntry,
                         std::int64_t tZrnClock, int nDaylightFlag,
                         const ReadStates& states = ALL_READ);

// The first entry read as empty, or -1 when there is none.
int FirstFreeReadEntry(const ScheduleTable& table, const ReadStates& states);

struct AddProposal {
    std::int64_t tStart = 0;
    std::int64_t tStop = 0;
    std::int64_t tsInterval = 0;
};
// The first start after base on the preset's grid in local time, and a week
// less one second of it. Presets other than 30 min, 1 hour and 24 hours use
// the 15-minute grid.
AddProposal ProposeAdd(std::int64_t tBase, int nIntervalPreset);

// The new entry: the proposal, valve, hold and pump 1:00, status 'D'; its
// number is kept.
void FillAddedEntry(ScheduleEntry& entry, const AddProposal& proposal);

// ---- Editing ----------------------------------------------------------------------

// The edit panel's values stored into an entry, which becomes inactive until
// it is saved and activated.
void StoreEditIntoEntry(ScheduleEntry& entry, const ScheduleState& state);

// ---- Leaving an edited entry ------------------------------------------------------

enum class LeavePrompt {
    None,        // nothing pending: go on
    SaveChanges, // Yes / No / Cancel
    Invalid,     // OK / Cancel: the pending values cannot be activated
};
LeavePrompt LeaveEntryPrompt(int bEditPending, int nSelectedRow, bool bValidStartStop);

struct PromptBox {
    const char* text;
    unsigned flags; // win MB_* values
};
PromptBox LeaveEntryBox(LeavePrompt prompt);

enum class LeaveAction {
    Continue,        // go on with the click
    SaveAndContinue, // save and upload the entry, then go on
    RefreshAndStop,  // read the table back from the device; the click ends here
};
// answer is the message box's (IDYES, IDNO, IDCANCEL, IDOK).
LeaveAction LeaveEntryAction(LeavePrompt prompt, int answer);

// ---- Context menu -----------------------------------------------------------------

enum class EntryMenu {
    Add,      // no row, or an empty entry
    Inactive, // activate, delete, test...
    Active,   // deactivate, test...
};
EntryMenu ContextMenuFor(int row, char chStatus);

} // namespace zrn
