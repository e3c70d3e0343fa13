#pragma once
// The link's own view of its port, for tests that link the link in: every
// read that brought bytes, every idle read and every frame written, in the
// order the worker met them (PortWatch.h). Shared by the Linux and the
// Windows tests.

#include "PortWatch.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <gtest/gtest.h>
#include <mutex>
#include <string>
#include <vector>

namespace zrntest {

struct PortRecord {
    zrn::PortEvent::Kind kind;
    const void* port;
    std::chrono::steady_clock::time_point began;
    std::chrono::steady_clock::time_point ended;
    std::string bytes;
};

// Watches every worker's port for the life of the object. Destroy it only
// once no worker runs any more.
class PortLog final : public zrn::PortWatch {
public:
    PortLog();
    ~PortLog();
    PortLog(const PortLog&) = delete;
    PortLog& operator=(const PortLog&) = delete;

    std::vector<PortRecord> Records();
    void Clear();
    // Waits (bounded) until `count` frames have been written; all records then.
    std::vector<PortRecord> WaitForWrites(std::size_t count, std::chrono::milliseconds bound);

    void OnPortEvent(const zrn::PortEvent& event) override;

private:
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<PortRecord> records;
};

std::size_t Count(const std::vector<PortRecord>& records, zrn::PortEvent::Kind kind);

// Success when each frame in `records` was written straight after an idle
// read of the port it went to (no bytes read, nothing else written in
// between) that lasted at least `idleRead`: one command per idle read, at
// least an idle read apart, never while bytes arrive. Otherwise every breach.
::testing::AssertionResult KeepsPacing(const std::vector<PortRecord>& records,
                                       std::chrono::milliseconds idleRead);

} // namespace zrntest
