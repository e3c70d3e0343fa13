#pragma once
// What happened on one port, and the report of all of them: one line per
// device (with detail lines below it), a summary, and the exit status.

#include "Model.h"

#include <string>
#include <vector>

namespace zrnctl {

enum class Outcome {
    Done,
    Failed,   // refused command, read-back differs, port missing, busy or not permitted
    Refused,  // the plan does not fit this device; nothing was sent
    NoDevice, // a port from the scan where no device answers
    Differs,  // read as asked, and not as wanted: a plan diff, a clock beyond its drift
};

struct DeviceResult {
    std::string port;
    Outcome outcome = Outcome::Done;
    std::string message;            // one line
    std::vector<std::string> lines; // details for people
    Json details = Json::object();  // details for scripts; a "result" here names Done more
                                    // closely ("same")
};

inline constexpr int EXIT_DONE = 0;
inline constexpr int EXIT_DEVICE_FAILED = 1;
inline constexpr int EXIT_BAD_USAGE = 2;
inline constexpr int EXIT_DIFFERS = 3;

// 0 when every device did it; 2 when the plan was refused on every device
// (nothing was sent); 3 when a device differs and none failed or was refused;
// otherwise 1, also when no device was found.
int ExitStatus(const std::vector<DeviceResult>& results);

// The report on standard output: text for people, or one JSON document (with
// "warnings" about the run as a whole, when there are any; people find those
// on standard error).
void PrintReport(const std::vector<DeviceResult>& results, bool json,
                 const std::vector<std::string>& warnings = {});

} // namespace zrnctl
