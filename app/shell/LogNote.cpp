#include "shell/LogNote.h"

#ifdef _WIN32
#include "platform/win32/LogPlace.h"
#else
#include "LogPlace.h"
#endif

namespace zrn {

std::string TrafficLogNote(bool bLogOpen) {
    const auto directory = TrafficLogDirectory();
    if (bLogOpen && directory)
        return "Traffic log in " + *directory;
#ifdef _WIN32
    return "No traffic log: the program's folder cannot be written";
#else
    return "No traffic log: neither the program's folder nor the state folder "
           "(XDG_STATE_HOME) can be written";
#endif
}

} // namespace zrn
