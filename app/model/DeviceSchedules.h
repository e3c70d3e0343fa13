#pragma once
// The schedule table as the device last reported it, and what is known of
// each entry: read in full since its queries went out, being read, or not
// read. An operation that changes an entry on the device leaves what it meant
// to store; the read that follows it checks that the device took it.

#include "model/Catalogue.h"
#include "model/ScheduleEntry.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zrn {

// The nine replies of an entry, one bit each: the status, then the eight value
// fields in transfer order.
inline constexpr int READ_PARTS = 9;
inline constexpr std::uint16_t STATUS_PART = 1u << 0;
inline constexpr std::uint16_t VALUE_PARTS = 0x1FEu;
inline constexpr std::uint16_t ALL_PARTS = STATUS_PART | VALUE_PARTS;
// How often one query of a read goes out before its entry counts as not read.
inline constexpr int MAX_ASKS = 3;

// What an operation meant to leave on the device.
enum class Change { Upload, Activate, Deactivate, Delete };
struct Expectation {
    Change change = Change::Upload;
    ScheduleEntry entry{}; // an upload checks every field; the others the status only
};

class DeviceSchedules {
public:
    DeviceSchedules();

    const ScheduleEntry& Entry(int index) const { return entries_[Index(index)]; }
    ReadState State(int index) const { return reads_[Index(index)].state; }
    bool IsRead(int index) const { return State(index) == ReadState::Read; }

    // Starts a read of the given parts of the entry and returns the queries to
    // send. When a status read alone finds a schedule whose values were never
    // read, the values are asked for as well.
    CommandList BeginRead(int index, std::uint16_t parts = ALL_PARTS,
                          std::optional<Expectation> expect = std::nullopt);
    // The queries could not go out (no open link): the entry is not read.
    void ReadNotSent(int index);

    struct Outcome {
        int nEntry = -1;         // the entry the event concerned, -1 for none
        bool bCompleted = false; // the entry has just become read
        bool bGaveUp = false;    // the entry has just become not read
        CommandList ask;         // queries to send: a lost one again, or values not yet asked
        std::optional<std::string> report;  // for the operator: a change the device did not take
        std::optional<Expectation> checked; // the change whose read-back has just ended
    };
    // A schedule reply of entries 1..4 (others are ignored).
    Outcome Arrived(const ScheduleReply& reply);
    // A query of entries 1..4 whose reply was lost.
    Outcome Lost(std::string_view queryKey);
    // The link was closed: reads in flight get no more replies.
    std::vector<Outcome> LinkClosed();

private:
    struct Progress {
        ReadState state = ReadState::Unknown;
        std::uint16_t nArrived = 0;
        std::array<std::uint8_t, READ_PARTS> nAsked{};
        std::optional<Expectation> expect;
    };
    static std::size_t Index(int index) { return static_cast<std::size_t>(index); }
    CommandList Ask(int index, std::uint16_t parts); // counts each query it returns
    Outcome Finish(int index, ReadState state);

    ScheduleTable entries_{};
    std::array<Progress, SCHEDULE_ENTRY_COUNT> reads_{};
};

// The query of one part of entry number n ("S%d?", "S%dBD" ... "S%dP").
std::string PartQuery(int n, int part);

// Empty when the device holds what the change meant, else the operator's text.
std::optional<std::string> UntakenChange(const Expectation& expect, const ScheduleEntry& device);

} // namespace zrn
