#include "model/ScheduleEntry.h"

namespace zrn {

int SelectedEntryIndex(const ScheduleState& state) {
    if (state.nSelectedRow < 0 || state.nSelectedRow >= SCHEDULE_ENTRY_COUNT)
        return NO_SELECTABLE_ACTIVE_ENTRY;
    return state.nRowEntry[static_cast<std::size_t>(state.nSelectedRow)];
}

} // namespace zrn

namespace zrn {

bool SelectedEntryRead(const ScheduleState& state) {
    const int nEntry = SelectedEntryIndex(state);
    return nEntry >= 0 && state.listed[static_cast<std::size_t>(nEntry)] == ReadState::Read;
}

} // namespace zrn
