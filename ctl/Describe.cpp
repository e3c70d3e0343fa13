#include "Describe.h"

#include "Model.h"

#include <cstdio>
#include <ctime>

namespace zrnctl {

zrn::LocalDateTime PcClock() {
    return zrn::BreakLocalTime(std::time(nullptr)).value_or(zrn::LocalDateTime{});
}

std::int64_t DeviceAhead(const zrn::LocalDateTime& device, const zrn::LocalDateTime& pc) {
    return zrn::WallClockSeconds(device) - zrn::WallClockSeconds(pc);
}

Json ClockJson(const zrn::LocalDateTime& device, const zrn::LocalDateTime& pc) {
    return Json{{"device", DateTimeText(device)},
                {"pc", DateTimeText(pc)},
                {"device_ahead_seconds", DeviceAhead(device, pc)}};
}

std::string ClockLine(const zrn::LocalDateTime& device, const zrn::LocalDateTime& pc) {
    const std::int64_t ahead = DeviceAhead(device, pc);
    std::string difference = "the same second";
    if (ahead != 0)
        difference =
            std::to_string(ahead < 0 ? -ahead : ahead) + " s " + (ahead < 0 ? "behind" : "ahead");
    return "clock " + DateTimeText(device) + ", PC " + DateTimeText(pc) + " (device " + difference +
           ")";
}

std::optional<std::string> FirmwareText(const std::string& reply) {
    const zrn::VersionReply version = zrn::ParseVersionReply(reply);
    if (!version.bValid)
        return std::nullopt;
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d", version.nMajor, version.nMinor);
    return text;
}

std::string SecondsText(int seconds) {
    return MinutesText({0, seconds / 60, seconds % 60});
}

Json SdiJson(const SdiSettings& sdi) {
    return Json{{"address", sdi.address},
                {"delay", sdi.delay},
                {"valve", SecondsText(sdi.valve)},
                {"hold", SecondsText(sdi.hold)},
                {"pump", SecondsText(sdi.pump)}};
}

std::string SdiLine(const SdiSettings& sdi) {
    return "SDI address " + sdi.address + ", delay " + std::to_string(sdi.delay) + ", valve " +
           SecondsText(sdi.valve) + ", hold " + SecondsText(sdi.hold) + ", pump " +
           SecondsText(sdi.pump);
}

} // namespace zrnctl
