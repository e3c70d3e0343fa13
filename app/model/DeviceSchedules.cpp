#include "model/DeviceSchedules.h"

#include "model/FieldForms.h"

#include <algorithm>
#include <cstdio>

namespace zrn {

namespace {

static_assert(READ_PARTS == 1 + FIELD_COUNT);

std::uint16_t Bit(int part) {
    return static_cast<std::uint16_t>(1u << part);
}

// 0 for the status, 1..8 for the value fields; -1 for any other reply.
int PartOf(ScheduleReplyKind kind) {
    if (kind < ScheduleReplyKind::Status || kind > ScheduleReplyKind::Pump)
        return -1;
    return static_cast<int>(kind) - static_cast<int>(ScheduleReplyKind::Status);
}

bool IsComplete(std::uint16_t arrived, char chStatus) {
    if ((arrived & STATUS_PART) == 0)
        return false;
    return chStatus == STATUS_EMPTY || (arrived & ALL_PARTS) == ALL_PARTS;
}

// What each change meant to leave on the device, and how the operator is told
// about it. An upload means every field, so no one status.
struct ChangeMeaning {
    Change change;
    char status;
    const char* done;
};
constexpr ChangeMeaning kChanges[] = {
    {Change::Upload, 0, "stored as shown"},
    {Change::Activate, STATUS_ACTIVE, "activated"},
    {Change::Deactivate, STATUS_INACTIVE, "deactivated"},
    {Change::Delete, STATUS_EMPTY, "deleted"},
};

const ChangeMeaning& Meaning(Change change) {
    return *std::find_if(std::begin(kChanges), std::end(kChanges),
                         [change](const ChangeMeaning& m) { return m.change == change; });
}

std::string Text(const char* format, int n, const char* done) {
    char text[160];
    std::snprintf(text, sizeof text, format, n, done);
    return text;
}

} // namespace

std::string PartQuery(int n, int part) {
    if (part == 0)
        return ScheduleStatusQuery(n);
    return ScheduleFieldQuery(n, kFieldForms[static_cast<std::size_t>(part - 1)].field);
}

std::optional<std::string> UntakenChange(const Expectation& expect, const ScheduleEntry& device) {
    const bool taken = expect.change == Change::Upload
                           ? device == expect.entry
                           : device.chStatus == Meaning(expect.change).status;
    if (taken)
        return std::nullopt;
    return Text("Schedule %d was not %s.\nThe list shows what the device holds.",
                expect.entry.nNumber, Meaning(expect.change).done);
}

DeviceSchedules::DeviceSchedules() {
    for (int i = 0; i < SCHEDULE_ENTRY_COUNT; ++i) {
        entries_[Index(i)].nNumber = static_cast<std::uint8_t>(i + 1);
        entries_[Index(i)].chStatus = STATUS_EMPTY;
    }
}

CommandList DeviceSchedules::BeginRead(int index, std::uint16_t parts,
                                       std::optional<Expectation> expect) {
    Progress& p = reads_[Index(index)];
    p.state = ReadState::Reading;
    p.nArrived &= static_cast<std::uint16_t>(~parts);
    p.nAsked = {};
    p.expect = std::move(expect);
    return Ask(index, parts);
}

void DeviceSchedules::ReadNotSent(int index) {
    Finish(index, ReadState::NotRead);
}

DeviceSchedules::Outcome DeviceSchedules::Arrived(const ScheduleReply& reply) {
    const int part = PartOf(reply.kind);
    if (part < 0 || reply.nNumber < 1 || reply.nNumber > SCHEDULE_ENTRY_COUNT)
        return {};
    const int index = reply.nNumber - 1;
    ScheduleEntry& entry = entries_[Index(index)];
    if (part == 0)
        entry.chStatus = static_cast<std::uint8_t>(reply.chStatus);
    else
        StoreScheduleReply(entry, reply);
    Progress& p = reads_[Index(index)];
    p.nArrived |= Bit(part);
    const char status = static_cast<char>(entry.chStatus);
    if (p.state != ReadState::Read && IsComplete(p.nArrived, status))
        return Finish(index, ReadState::Read);
    Outcome out;
    out.nEntry = index;
    if (p.state == ReadState::Reading && part == 0 && status != STATUS_EMPTY) {
        // A schedule whose values were never asked for in this read: ask now.
        std::uint16_t unasked = 0;
        for (int value = 1; value < READ_PARTS; ++value)
            if ((p.nArrived & Bit(value)) == 0 && p.nAsked[Index(value)] == 0)
                unasked |= Bit(value);
        out.ask = Ask(index, unasked);
    }
    return out;
}

DeviceSchedules::Outcome DeviceSchedules::Lost(std::string_view queryKey) {
    if (queryKey.size() < 3 || queryKey[0] != 'S' || queryKey[1] < '1' || queryKey[1] > '4')
        return {};
    const int index = queryKey[1] - '1';
    int part = 0;
    while (part < READ_PARTS && queryKey != PartQuery(index + 1, part))
        ++part;
    Progress& p = reads_[Index(index)];
    if (part == READ_PARTS || p.state != ReadState::Reading || (p.nArrived & Bit(part)) != 0)
        return {};
    if (p.nAsked[Index(part)] >= MAX_ASKS)
        return Finish(index, ReadState::NotRead);
    Outcome out;
    out.nEntry = index;
    out.ask = Ask(index, Bit(part));
    return out;
}

std::vector<DeviceSchedules::Outcome> DeviceSchedules::LinkClosed() {
    std::vector<Outcome> outcomes;
    for (int i = 0; i < SCHEDULE_ENTRY_COUNT; ++i)
        if (reads_[Index(i)].state == ReadState::Reading)
            outcomes.push_back(Finish(i, ReadState::NotRead));
    return outcomes;
}

CommandList DeviceSchedules::Ask(int index, std::uint16_t parts) {
    Progress& p = reads_[Index(index)];
    CommandList queries;
    for (int part = 0; part < READ_PARTS; ++part) {
        if ((parts & Bit(part)) == 0)
            continue;
        ++p.nAsked[Index(part)];
        queries.push_back(PartQuery(index + 1, part));
    }
    return queries;
}

DeviceSchedules::Outcome DeviceSchedules::Finish(int index, ReadState state) {
    Progress& p = reads_[Index(index)];
    p.state = state;
    Outcome out;
    out.nEntry = index;
    out.bCompleted = state == ReadState::Read;
    out.bGaveUp = state == ReadState::NotRead;
    if (p.expect) {
        out.checked = p.expect;
        if (out.bCompleted)
            out.report = UntakenChange(*p.expect, entries_[Index(index)]);
        else
            out.report = Text("Schedule %d could not be read back.\nIt may not be %s.", index + 1,
                              Meaning(p.expect->change).done);
        p.expect.reset();
    }
    return out;
}

} // namespace zrn
