#include "Result.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace zrnctl {
namespace {

// Each outcome's name in the JSON report and the mark before its message.
struct OutcomeText {
    Outcome outcome;
    const char* name;
    const char* mark;
};
constexpr std::array<OutcomeText, 5> kOutcomeTexts{{
    {Outcome::Done, "done", ""},
    {Outcome::Failed, "failed", "FAILED: "},
    {Outcome::Refused, "refused", "REFUSED: "},
    {Outcome::NoDevice, "no device", "no device: "},
    {Outcome::Differs, "differs", "DIFFERS: "},
}};

const OutcomeText* TextOf(Outcome outcome) {
    const auto text =
        std::find_if(kOutcomeTexts.begin(), kOutcomeTexts.end(),
                     [outcome](const OutcomeText& t) { return t.outcome == outcome; });
    return text == kOutcomeTexts.end() ? nullptr : &*text;
}

const char* OutcomeName(Outcome outcome) {
    const OutcomeText* text = TextOf(outcome);
    return text ? text->name : "failed";
}

std::size_t Count(const std::vector<DeviceResult>& results, Outcome outcome) {
    return static_cast<std::size_t>(std::count_if(
        results.begin(), results.end(), [outcome](const auto& r) { return r.outcome == outcome; }));
}

std::string Plural(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string Summary(const std::vector<DeviceResult>& results) {
    const std::size_t without = Count(results, Outcome::NoDevice);
    const std::size_t devices = results.size() - without;
    std::string text = Plural(devices, "device", "devices");
    if (devices > 0) {
        text += ": " + std::to_string(Count(results, Outcome::Done)) + " done";
        for (Outcome outcome : {Outcome::Differs, Outcome::Failed, Outcome::Refused})
            if (const std::size_t n = Count(results, outcome))
                text += ", " + std::to_string(n) + " " + OutcomeName(outcome);
    }
    if (without > 0)
        text += "; " + Plural(without, "port", "ports") + " without a device";
    return text;
}

std::string ResultLine(const DeviceResult& r) {
    const OutcomeText* text = TextOf(r.outcome);
    return text ? r.port + ": " + text->mark + r.message : r.port;
}

} // namespace

int ExitStatus(const std::vector<DeviceResult>& results) {
    const std::size_t devices = results.size() - Count(results, Outcome::NoDevice);
    if (devices == 0)
        return EXIT_DEVICE_FAILED;
    if (Count(results, Outcome::Done) == devices)
        return EXIT_DONE;
    if (Count(results, Outcome::Refused) == devices)
        return EXIT_BAD_USAGE;
    if (Count(results, Outcome::Done) + Count(results, Outcome::Differs) == devices)
        return EXIT_DIFFERS;
    return EXIT_DEVICE_FAILED;
}

void PrintReport(const std::vector<DeviceResult>& results, bool json,
                 const std::vector<std::string>& warnings) {
    if (json) {
        Json report{{"results", Json::array()}};
        for (const DeviceResult& r : results) {
            Json entry{
                {"port", r.port}, {"result", OutcomeName(r.outcome)}, {"message", r.message}};
            for (const auto& [key, value] : r.details.items())
                entry[key] = value;
            report["results"].push_back(entry);
        }
        const std::size_t without = Count(results, Outcome::NoDevice);
        report["summary"] = Json{{"devices", results.size() - without},
                                 {"done", Count(results, Outcome::Done)},
                                 {"differs", Count(results, Outcome::Differs)},
                                 {"failed", Count(results, Outcome::Failed)},
                                 {"refused", Count(results, Outcome::Refused)},
                                 {"ports_without_device", without}};
        if (!warnings.empty())
            report["warnings"] = warnings;
        std::printf("%s\n", JsonText(report, 2).c_str());
        return;
    }
    for (const DeviceResult& r : results) {
        std::printf("%s\n", ResultLine(r).c_str());
        for (const std::string& line : r.lines)
            std::printf("  %s\n", line.c_str());
    }
    std::printf("%s\n", Summary(results).c_str());
    std::fflush(stdout);
}

} // namespace zrnctl
