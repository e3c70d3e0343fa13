#include "Platform.h"

#include <sys/timex.h>
#include <unistd.h>

namespace zrnctl {

bool StderrIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

std::optional<std::string> PcClockUnsynchronised() {
    timex state{}; // modes 0: only asks
    const int clock = ::ntp_adjtime(&state);
    if (clock == -1)
        return std::nullopt;
    if (clock == TIME_ERROR || (state.status & STA_UNSYNC) != 0)
        return "the PC clock is not synchronised (the kernel's STA_UNSYNC flag is set): a sync "
               "would spread its time";
    return std::nullopt;
}

} // namespace zrnctl
