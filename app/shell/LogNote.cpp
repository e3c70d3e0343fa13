#include "shell/LogNote.h"

#include "LogPlace.h"

namespace zrn {

std::string TrafficLogNote(bool bLogOpen) {
    const auto directory = TrafficLogDirectory();
    if (bLogOpen && directory)
        return "Traffic log in " + *directory;
    return "No traffic log: neither the program's folder nor the state folder "
           "(XDG_STATE_HOME) can be written";
}

} // namespace zrn
