#pragma once
// A file descriptor that closes itself; shared by the link and the simulator.

#include "UniqueResource.h"

#include <unistd.h>

namespace zrn {

struct FdTraits {
    using Value = int;
    static constexpr int None() { return -1; }
    static bool Valid(int fd) { return fd >= 0; }
    static void Close(int fd) { ::close(fd); }
};

using UniqueFd = UniqueResource<FdTraits>;

} // namespace zrn
