#pragma once
// One device behind the link: commands that must be answered, and the reads
// built from the catalogue's sequences. Any command that is refused or goes
// unanswered ends the session with a DeviceFailure naming it; a port that
// went away ends it with the reason.

#include "Link.h"
#include "Model.h"

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zrnctl {

struct DeviceFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};
// The device answered NAK: it says it did not take the command.
struct DeviceRefusal : DeviceFailure {
    using DeviceFailure::DeviceFailure;
};

class Device;

// Keeps what a run changes on one device: called before the first set
// command, and once for each change.
class ChangeWatch {
public:
    virtual ~ChangeWatch() = default;
    // May read the device (queries only); a DeviceFailure stops the change.
    virtual void BeforeFirstChange(Device& device) = 0;
    virtual void Changed(const std::string& what, const Json& before, const Json& after,
                         zrn::ChangeResult result) = 0;
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

    // The watch outlives the device's use.
    void Watch(ChangeWatch& watch) { watch_ = &watch; }

    // A command that sets something: answered by ACK, or a DeviceFailure.
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
    // What the caller has just read of the whole device, for the backup before
    // the first change, which need not read it again. Forgotten at that change.
    void Remember(const zrn::ScheduleTable& table, const std::optional<SdiSettings>& sdi) {
        knownTable_ = table;
        knownSdi_ = sdi;
    }
    const std::optional<zrn::ScheduleTable>& KnownTable() const { return knownTable_; }
    const std::optional<SdiSettings>& KnownSdi() const { return knownSdi_; }

    // How many commands that set something went out (answered or not).
    int SetCommandsSent() const { return setCommands_; }

    // Runs a change and tells the watch how it ended: verified when `change`
    // returns (it reads back what it set), refused on a NAK, unknown on any
    // other failure, which goes on to the caller.
    template <typename Run>
    void Journaled(const std::string& what, const Json& before, const Json& after, Run change) {
        try {
            change();
        } catch (const DeviceRefusal&) {
            Tell(what, before, after, zrn::ChangeResult::Refused);
            throw;
        } catch (const DeviceFailure&) {
            Tell(what, before, after, zrn::ChangeResult::Unknown);
            throw;
        }
        Tell(what, before, after, zrn::ChangeResult::Verified);
    }
    void Tell(const std::string& what, const Json& before, const Json& after,
              zrn::ChangeResult result);

private:
    Link& link_;
    ProgressSink progress_;
    int setCommands_ = 0;
    ChangeWatch* watch_ = nullptr; // not owned
    std::optional<zrn::ScheduleTable> knownTable_;
    std::optional<SdiSettings> knownSdi_;
};

} // namespace zrnctl
