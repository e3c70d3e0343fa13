#include "Device.h"

namespace zrnctl {
namespace {

void Expect(const Answer& answer, const std::string& command, const Link& link) {
    if (answer.kind == AnswerKind::Refused)
        throw DeviceRefusal(command + " refused (NAK)");
    if (answer.kind == AnswerKind::Lost) {
        if (link.LostReason())
            throw DeviceFailure(LostText(*link.LostReason()));
        throw DeviceFailure("no answer to " + command);
    }
}

} // namespace

std::string LostText(const std::string& reason) {
    return "connection lost: " + reason;
}

void Device::Command(const std::string& command) {
    // The backup comes before anything on the device changes.
    if (setCommands_ == 0 && watch_)
        watch_->BeforeFirstChange(*this);
    knownTable_.reset();
    knownSdi_.reset();
    ++setCommands_;
    Expect(link_.Exchange(command, false), command, link_);
}

std::string Device::Query(const std::string& query) {
    const Answer answer = link_.Exchange(query, true);
    Expect(answer, query, link_);
    return answer.reply;
}

std::string Device::Change(const zrn::CommandList& sequence) {
    for (std::size_t i = 0; i + 1 < sequence.size(); ++i)
        Command(sequence[i]);
    return Query(sequence.back());
}

zrn::ScheduleEntry Device::ReadSchedule(int n) {
    zrn::ScheduleEntry entry{};
    entry.nNumber = static_cast<std::uint8_t>(n);
    for (const std::string& query : zrn::ScheduleReadSequence(n)) {
        const zrn::ScheduleReply reply = zrn::ParseScheduleReply(Query(query));
        if (reply.kind == zrn::ScheduleReplyKind::Status)
            entry.chStatus = static_cast<std::uint8_t>(reply.chStatus);
        else
            zrn::StoreScheduleReply(entry, reply);
    }
    return entry;
}

zrn::LocalDateTime Device::ReadClock() {
    const std::string reply = Query(zrn::ClockQuery());
    const std::optional<zrn::LocalDateTime> clock = zrn::ParseClockReply(reply);
    if (!clock)
        throw DeviceFailure("unreadable clock reply " + reply);
    return *clock;
}

int Device::ReadSdiDuration(zrn::SdiDuration which) {
    const zrn::ScheduleReply reply = zrn::ParseScheduleReply(Query(zrn::SdiDurationQuery(which)));
    return reply.nValues[1] * 60 + reply.nValues[2];
}

int Device::ReadDelay() {
    const std::string reply = Query(zrn::DelayQuery());
    const std::optional<int> delay = zrn::WholeNumber(zrn::ParseDelayReply(reply).value_or(""));
    if (!delay)
        throw DeviceFailure("unreadable delay reply " + reply);
    return *delay;
}

SdiSettings Device::ReadSdi() {
    SdiSettings sdi;
    sdi.address = zrn::ParseAddressReply(Query(zrn::AddressQuery()));
    sdi.delay = ReadDelay();
    sdi.valve = ReadSdiDuration(zrn::SdiDuration::Valve);
    sdi.hold = ReadSdiDuration(zrn::SdiDuration::Hold);
    sdi.pump = ReadSdiDuration(zrn::SdiDuration::Pump);
    return sdi;
}

void Device::Tell(const std::string& what, const Json& before, const Json& after,
                  zrn::ChangeResult result) {
    if (watch_)
        watch_->Changed(what, before, after, result);
}

void Device::Progress(std::string_view step) const {
    if (progress_)
        progress_(step);
}

} // namespace zrnctl
