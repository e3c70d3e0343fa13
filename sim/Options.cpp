#include "Options.h"

#include <charconv>
#include <functional>
#include <map>

namespace zrnsim {
namespace {

template <typename Number> bool ToNumber(const std::string& text, Number& out) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size();
}

bool Rate(const std::string& text, double& out) {
    return ToNumber(text, out) && out >= 0 && out <= 1;
}

using Setter = std::function<bool(Options&, const std::string&)>;

// Switches that take a value.
const std::map<std::string, Setter>& ValueSwitches() {
    static const std::map<std::string, Setter> switches{
        {"--link", [](Options& o, const std::string& v) { return !(o.link = v).empty(); }},
        {"--state", [](Options& o, const std::string& v) { return !(o.stateFile = v).empty(); }},
        {"--state-out", [](Options& o, const std::string& v) { return !(o.stateOut = v).empty(); }},
        {"--baud", [](Options& o, const std::string& v) { return ToNumber(v, o.baud); }},
        {"--turnaround",
         [](Options& o, const std::string& v) {
             unsigned ms = 0;
             if (!ToNumber(v, ms) || ms > 10000)
                 return false;
             o.turnaroundMs = ms;
             return true;
         }},
        {"--seed", [](Options& o, const std::string& v) { return ToNumber(v, o.faults.seed); }},
        {"--nak-rate", [](Options& o, const std::string& v) { return Rate(v, o.faults.nakRate); }},
        {"--bad-crc-rate",
         [](Options& o, const std::string& v) { return Rate(v, o.faults.badCrcRate); }},
        {"--noise-rate",
         [](Options& o, const std::string& v) { return Rate(v, o.faults.noiseRate); }},
        {"--drop-rate",
         [](Options& o, const std::string& v) { return Rate(v, o.faults.dropRate); }},
        {"--lower-case-rate",
         [](Options& o, const std::string& v) { return Rate(v, o.faults.lowerCaseRate); }},
        {"--keep-old-rate",
         [](Options& o, const std::string& v) { return Rate(v, o.faults.keepOldRate); }},
        {"--silent-after",
         [](Options& o, const std::string& v) {
             std::uint64_t count = 0;
             if (!ToNumber(v, count))
                 return false;
             o.faults.silentAfter = count;
             return true;
         }},
        {"--unplug-after",
         [](Options& o, const std::string& v) {
             double seconds = 0;
             if (!ToNumber(v, seconds) || seconds < 0)
                 return false;
             o.unplugAfter = seconds;
             return true;
         }},
        {"--unplug-pause",
         [](Options& o, const std::string& v) {
             return ToNumber(v, o.unplugPauseMs) && o.unplugPauseMs <= 600000;
         }},
    };
    return switches;
}

} // namespace

std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--trace") {
            options.trace = true;
        } else if (const auto it = ValueSwitches().find(arg); it != ValueSwitches().end()) {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return std::nullopt;
            }
            if (!it->second(options, args[++i])) {
                error = "unusable value for " + arg + ": " + args[i];
                return std::nullopt;
            }
        } else {
            error = "unknown argument: " + arg;
            return std::nullopt;
        }
    }
    return options;
}

const char* UsageText() {
    return R"(Usage: zrnsim [switches]

A simulated ZRN device on a pseudo-terminal. Prints the path of the terminal
side as the first line of standard output (and the new path on a line of its
own after every unplug), then answers frames until SIGINT or SIGTERM.

  --help                  this text
  --link PATH             keep a symbolic link at PATH to the terminal side;
                          removed on exit and while unplugged
  --state FILE            start from the state in FILE (key = value lines:
                          clock, address, delay, firmware, external_volts,
                          internal_volts, valve, hold, pump, sdi_version,
                          manufacturer, model, manufacturer_version, optional,
                          schedule1..schedule4, raw_schedule1..raw_schedule4)
  --state-out FILE        after every frame, write the whole state to FILE in
                          the same form (replaced at once, never half written),
                          so a test can compare what the device holds
  --baud N                emulate the line speed: each byte takes 10 bit times
                          at N baud, both ways (0, the default: no emulation)
  --turnaround MS         the device's pause before answering a frame
                          (default 5 with --baud, else 0)
  --trace                 print the conversation to standard error, one
                          element per line ("> " from the PC, "< " to it)

Faults (a rate is a fraction from 0 to 1, drawn per frame or element):
  --seed N                seed of the fault generators (default 1)
  --nak-rate R            NAK a frame the device would accept; nothing changes
  --bad-crc-rate R        send a reply with a wrong checksum
  --noise-rate R          put 1-4 noise bytes before an ACK, NAK or reply
  --drop-rate R           carry out a command but lose its whole answer
  --lower-case-rate R     send a reply's check digits in lower case
  --keep-old-rate R       acknowledge a command that changes a stored value
                          (schedule, SDI setting, identification) but keep
                          the old value, as a flash write that did not take;
                          the trace shows "# kept the old value"
  --silent-after N        answer the first N frames, then nothing at all
  --unplug-after SECONDS  unplug once after this time (SIGUSR1 unplugs at any
                          time): the terminal goes away, and comes back at a new
                          path (and at the --link path) after the pause
  --unplug-pause MS       how long an unplug lasts (default 1000)
)";
}

} // namespace zrnsim
