#include "PortLog.h"

#include <algorithm>
#include <map>

namespace zrntest {

using Kind = zrn::PortEvent::Kind;

PortLog::PortLog() {
    zrn::WatchPorts(this);
}

PortLog::~PortLog() {
    zrn::WatchPorts(nullptr);
}

void PortLog::OnPortEvent(const zrn::PortEvent& event) {
    const std::lock_guard lock(mutex);
    records.push_back({event.kind, event.port, event.began, event.ended, std::string(event.bytes)});
    changed.notify_all();
}

std::vector<PortRecord> PortLog::Records() {
    const std::lock_guard lock(mutex);
    return records;
}

void PortLog::Clear() {
    const std::lock_guard lock(mutex);
    records.clear();
}

std::vector<PortRecord> PortLog::WaitForWrites(std::size_t count, std::chrono::milliseconds bound) {
    std::unique_lock lock(mutex);
    changed.wait_for(lock, bound, [&] { return Count(records, Kind::Wrote) >= count; });
    return records;
}

std::size_t Count(const std::vector<PortRecord>& records, Kind kind) {
    return static_cast<std::size_t>(std::count_if(
        records.begin(), records.end(), [kind](const PortRecord& r) { return r.kind == kind; }));
}

namespace {

std::string Name(Kind kind) {
    switch (kind) {
    case Kind::IdleRead:
        return "an idle read";
    case Kind::Received:
        return "a read of bytes";
    case Kind::Wrote:
        return "a frame";
    }
    return "?";
}

} // namespace

::testing::AssertionResult KeepsPacing(const std::vector<PortRecord>& records,
                                       std::chrono::milliseconds idleRead) {
    std::vector<std::string> breaches;
    // The record before each, port by port: a worker of an earlier open may
    // still be finishing its last read.
    std::map<const void*, const PortRecord*> last;
    int frame = 0;
    for (const PortRecord& record : records) {
        const PortRecord* before = last[record.port];
        last[record.port] = &record;
        if (record.kind != Kind::Wrote)
            continue;
        ++frame;
        const std::string which = "frame " + std::to_string(frame);
        if (before == nullptr) {
            breaches.push_back(which + " was written before any read");
        } else if (before->kind != Kind::IdleRead) {
            breaches.push_back(which + " was written straight after " + Name(before->kind));
        } else if (before->ended - before->began < idleRead) {
            const auto us = std::chrono::duration_cast<std::chrono::microseconds>(before->ended -
                                                                                  before->began);
            breaches.push_back(which + " followed an idle read of only " +
                               std::to_string(us.count()) + " us");
        }
    }
    if (breaches.empty())
        return ::testing::AssertionSuccess();
    auto failure = ::testing::AssertionFailure() << "the pacing rule is broken:";
    for (const auto& breach : breaches)
        failure << "\n  " << breach;
    return failure;
}

} // namespace zrntest
