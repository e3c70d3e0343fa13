#pragma once
// One device behind the link: commands that must be answered, and the reads
// built from the catalogue's sequences. Any command that is refused or goes
// unanswered ends the session with a DeviceFailure naming it; a port that
// went away ends it with the reason.

#include "Link.h"
#include "Model.h"

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zrnctl {

struct DeviceFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

using ProgressSink = std::function<void(std::string_view)>;

// The failure of a port that went away: "connection lost: " and the library's reason.
std::string LostText(const std::string& reason);

// What the SDI row holds.
struct SdiSettings {
    std::string address;
    int delay = 0;
    int valve = 0; // seconds
    int hold = 0;
    int pump = 0;
};

class Device {
public:
    Device(Link& link, ProgressSink progress) : link_(link), progress_(std::move(progress)) {}

    void Command(const std::string& command);
    std::string Query(const std::string& query);
    // A catalogue change sequence: set commands, then the query whose reply
    // shows what the device now holds. That reply.
    std::string Change(const zrn::CommandList& sequence);

    zrn::ScheduleEntry ReadSchedule(int n);
    zrn::LocalDateTime ReadClock();
    SdiSettings ReadSdi();
    int ReadDelay();
    int ReadSdiDuration(zrn::SdiDuration which);

    void Progress(std::string_view step) const;

private:
    Link& link_;
    ProgressSink progress_;
};

} // namespace zrnctl
