#pragma once
// Every text that goes between the program and the device: command builders
// and reply parsers. Nothing else in the program formats or cuts a wire text.

#include "model/CalendarTime.h"
#include "model/ScheduleEntry.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zrn {

using CommandList = std::vector<std::string>;

// ---- Status and clock -------------------------------------------------------

std::string ProbeCommand();        // "?"
std::string ClockQuery();          // "C"
std::string VoltageQuery();        // "B"
std::string VersionQuery();        // "F"
std::string ClockHoldCommand();    // "S0D", sent before a clock change
std::string ClockReleaseCommand(); // "S0A", sent after it
// "C|%m/%d/%y|%H:%M:%S|" of the local fields (year reduced to two digits).
std::string ClockSetCommand(const LocalDateTime& local);
// "S0D", the clock command of t in local time, "S0A". Empty when t has no
// local representation.
CommandList ClockSetSequence(std::int64_t t);

// ---- SDI-12 settings --------------------------------------------------------

// The five identification fields, each at most its width on the wire.
struct SdiIdent {
    std::string strVersion;     // 2
    std::string strMfgName;     // 8
    std::string strMfgModel;    // 6
    std::string strMfgVersion;  // 3
    std::string strMfgOptional; // 13
    bool operator==(const SdiIdent&) const = default;
};
inline constexpr std::size_t SDI_VERSION_WIDTH = 2;
inline constexpr std::size_t SDI_MFG_NAME_WIDTH = 8;
inline constexpr std::size_t SDI_MFG_MODEL_WIDTH = 6;
inline constexpr std::size_t SDI_MFG_VERSION_WIDTH = 3;
inline constexpr std::size_t SDI_MFG_OPTIONAL_WIDTH = 13;

std::string IdentQuery(); // "I"
// "I|%2s%8s%6s%3s%13s|": each field cut to its width and right-aligned with
// spaces, so always 35 characters.
std::string IdentSetCommand(const SdiIdent& ident);

std::string AddressQuery();        // "A"
bool IsAcceptableAddress(char ch); // '0'..'9' or '?'
// "A%c"; empty when ch is not acceptable (it is never sent).
std::optional<std::string> AddressSetCommand(char ch);

inline constexpr int MAX_DELAY = 999;
std::string DelayQuery(); // "L"
// "L|%03d|"; empty outside 0..999.
std::optional<std::string> DelaySetCommand(int nDelay);

// The three durations of schedule number 5 (the SDI row).
enum class SdiDuration { Valve, Hold, Pump }; // wire letters V, H, P
inline constexpr int MAX_SDI_DURATION = 999;
std::string SdiDurationQuery(SdiDuration which); // "S5V", "S5H", "S5P"
// "S5V|00:%02d:%02d|" of total / 60 and total % 60; empty outside 0..999.
std::optional<std::string> SdiDurationSetCommand(SdiDuration which, int nTotalSeconds);

// A changed setting: the value command when acceptable, then the query; the
// durations send nothing at all for an out-of-range value.
CommandList AddressChangeSequence(char ch);
CommandList DelayChangeSequence(int nDelay);
CommandList SdiDurationChangeSequence(SdiDuration which, int nTotalSeconds);

// ---- Schedule table ---------------------------------------------------------

// The eight value fields of an entry, in transfer order.
enum class ScheduleField { StartDate, StartTime, StopDate, StopTime, Interval, Valve, Hold, Pump };

// n is the entry's number (1..4; 5 for the SDI durations).
std::string ScheduleStatusQuery(int n);                     // "S%d?"
std::string ScheduleFieldQuery(int n, ScheduleField field); // "S%dBD" ... "S%dP"
std::string ScheduleInactivateCommand(int n);               // "S%dD", opens an upload
std::string ScheduleStatusCommand(int n, char chStatus);    // "S%d%c"; NUL is sent as '0'
std::string ScheduleDeleteCommand(int n);                   // "S%d0"
std::string ScheduleTestCommand(int n);                     // "S%dR"
// "S%dBD|%02d/%02d/%02d|" (month, day, year - 2000) for the dates,
// "S%dBT|%02d:%02d:%02d|" for the times, interval and durations (the
// durations' hours always 0).
std::string ScheduleFieldSetCommand(int n, ScheduleField field, const ScheduleEntry& entry);

// The nine queries of one entry, status first.
CommandList ScheduleReadSequence(int n);
// "S%dD", the eight value commands, then the status ('0' for none): ten in all.
CommandList ScheduleUploadSequence(const ScheduleEntry& entry);
// "S%d%c" then "S%d?": the device's answer confirms the new status.
CommandList StatusChangeSequence(int n, char chStatus);
// "S10", "S20", "S30", "S40".
CommandList ClearAllSequence();

// ---- Fixed blocks of the polling ----------------------------------------------

// "F", "B", "I", "L", "A", "S5V", "S5H", "S5P", "C" (schedules are read apart).
CommandList FullReadSequence();

// One normal tick: "C" and the rotation command of nPollStep, with the step
// that follows ("L", "A", "S5V", "S5H", "S5P", "B", then "C" alone and 0).
struct PollTick {
    CommandList commands;
    int nNextPollStep = 0;
};
PollTick NormalPollTick(int nPollStep);

// A normal tick queues two commands, and the link releases one per idle read
// of at least 20 ms followed by the device's answer (some 60 ms at 9600
// baud). Beside the one-second timer, a polling timer faster than this would
// queue commands faster than the line carries them, without bound.
inline constexpr int MIN_POLLING_TIME = 500;
// The polling timer's period for a configured "PollingTime" (ms).
int PollingPeriod(int nPollingTime);

// ---- Field extraction ---------------------------------------------------------

// n characters at pos; shorter or empty when the reply is shorter.
std::string_view FixedField(std::string_view reply, std::size_t pos, std::size_t n);
// Leading decimal digits of the piece; 0 when there are none.
int FixedNumber(std::string_view reply, std::size_t pos, std::size_t n);
// The value of a typed number as the C runtime reads it: leading blanks, an
// optional sign, then digits; 0 when there are none; saturates at the int range.
int DecimalValue(std::string_view text);

// ---- Replies ----------------------------------------------------------------

// "A": the character at position 1 (empty for a one-character reply).
std::string ParseAddressReply(std::string_view reply);

// "B|%f|%f|": a field the scan does not fill keeps its previous value.
struct Voltages {
    float fExternalVolts = 0;
    float fInternalVolts = 0;
};
Voltages ParseVoltageReply(std::string_view reply, Voltages previous);
// The trace pieces: positions 2-5 and 7-10.
std::string_view VoltageTraceExternal(std::string_view reply);
std::string_view VoltageTraceInternal(std::string_view reply);
// A voltage as the dialog shows it, "12.60": two decimals and a point in
// every locale.
std::string VoltsText(float volts);

// "C|%d/%d/%d|%d:%d:%d|": local fields with 2000 added to the year; empty
// unless all six numbers convert.
std::optional<LocalDateTime> ParseClockReply(std::string_view reply);

// "F": major at 2-3, minor at 5-6 (the text pieces feed the trace line).
struct VersionReply {
    std::string_view strMajor;
    std::string_view strMinor;
    bool bValid = false; // false for a one-character reply: nothing is shown
    int nMajor = 0;
    int nMinor = 0;
    bool operator==(const VersionReply&) const = default;
};
VersionReply ParseVersionReply(std::string_view reply);

// "I": the layout of the identification command.
SdiIdent ParseIdentReply(std::string_view reply);

// "L": the second "|"-separated piece; empty when there is none.
std::optional<std::string> ParseDelayReply(std::string_view reply);

// "S" replies: status, the eight value fields, or the SDI durations.
enum class ScheduleReplyKind {
    Ignored, // shorter than 3, or an entry digit other than 1..5 (or 5 with another letter)
    Other,   // entry 1..4 but no field it understands: nothing changes
    Status,
    StartDate, // values: month, day, year - 2000
    StartTime, // values: hour, minute, second
    StopDate,
    StopTime,
    Interval, // values: hours, minutes, seconds
    Valve,    // values: 0, minutes, seconds (the hours are not read)
    Hold,
    Pump,
};
struct ScheduleReply {
    ScheduleReplyKind kind = ScheduleReplyKind::Ignored;
    int nNumber = 0;   // the entry digit, 1..5
    char chStatus = 0; // Status: 'A', 'D' or '0'
    std::array<int, 3> nValues{0, 0, 0};
    bool operator==(const ScheduleReply&) const = default;
};
ScheduleReply ParseScheduleReply(std::string_view reply);

// Stores a value reply (StartDate .. Pump) into the entry's byte fields as
// received; false for any other kind. Status replies are the caller's.
bool StoreScheduleReply(ScheduleEntry& entry, const ScheduleReply& reply);

} // namespace zrn
