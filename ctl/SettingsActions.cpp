// Setting a device: its SDI row, and its clock to the PC's.
#include "Actions.h"
#include "Describe.h"

#include <ctime>

namespace zrnctl {
namespace {

// The value command and its query; the device's answer must show the value.
// Journaled as "sdi" with the setting's plan-file key.
template <typename Read>
void SetAndCheck(Device& device, const zrn::CommandList& sequence, const std::string& what,
                 const std::string& wanted, Read read, const char* key, const Json& before,
                 const Json& after) {
    device.Progress("setting " + what);
    device.Journaled("sdi", Json{{key, before}}, Json{{key, after}}, [&] {
        const std::string held = read(device.Change(sequence));
        if (held != wanted)
            throw DeviceFailure(what + " reads back " + held + " instead of " + wanted);
    });
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

std::vector<std::string> ApplySdi(Device& device, const SdiChange& change,
                                  std::optional<SdiSettings> held) {
    if (change.Empty())
        return {};
    if (!held)
        held = device.ReadSdi();
    if (change.address) {
        const std::string address(1, *change.address);
        SetAndCheck(device, zrn::AddressChangeSequence(*change.address), "SDI address", address,
                    zrn::ParseAddressReply, "address", held->address, address);
    }
    if (change.delay)
        SetAndCheck(
            device, zrn::DelayChangeSequence(*change.delay), "SDI delay",
            std::to_string(*change.delay),
            [](const std::string& reply) {
                const auto value = zrn::WholeNumber(zrn::ParseDelayReply(reply).value_or(""));
                return value ? std::to_string(*value) : reply;
            },
            "delay", held->delay, *change.delay);
    struct Duration {
        const std::optional<int>& seconds;
        zrn::SdiDuration which;
        const char* name;
        const char* key;
        int held;
    };
    for (const Duration& d :
         {Duration{change.valve, zrn::SdiDuration::Valve, "SDI valve", "valve", held->valve},
          Duration{change.hold, zrn::SdiDuration::Hold, "SDI hold", "hold", held->hold},
          Duration{change.pump, zrn::SdiDuration::Pump, "SDI pump", "pump", held->pump}})
        if (d.seconds)
            SetAndCheck(device, zrn::SdiDurationChangeSequence(d.which, *d.seconds), d.name,
                        SecondsText(*d.seconds), DurationHeld, d.key, SecondsText(d.held),
                        SecondsText(*d.seconds));
    return {SdiLine(device.ReadSdi())};
}

DeviceResult SetSdi(Device& device, const SdiChange& change) {
    std::vector<std::string> lines = ApplySdi(device, change);
    return {{},
            Outcome::Done,
            "SDI settings set and read back",
            std::move(lines),
            Json{{"changed", device.SetCommandsSent() > 0}}};
}

DeviceResult CheckClock(Device& device, int maxDrift) {
    const zrn::LocalDateTime clock = device.ReadClock();
    const zrn::LocalDateTime pc = PcClock();
    const std::int64_t drift = DeviceAhead(clock, pc);
    const bool within = drift >= -maxDrift && drift <= maxDrift;
    return {{},
            within ? Outcome::Done : Outcome::Differs,
            ClockLine(clock, pc) + "; drift " + std::to_string(drift) + " s, " +
                (within ? "within " : "beyond ") + std::to_string(maxDrift) + " s",
            {},
            Json{{"clock", ClockJson(clock, pc)}, {"drift", drift}, {"max_drift", maxDrift}}};
}

DeviceResult SyncClock(Device& device, std::optional<int> ifDriftOver) {
    constexpr std::int64_t kTookTheTime = 2; // seconds
    // A setting is verified by the next reading, which may fail: the journal
    // hears of every setting either way.
    struct Pending {
        Device& device;
        bool sent = false;
        Json before = nullptr;
        Json after = nullptr;
        void Tell(zrn::ChangeResult result) {
            if (sent)
                device.Tell("clock", before, after, result);
            sent = false;
        }
        ~Pending() { Tell(zrn::ChangeResult::Unknown); }
    } pending{device};
    std::optional<std::int64_t> drift;
    for (int nAttempts = 0;; ++nAttempts) {
        const zrn::LocalDateTime clock = device.ReadClock();
        const zrn::LocalDateTime pc = PcClock();
        if (!drift)
            drift = DeviceAhead(clock, pc);
        if (ifDriftOver && *drift >= -*ifDriftOver && *drift <= *ifDriftOver)
            return {{},
                    Outcome::Done,
                    ClockLine(clock, pc) + "; within " + std::to_string(*ifDriftOver) +
                        " s, not set",
                    {},
                    Json{{"clock", ClockJson(clock, pc)},
                         {"drift", *drift},
                         {"settings_sent", 0},
                         {"changed", false}}};
        // Wall-clock readings compared as such: a daylight-saving fold cannot
        // keep them an hour apart.
        const zrn::SyncAction action = zrn::NextSyncAction(
            true, nAttempts, zrn::WallClockSeconds(pc), zrn::WallClockSeconds(clock));
        // The device took the time when it reads within a tick of the PC; the
        // loop still wants the very second.
        const std::int64_t off = DeviceAhead(clock, pc);
        pending.Tell(off >= -kTookTheTime && off <= kTookTheTime ? zrn::ChangeResult::Verified
                                                                 : zrn::ChangeResult::Unknown);
        if (action == zrn::SyncAction::Agreed)
            return {{},
                    Outcome::Done,
                    ClockLine(clock, pc),
                    {},
                    Json{{"clock", ClockJson(clock, pc)},
                         {"drift", *drift},
                         {"settings_sent", nAttempts},
                         {"changed", nAttempts > 0}}};
        if (action == zrn::SyncAction::GiveUp)
            throw DeviceFailure("the device clock still differs after " +
                                std::to_string(nAttempts) + " settings: " + ClockLine(clock, pc));
        device.Progress("setting the clock");
        const std::time_t now = std::time(nullptr);
        const Json before = DateTimeText(clock);
        const Json after = DateTimeText(zrn::BreakLocalTime(now).value_or(zrn::LocalDateTime{}));
        try {
            SetClock(device, now);
        } catch (const DeviceRefusal&) {
            device.Tell("clock", before, after, zrn::ChangeResult::Refused);
            throw;
        } catch (const DeviceFailure&) {
            device.Tell("clock", before, after, zrn::ChangeResult::Unknown);
            throw;
        }
        pending.sent = true;
        pending.before = before;
        pending.after = after;
    }
}

} // namespace zrnctl
