#include "schedule/ScheduleState.h"

namespace zrn {

int SelectedEntryIndex(const ScheduleState& state) {
    if (state.nSelectedRow < 0 || state.nSelectedRow >= SCHEDULE_ENTRY_COUNT)
        return NO_SELECTABLE_ACTIVE_ENTRY;
    return state.nRowEntry[static_cast<std::size_t>(state.nSelectedRow)];
}

bool SelectedEntryRead(const ScheduleState& state) {
    const int nEntry = SelectedEntryIndex(state);
    return nEntry >= 0 && state.listed[static_cast<std::size_t>(nEntry)] == ReadState::Read;
}

void InitScheduleTable(ScheduleState& state, std::int64_t tNow, const LineSink& appendLog,
                       const LineSink& trace) {
    for (int i = 0; i < SCHEDULE_ENTRY_COUNT; ++i) {
        ScheduleEntry& entry = state.table[static_cast<std::size_t>(i)];
        entry = ScheduleEntry{};
        entry.nNumber = static_cast<std::uint8_t>(i + 1);
        SetEntryTimes(entry, {tNow, tNow + 7 * 86400, 15 * 60, 60, 60, 60});
        entry.chStatus = STATUS_EMPTY;
        state.nRowEntry[static_cast<std::size_t>(i)] = -1;
        ValidateTableEntry(state.table, i, state.nDaylightFlag, appendLog, trace);
    }
    state.bScheduleReady = 1;
}

} // namespace zrn
