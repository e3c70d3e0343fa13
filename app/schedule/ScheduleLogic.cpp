#include "schedule/ScheduleLogic.h"

#include "model/CalendarTime.h"
#include "platform/Win.h"

#include <algorithm>
#include <cstdio>

namespace zrn {

namespace {

std::size_t Index(int i) {
    return static_cast<std::size_t>(i);
}

} // namespace

namespace {

// A row that says what is known of an entry instead of its values.
ListRow StateRow(int nEntry, ReadState state) {
    ListRow row;
    row.nEntry = nEntry;
    row.nImage = -1;
    row.texts[0] = state == ReadState::Reading ? READING_TEXT : NOT_READ_TEXT;
    return row;
}

} // namespace

ListRows BuildListRows(ScheduleTable& table, int nDaylightFlag, const LineSink& appendLog,
                       const LineSink& trace, const ReadStates& states) {
    ListRows out;
    for (int i = 0; i < SCHEDULE_ENTRY_COUNT; ++i) {
        ScheduleEntry& entry = table[Index(i)];
        const ReadState state = states[Index(i)];
        if (state == ReadState::Unknown)
            continue;
        if (state != ReadState::Read) {
            out.nRowEntry[out.rows.size()] = i;
            out.rows.push_back(StateRow(i, state));
            continue;
        }
        if (!ValidateTableEntry(table, i, nDaylightFlag, appendLog, trace))
            continue;
        if (entry.chStatus == STATUS_EMPTY)
            continue;
        const CheckedEntry times = CheckEntry(entry, nDaylightFlag, {});
        ListRow row;
        row.nEntry = i;
        const bool active = entry.chStatus == STATUS_ACTIVE;
        row.nImage = active ? IMAGE_ACTIVE : IMAGE_INACTIVE;
        row.texts = {active ? "Active" : "Inactive",
                     FormatLocalTime(times.tStart, TimeText::Date),
                     FormatLocalTime(times.tStart, TimeText::Time),
                     FormatLocalTime(times.tStop, TimeText::Date),
                     FormatLocalTime(times.tStop, TimeText::Time),
                     [&] {
                         // The interval has no date: hours within the day.
                         const SpanParts p = SplitSpan(times.tsInterval);
                         char text[16];
                         std::snprintf(text, sizeof text, "%02d:%02d:%02d", p.hours, p.minutes,
                                       p.seconds);
                         return std::string(text);
                     }()};
        out.nRowEntry[out.rows.size()] = i;
        out.rows.push_back(std::move(row));
    }
    return out;
}

int RowOfEntry(const RowMap& nRowEntry, int nEntry) {
    if (nEntry < 0)
        return -1;
    const auto it = std::find(nRowEntry.begin(), nRowEntry.end(), nEntry);
    return it == nRowEntry.end() ? -1 : static_cast<int>(it - nRowEntry.begin());
}

SelectionAfterRebuild FollowSelection(int nSelectedRow, int nSelectedEntryBefore,
                                      const RowMap& nRowEntryAfter) {
    if (nSelectedRow == NO_SELECTABLE_ACTIVE_ENTRY || nSelectedEntryBefore < 0)
        return {nSelectedRow, false};
    const int row = RowOfEntry(nRowEntryAfter, nSelectedEntryBefore);
    if (row < 0)
        return {NO_SELECTABLE_ACTIVE_ENTRY, true};
    return {row, false};
}

std::int64_t AddBaseTime(const ScheduleTable& table, const RowMap& nRowEntry,
                         std::int64_t tZrnClock, int nDaylightFlag, const ReadStates& states) {
    std::int64_t base = tZrnClock;
    for (int nEntry : nRowEntry) {
        if (nEntry < 0 || nEntry >= SCHEDULE_ENTRY_COUNT ||
            states[Index(nEntry)] != ReadState::Read)
            continue;
        const auto stop = MakeLocalTime(EntryStopFields(table[Index(nEntry)]), nDaylightFlag);
        if (stop && *stop > base)
            base = *stop;
    }
    return base;
}

int FirstFreeReadEntry(const ScheduleTable& table, const ReadStates& states) {
    for (int i = 0; i < SCHEDULE_ENTRY_COUNT; ++i) {
        const char status = static_cast<char>(table[Index(i)].chStatus);
        if (states[Index(i)] == ReadState::Read && status != STATUS_ACTIVE &&
            status != STATUS_INACTIVE)
            return i;
    }
    return -1;
}

AddProposal ProposeAdd(std::int64_t tBase, int nIntervalPreset) {
    AddProposal out;
    switch (nIntervalPreset) {
    case PRESET_30MIN:
        out.tStart = AlignDownLocal(tBase + 30 * 60, 30);
        out.tsInterval = 30 * 60;
        break;
    case PRESET_1HOUR:
        out.tStart = AlignDownLocal(tBase + 3600, 60);
        out.tsInterval = 3600;
        break;
    case PRESET_24HOURS:
        // On the hour a day later, not at midnight; the interval picker shows no days.
        out.tStart = AlignDownLocal(tBase + 86400, 60);
        out.tsInterval = 86399;
        break;
    default:
        out.tStart = AlignDownLocal(tBase + 900, 15);
        out.tsInterval = 15 * 60;
        break;
    }
    out.tStop = out.tStart + ADD_SPAN;
    return out;
}

void FillAddedEntry(ScheduleEntry& entry, const AddProposal& proposal) {
    SetEntryTimes(entry, {proposal.tStart, proposal.tStop, proposal.tsInterval, 60, 60, 60});
    entry.chStatus = STATUS_INACTIVE;
}

void StoreEditIntoEntry(ScheduleEntry& entry, const ScheduleState& state) {
    SetEntryTimes(entry, state.edit);
    entry.chStatus = STATUS_INACTIVE;
}

LeavePrompt LeaveEntryPrompt(int bEditPending, int nSelectedRow, bool bValidStartStop) {
    if (!bEditPending || nSelectedRow == NO_SELECTABLE_ACTIVE_ENTRY)
        return LeavePrompt::None;
    return bValidStartStop ? LeavePrompt::SaveChanges : LeavePrompt::Invalid;
}

PromptBox LeaveEntryBox(LeavePrompt prompt) {
    using namespace win;
    if (prompt == LeavePrompt::Invalid)
        return {"Entry has a conflict or is not valid.\nOK to Discard, and Cancel to return to "
                "last entry.",
                MB_OKCANCEL | MB_ICONQUESTION};
    return {"Save changes?\nYes to save, No to discard, and Cancel to return to last entry.",
            MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2};
}

LeaveAction LeaveEntryAction(LeavePrompt prompt, int answer) {
    using namespace win;
    if (prompt == LeavePrompt::None)
        return LeaveAction::Continue;
    if (answer == IDYES && prompt == LeavePrompt::SaveChanges)
        return LeaveAction::SaveAndContinue;
    if (answer == IDOK && prompt == LeavePrompt::Invalid)
        return LeaveAction::Continue;
    return LeaveAction::RefreshAndStop;
}

EntryMenu ContextMenuFor(int row, char chStatus) {
    if (row == -1)
        return EntryMenu::Add;
    if (chStatus == STATUS_INACTIVE)
        return EntryMenu::Inactive;
    if (chStatus == STATUS_ACTIVE)
        return EntryMenu::Active;
    return EntryMenu::Add;
}

} // namespace zrn
