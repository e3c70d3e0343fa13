// fnZrnSend out of memory: 0, nothing queued, no trace.

#include "PtyHarness.h"
#include "ZRNComDll.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <new>

namespace {
// Only the test's own thread runs out of memory.
thread_local bool failAllocations = false;
} // namespace

void* operator new(std::size_t size) {
    if (failAllocations)
        throw std::bad_alloc();
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

TEST(LinkOutOfMemory, SendReturnsZeroAndQueuesNothing) {
    zrntest::DebugCapture debug;
    const std::string text = "S1|12/06/26|14:05:09|12/31/26|23:59:59|01:00:00|";
    ASSERT_EQ(fnZrnSend(text.c_str()), 1);
    failAllocations = true;
    const int result = fnZrnSend(text.c_str());
    failAllocations = false;
    EXPECT_EQ(result, 0);
    fnZrnClose();
    EXPECT_EQ(debug.Text(), "ZrnSend pushed " + text + ", depth = 1\n" + "ZrnClose pop'd " + text +
                                ", depth = 0\n");
}

} // namespace
