// Setting a device: its SDI row, and its clock to the PC's.
#include "Actions.h"
#include "Describe.h"

#include <ctime>

namespace zrnctl {
namespace {

// The value command and its query; the device's answer must show the value.
template <typename Read>
void SetAndCheck(Device& device, const zrn::CommandList& sequence, const std::string& what,
                 const std::string& wanted, Read read) {
    device.Progress("setting " + what);
    const std::string held = read(device.Change(sequence));
    if (held != wanted)
        throw DeviceFailure(what + " reads back " + held + " instead of " + wanted);
}

std::string DurationHeld(const std::string& reply) {
    const zrn::ScheduleReply parsed = zrn::ParseScheduleReply(reply);
    return SecondsText(parsed.nValues[1] * 60 + parsed.nValues[2]);
}

// "S0D", the clock command, "S0A". The device pauses its schedules between
// the first and the last: "S0A" goes out even when the clock command fails.
void SetClock(Device& device, std::time_t t) {
    const zrn::CommandList sequence = zrn::ClockSetSequence(t);
    if (sequence.size() != 3)
        throw DeviceFailure("the PC clock has no local time");
    device.Command(sequence[0]);
    try {
        device.Command(sequence[1]);
    } catch (const DeviceFailure& failure) {
        device.Command(sequence[2]);
        throw;
    }
    try {
        device.Command(sequence[2]);
    } catch (const DeviceFailure& failure) {
        throw DeviceFailure(std::string(failure.what()) +
                            "; the device may keep its schedules paused");
    }
}

} // namespace

std::vector<std::string> ApplySdi(Device& device, const SdiChange& change) {
    if (change.address)
        SetAndCheck(device, zrn::AddressChangeSequence(*change.address), "SDI address",
                    std::string(1, *change.address), zrn::ParseAddressReply);
    if (change.delay)
        SetAndCheck(device, zrn::DelayChangeSequence(*change.delay), "SDI delay",
                    std::to_string(*change.delay), [](const std::string& reply) {
                        const auto value =
                            zrn::WholeNumber(zrn::ParseDelayReply(reply).value_or(""));
                        return value ? std::to_string(*value) : reply;
                    });
    struct Duration {
        const std::optional<int>& seconds;
        zrn::SdiDuration which;
        const char* name;
    };
    for (const Duration& d : {Duration{change.valve, zrn::SdiDuration::Valve, "SDI valve"},
                              Duration{change.hold, zrn::SdiDuration::Hold, "SDI hold"},
                              Duration{change.pump, zrn::SdiDuration::Pump, "SDI pump"}})
        if (d.seconds)
            SetAndCheck(device, zrn::SdiDurationChangeSequence(d.which, *d.seconds), d.name,
                        SecondsText(*d.seconds), DurationHeld);
    if (change.Empty())
        return {};
    return {SdiLine(device.ReadSdi())};
}

DeviceResult SetSdi(Device& device, const SdiChange& change) {
    std::vector<std::string> lines = ApplySdi(device, change);
    return {{}, Outcome::Done, "SDI settings set and read back", std::move(lines), {}};
}

DeviceResult SyncClock(Device& device) {
    for (int nAttempts = 0;; ++nAttempts) {
        const zrn::LocalDateTime clock = device.ReadClock();
        const zrn::LocalDateTime pc = PcClock();
        // Wall-clock readings compared as such: a daylight-saving fold cannot
        // keep them an hour apart.
        const zrn::SyncAction action = zrn::NextSyncAction(
            true, nAttempts, zrn::WallClockSeconds(pc), zrn::WallClockSeconds(clock));
        if (action == zrn::SyncAction::Agreed)
            return {{},
                    Outcome::Done,
                    ClockLine(clock, pc),
                    {},
                    Json{{"clock", ClockJson(clock, pc)}, {"settings_sent", nAttempts}}};
        if (action == zrn::SyncAction::GiveUp)
            throw DeviceFailure("the device clock still differs after " +
                                std::to_string(nAttempts) + " settings: " + ClockLine(clock, pc));
        device.Progress("setting the clock");
        SetClock(device, std::time(nullptr));
    }
}

} // namespace zrnctl
