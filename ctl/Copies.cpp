#include "Copies.h"
#include "Platform.h"

namespace zrnctl {

std::vector<CopyRun> RunCopies(const std::vector<std::vector<std::string>>& argumentLists) {
    const std::string self = SelfPath();
    std::vector<Copy> copies;
    for (const auto& arguments : argumentLists)
        copies.push_back(Start(self, arguments));
    // All outputs are read before any copy is waited for: a copy blocked on a
    // full pipe would never end.
    ReadOutputs(copies);
    std::vector<CopyRun> runs;
    for (Copy& copy : copies)
        runs.push_back({Wait(copy), std::move(copy.output)});
    return runs;
}

} // namespace zrnctl
