// zrnctl plan import, the real program, against zrnsim processes: RapidCheck makes the plan
// file (good or broken), each device's starting state and its faults (NAKs, lost and corrupted
// answers, noise, writes the device acknowledges but does not keep, the port going away). After
// every import the devices' saved states are held against what zrnctl said:
//   - a schedule reported stored (or unchanged) is held exactly as the plan says;
//   - a refused file, or a device that refused the plan, was sent no set command;
//   - the exit status, the --json results and what the devices hold agree: "done" means the
//     device holds the whole plan, and nothing the plan does not list was touched.
// CTest runs a short, seeded version; RC_PARAMS="seed=N max_success=2000" runs it long.
#include "FrameCrc.h"
#include "Scratch.h"
#include "SimProcess.h"
#include "StateFile.h"
#include "Trace.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>
#include <rapidcheck.h>

#include <array>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// A fixed seed and some 30 imports unless RC_PARAMS says otherwise. Not shrunk here: each
// try is an import with its waits; RC_PARAMS="reproduce=..." without noshrink makes it short.
const bool kParams =
    ::setenv("RC_PARAMS", "seed=20261210 max_success=30 max_size=100 noshrink=1", 0) == 0;

// Wall-clock seconds: the device's readings, never through a time zone.
using Stamp = std::int64_t;
constexpr Stamp kDay = 86400;
constexpr Stamp kBase = 1811840400; // 2027-06-01 09:00:00

std::tm Broken(Stamp t) {
    const std::time_t time = static_cast<std::time_t>(t);
    std::tm tm{};
    ::gmtime_r(&time, &tm);
    return tm;
}

struct Schedule {
    int number = 1;
    char status = '0'; // 'A', 'D' or '0', as the device shows it
    Stamp start = 0, stop = 0;
    int interval = 0, valve = 0, hold = 0, pump = 0; // seconds
};

struct Sdi {
    std::optional<char> address;
    std::optional<int> delay, valve, hold, pump;
};

struct Faults {
    double nak = 0, drop = 0, badCrc = 0, noise = 0, lowerCase = 0, keepOld = 0;
    std::optional<int> silentAfter, killAfter; // frames
    std::optional<double> unplugAfter;         // seconds
    // Noise and lower-case check digits lose nothing: they must never fail an import.
    bool MayFail() const {
        return nak + drop + badCrc + keepOld > 0 || silentAfter || killAfter || unplugAfter;
    }
};

struct DeviceCase {
    Stamp clock = kBase;
    std::array<Schedule, 4> schedules;
    std::optional<int> rawSchedule; // holds a month 13 there
    char address = '0';
    int delay = 0, valve = 0, hold = 0, pump = 0;
    Faults faults;
    std::uint64_t seed = 1;
};

// How a plan file is broken, each in a way the format refuses.
enum class Break {
    None,
    Version,
    UnknownKey,
    Truncated,
    Interval,
    Number,
    Twice,
    Year,
    Order,
    Day
};

struct Plan {
    std::vector<Schedule> schedules;
    Sdi sdi;
    Break broken = Break::None;
};

std::string Format(const char* form, int a, int b, int c = 0) {
    char text[32];
    std::snprintf(text, sizeof text, form, a, b, c);
    return text;
}
std::string DateTime(Stamp t) {
    const std::tm tm = Broken(t);
    return Format("%04d-%02d-%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday) + "T" +
           Format("%02d:%02d:%02d", tm.tm_hour, tm.tm_min, tm.tm_sec);
}
std::string Hours(int s) {
    return Format("%02d:%02d:%02d", s / 3600, s / 60 % 60, s % 60);
}
std::string Minutes(int s) {
    return Format("%02d:%02d", s / 60, s % 60);
}
const char* StatusName(char status) {
    return status == 'A' ? "active" : status == 'D' ? "inactive" : "empty";
}

std::string ScheduleText(const Schedule& s, Break broken) {
    std::string text = "{\"schedule\": " + std::to_string(broken == Break::Number ? 5 : s.number) +
                       ", \"status\": \"" + StatusName(s.status) + "\"";
    if (s.status != '0') {
        std::string start = DateTime(s.start),
                    stop = DateTime(broken == Break::Order ? s.start : s.stop);
        if (broken == Break::Year)
            start.replace(0, 4, "2038");
        if (broken == Break::Day)
            start.replace(5, 5, "02-30");
        text += ", \"start\": \"" + start + "\", \"stop\": \"" + stop + "\", \"interval\": \"" +
                (broken == Break::Interval ? "24:00:00" : Hours(s.interval)) + "\", \"valve\": \"" +
                Minutes(s.valve) + "\", \"hold\": \"" + Minutes(s.hold) + "\", \"pump\": \"" +
                Minutes(s.pump) + "\"";
    }
    return text + "}";
}

bool NeedsValues(Break broken) {
    return broken == Break::Interval || broken == Break::Year || broken == Break::Order ||
           broken == Break::Day;
}

std::string PlanText(const Plan& plan) {
    std::string text =
        "{\n  \"zrn_plan\": " + std::string(plan.broken == Break::Version ? "2" : "1") + ",\n";
    if (plan.broken == Break::UnknownKey)
        text += "  \"schedule\": [],\n";
    text += "  \"schedules\": [";
    // A value break goes into the first schedule with values, the others into the first.
    const auto target = NeedsValues(plan.broken)
                            ? std::find_if(plan.schedules.begin(), plan.schedules.end(),
                                           [](const Schedule& s) { return s.status != '0'; })
                            : plan.schedules.begin();
    for (auto it = plan.schedules.begin(); it != plan.schedules.end(); ++it)
        text += std::string(it == plan.schedules.begin() ? "\n" : ",\n") + "    " +
                ScheduleText(*it, it == target ? plan.broken : Break::None);
    if (plan.broken == Break::Twice)
        text += ",\n    " + ScheduleText(plan.schedules.front(), Break::None);
    text += "\n  ]";
    const Sdi& sdi = plan.sdi;
    std::vector<std::string> keys;
    if (sdi.address)
        keys.push_back("\"address\": \"" + std::string(1, *sdi.address) + "\"");
    if (sdi.delay)
        keys.push_back("\"delay\": " + std::to_string(*sdi.delay));
    for (const auto& [name, value] :
         {std::pair{"valve", sdi.valve}, std::pair{"hold", sdi.hold}, std::pair{"pump", sdi.pump}})
        if (value)
            keys.push_back("\"" + std::string(name) + "\": \"" + Minutes(*value) + "\"");
    if (!keys.empty()) {
        text += ",\n  \"sdi\": {";
        for (std::size_t i = 0; i < keys.size(); ++i)
            text += (i ? ", " : "") + keys[i];
        text += "}";
    }
    text += "\n}\n";
    if (plan.broken == Break::Truncated)
        text.erase(text.rfind('}'));
    return text;
}

// Two listed active schedules whose closed spans touch: the file is refused on its own.
bool OverlapsItself(const Plan& plan) {
    for (const Schedule& a : plan.schedules)
        for (const Schedule& b : plan.schedules)
            if (&a != &b && a.status == 'A' && b.status == 'A' && a.start <= b.stop &&
                b.start <= a.stop)
                return true;
    return false;
}

// --- generation -----------------------------------------------------------------------

Schedule GenSchedule(int number, Stamp around) {
    Schedule s;
    s.number = number;
    s.status = *rc::gen::element('A', 'A', 'D', '0');
    // Some have ended on the device's clock; a whole minute mostly, any second sometimes.
    s.start = around + *rc::gen::inRange<Stamp>(-8 * kDay, 80 * kDay) / 60 * 60 +
              *rc::gen::element<Stamp>(0, 0, 0, 17);
    s.stop = s.start + *rc::gen::element<Stamp>(1, 3599, 3600, 86399, kDay, 4 * kDay - 1) +
             *rc::gen::inRange<Stamp>(0, 3) * 3600;
    s.interval = *rc::gen::inRange(0, 24 * 3600);
    s.valve = *rc::gen::inRange(0, 3600);
    s.hold = *rc::gen::inRange(0, 3600);
    s.pump = *rc::gen::inRange(0, 3600);
    return s;
}

Faults GenFaults() {
    Faults f;
    if (*rc::gen::inRange(0, 10) < 4)
        return f;
    const auto rate = [](double most) { return *rc::gen::element(0, 0, 1, 2) * most / 2; };
    f.nak = rate(0.08);
    f.drop = rate(0.02);
    f.badCrc = rate(0.02);
    f.noise = rate(0.3);
    f.lowerCase = rate(0.5);
    f.keepOld = *rc::gen::element(0.0, 0.0, 0.03, 0.1, 0.3, 1.0);
    switch (*rc::gen::inRange(0, 10)) {
    case 0:
        f.silentAfter = *rc::gen::inRange(0, 60);
        break;
    case 1:
    case 2:
        f.killAfter = *rc::gen::inRange(1, 60);
        break;
    case 3:
        f.unplugAfter = *rc::gen::inRange(1, 40) / 100.0;
        break;
    default:
        break;
    }
    return f;
}

DeviceCase GenDevice(const Plan& plan) {
    DeviceCase d;
    d.clock = kBase + *rc::gen::element<Stamp>(0, 0, 3 * kDay, 12 * kDay) +
              *rc::gen::inRange<Stamp>(0, 3600);
    for (int n = 1; n <= 4; ++n)
        d.schedules[n - 1u] = GenSchedule(n, d.clock);
    // Sometimes a listed schedule is already held as planned.
    for (const Schedule& planned : plan.schedules)
        if (planned.number >= 1 && planned.number <= 4 && *rc::gen::inRange(0, 4) == 0)
            d.schedules[planned.number - 1u] = planned;
    if (*rc::gen::inRange(0, 20) == 0)
        d.rawSchedule = *rc::gen::inRange(1, 5);
    d.address = static_cast<char>('0' + *rc::gen::inRange(0, 10));
    d.delay = *rc::gen::inRange(0, 1000);
    d.valve = *rc::gen::inRange(0, 1000);
    d.hold = *rc::gen::inRange(0, 1000);
    d.pump = *rc::gen::inRange(0, 1000);
    d.faults = GenFaults();
    d.seed = *rc::gen::inRange<std::uint64_t>(1, 1u << 30);
    return d;
}

Plan GenPlan() {
    Plan plan;
    // Listed in any order, each number at most once.
    const auto keys = *rc::gen::container<std::vector<int>>(4, rc::gen::inRange(0, 1000));
    std::vector<int> numbers{1, 2, 3, 4};
    std::sort(numbers.begin(), numbers.end(),
              [&keys](int a, int b) { return keys[a - 1u] < keys[b - 1u]; });
    numbers.resize(static_cast<std::size_t>(*rc::gen::inRange(0, 5)));
    for (const int n : numbers)
        plan.schedules.push_back(GenSchedule(n, kBase));
    if (*rc::gen::inRange(0, 10) < 3) {
        const auto maybe = [](auto gen) {
            return *rc::gen::arbitrary<bool>() ? std::optional(*gen) : std::nullopt;
        };
        plan.sdi.address = maybe(rc::gen::map(rc::gen::inRange(0, 10),
                                              [](int i) { return static_cast<char>('0' + i); }));
        plan.sdi.delay = maybe(rc::gen::inRange(0, 1000));
        plan.sdi.valve = maybe(rc::gen::inRange(0, 1000));
        plan.sdi.hold = maybe(rc::gen::inRange(0, 1000));
        plan.sdi.pump = maybe(rc::gen::inRange(0, 1000));
    }
    if (*rc::gen::inRange(0, 5) == 0) {
        plan.broken =
            *rc::gen::element(Break::Version, Break::UnknownKey, Break::Truncated, Break::Interval,
                              Break::Number, Break::Twice, Break::Year, Break::Order, Break::Day);
        const bool valued = std::any_of(plan.schedules.begin(), plan.schedules.end(),
                                        [](const Schedule& s) { return s.status != '0'; });
        if ((NeedsValues(plan.broken) && !valued) ||
            ((plan.broken == Break::Number || plan.broken == Break::Twice) &&
             plan.schedules.empty()))
            plan.broken = Break::Version;
    }
    return plan;
}

// --- the device's side ----------------------------------------------------------------

std::string StateLine(const Schedule& s) {
    const auto date = [](Stamp t) {
        const std::tm tm = Broken(t);
        return Format("%02d/%02d/%02d", tm.tm_mon + 1, tm.tm_mday, tm.tm_year % 100);
    };
    const auto time = [](Stamp t) { return Hours(static_cast<int>(t % kDay)); };
    return std::string(1, s.status) + " " + date(s.start) + " " + time(s.start) + " " +
           date(s.stop) + " " + time(s.stop) + " " + Hours(s.interval) + " " + Hours(s.valve) +
           " " + Hours(s.hold) + " " + Hours(s.pump);
}

std::string StateText(const DeviceCase& d) {
    const std::tm tm = Broken(d.clock);
    std::string text =
        "clock = " + Format("%02d/%02d/%02d ", tm.tm_mon + 1, tm.tm_mday, tm.tm_year % 100) +
        Hours(static_cast<int>(d.clock % kDay)) + "\naddress = " + d.address +
        "\ndelay = " + std::to_string(d.delay) + "\nvalve = " + std::to_string(d.valve) +
        "\nhold = " + std::to_string(d.hold) + "\npump = " + std::to_string(d.pump) + "\n";
    for (const Schedule& s : d.schedules) {
        if (d.rawSchedule == s.number)
            text += "raw_schedule" + std::to_string(s.number) +
                    " = D 13/01/27 08:00:00 13/02/27 08:00:00 01:00:00 00:01:00 00:01:00 "
                    "00:01:00\n";
        else
            text += "schedule" + std::to_string(s.number) + " = " + StateLine(s) + "\n";
    }
    return text;
}

// What the device must hold for a planned schedule.
zrnsim::ScheduleEntry Entry(const Schedule& s) {
    zrnsim::ScheduleEntry e;
    e.status = s.status;
    const auto date = [](Stamp t) {
        const std::tm tm = Broken(t);
        return zrnsim::Triple{tm.tm_mon + 1, tm.tm_mday, tm.tm_year % 100};
    };
    const auto hms = [](Stamp t) {
        return zrnsim::Triple{static_cast<int>(t / 3600), static_cast<int>(t / 60 % 60),
                              static_cast<int>(t % 60)};
    };
    e.fields = {date(s.start),   hms(s.start % kDay), date(s.stop), hms(s.stop % kDay),
                hms(s.interval), hms(s.valve),        hms(s.hold),  hms(s.pump)};
    return e;
}

bool HoldsAsPlanned(const zrnsim::ScheduleEntry& held, const Schedule& planned,
                    bool eitherStatus = false) {
    const zrnsim::ScheduleEntry want = Entry(planned);
    if (planned.status == '0')
        return held.status == '0';
    const bool status =
        held.status == want.status || (eitherStatus && (held.status == 'A' || held.status == 'D'));
    return status && held.fields == want.fields;
}

std::string Shown(const zrnsim::ScheduleEntry& e) {
    std::string text(1, e.status);
    for (const zrnsim::Triple& t : e.fields)
        text += " " + Format("%02d.%02d.%02d", t[0], t[1], t[2]);
    return text;
}

// A frame that sets something: values after "|", a status letter after a schedule number,
// or an address.
bool IsSetCommand(const std::string& frame) {
    if (frame.find('|') != std::string::npos)
        return true;
    if (frame.size() == 3 && frame[0] == 'S')
        return std::string_view("AD0R").find(frame[2]) != std::string_view::npos;
    return frame.size() == 2 && frame[0] == 'A';
}

// --- figures --------------------------------------------------------------------------

struct Figures {
    long imports = 0, devices = 0, done = 0, failed = 0, refused = 0, filesRefused = 0;
    long naks = 0, noise = 0, unanswered = 0, keptOld = 0, vanished = 0, badCrc = 0;
    long violations = 0;
};
Figures figures;

struct Trace {
    std::vector<std::string> frames; // from the PC, without "> "
};

Trace ReadTrace(const fs::path& path) {
    Trace trace;
    std::ifstream in(path);
    bool answered = true;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("> ")) {
            figures.unanswered += !answered;
            answered = false;
            trace.frames.push_back(line.substr(2));
        } else if (line.starts_with("< ")) {
            answered = true;
            figures.naks += line == "< NAK";
            figures.noise += line.starts_with("< noise");
            // "< text  [frame]": a reply whose check digits are not the text's.
            if (const auto open = line.find("  ["); open != std::string::npos) {
                const std::string shown = line.substr(open + 3, line.size() - open - 4);
                const std::string right =
                    zrnsim::Visible(zrn::BuildFrame(line.substr(2, open - 2)));
                figures.badCrc += !std::equal(
                    shown.begin(), shown.end(), right.begin(), right.end(), [](char a, char b) {
                        return std::toupper(static_cast<unsigned char>(a)) ==
                               std::toupper(static_cast<unsigned char>(b));
                    });
            }
        } else if (line == "# kept the old value") {
            ++figures.keptOld;
        } else if (line == "# unplugged") {
            ++figures.vanished;
        }
    }
    return trace;
}

// --- one import -----------------------------------------------------------------------

class Bench : public zrntest::ScratchDir {
public:
    Bench() : ScratchDir("zrnctl-invariant") {}
    fs::path Path(const std::string& name) const { return Dir() / name; }
};

zrnsim::DeviceState LoadState(const fs::path& path) {
    zrnsim::DeviceState state = zrnsim::DefaultState(std::time(nullptr));
    std::string error;
    if (!zrnsim::LoadStateFile(path.string(), state, std::time(nullptr), error))
        RC_FAIL(path.string() + ": " + error);
    return state;
}

std::vector<std::string> Switches(const DeviceCase& d) {
    std::vector<std::string> s{"--seed", std::to_string(d.seed)};
    const std::pair<const char*, double> rates[] = {{"--nak-rate", d.faults.nak},
                                                    {"--drop-rate", d.faults.drop},
                                                    {"--bad-crc-rate", d.faults.badCrc},
                                                    {"--noise-rate", d.faults.noise},
                                                    {"--lower-case-rate", d.faults.lowerCase},
                                                    {"--keep-old-rate", d.faults.keepOld}};
    for (const auto& [name, rate] : rates)
        if (rate > 0)
            s.insert(s.end(), {name, std::to_string(rate)});
    if (d.faults.silentAfter)
        s.insert(s.end(), {"--silent-after", std::to_string(*d.faults.silentAfter)});
    if (d.faults.unplugAfter)
        s.insert(s.end(), {"--unplug-after", std::to_string(*d.faults.unplugAfter),
                           "--unplug-pause", "60000"});
    return s;
}

using Outcome = zrntest::ToolRun;

void ImportAndCheck(const Bench& bench, const Plan& plan, const std::vector<DeviceCase>& devices) {
    const std::string planText = PlanText(plan);
    std::ofstream(bench.Path("plan.json"), std::ios::binary) << planText;

    std::vector<std::unique_ptr<zrnsim::SimProcess>> sims;
    std::vector<zrnsim::DeviceState> before;
    std::string ports;
    for (std::size_t i = 0; i < devices.size(); ++i) {
        const std::string n = std::to_string(i);
        std::ofstream(bench.Path("start" + n)) << StateText(devices[i]);
        before.push_back(LoadState(bench.Path("start" + n)));
        std::vector<std::string> args = Switches(devices[i]);
        args.insert(args.end(), {"--state", bench.Path("start" + n).string(), "--state-out",
                                 bench.Path("held" + n).string(), "--trace"});
        sims.push_back(std::make_unique<zrnsim::SimProcess>(ZRNSIM_PROGRAM, args,
                                                            bench.Path("trace" + n).string()));
        RC_ASSERT(!sims.back()->TerminalPath().empty());
        ports += " --port " + sims.back()->TerminalPath();
    }

    // The port vanishing for good: the device killed once it has taken so many frames.
    std::atomic<bool> finished = false;
    std::jthread killer([&] {
        std::vector<bool> killed(devices.size());
        while (!finished) {
            for (std::size_t i = 0; i < devices.size(); ++i) {
                const std::optional<int> after = devices[i].faults.killAfter;
                if (!after || killed[i])
                    continue;
                const auto frames = zrntest::ReceivedFrames(
                    zrntest::ReadFile(bench.Path("trace" + std::to_string(i))));
                if (frames.size() >= static_cast<std::size_t>(*after)) {
                    sims[i]->Signal(SIGKILL);
                    killed[i] = true;
                    ++figures.vanished;
                }
            }
            std::this_thread::sleep_for(2ms);
        }
    });
    // Each import journals into a folder of its own.
    fs::remove_all(bench.Path("state"));
    const Outcome run = zrntest::RunCommand(
        bench, std::string("env ZRNCOM_PORTS= XDG_STATE_HOME=") + bench.Path("state").string() +
                   " " + ZRNCTL_PROGRAM + " --json" + ports + " plan import " +
                   bench.Path("plan.json").string());
    finished = true;
    killer.join();
    for (const auto& sim : sims) {
        sim->Signal(SIGTERM);
        sim->Wait(5s);
    }

    ++figures.imports;
    figures.devices += static_cast<long>(devices.size());
    std::vector<std::string> violations;
    const auto violated = [&](const std::string& what) { violations.push_back(what); };

    std::vector<zrnsim::DeviceState> after;
    std::vector<Trace> traces;
    for (std::size_t i = 0; i < devices.size(); ++i) {
        after.push_back(LoadState(bench.Path("held" + std::to_string(i))));
        traces.push_back(ReadTrace(bench.Path("trace" + std::to_string(i))));
    }
    const auto untouched = [&](std::size_t i, const std::string& why) {
        if (!zrnsim::SameStoredValues(before[i], after[i]))
            violated("device " + std::to_string(i) + " " + why + " but its values changed");
        for (const std::string& frame : traces[i].frames)
            if (IsSetCommand(frame))
                violated("device " + std::to_string(i) + " " + why + " but was sent " + frame);
    };

    std::vector<nlohmann::json> journal;
    {
        std::ifstream in(bench.Path("state") / "ZRNcom" / "changes.jsonl");
        for (std::string line; std::getline(in, line);) {
            try {
                journal.push_back(nlohmann::json::parse(line));
            } catch (const nlohmann::json::exception&) {
                violated("a journal line that is not JSON: " + line);
            }
        }
    }
    // The last journal line of a schedule on a port, if any.
    const auto lastLine = [&](const std::string& port, int number) -> const nlohmann::json* {
        const nlohmann::json* last = nullptr;
        for (const nlohmann::json& line : journal)
            if (line.value("port", "") == port &&
                line.value("what", "") == "schedule " + std::to_string(number))
                last = &line;
        return last;
    };

    const bool fileBad = plan.broken != Break::None || OverlapsItself(plan);
    if (fileBad) {
        ++figures.filesRefused;
        if (run.status != 2 || !run.out.empty() || run.err.find("plan.json: ") == std::string::npos)
            violated("a broken file was not refused before sending: exit " +
                     std::to_string(run.status));
        if (!journal.empty())
            violated("a refused file left journal lines");
        for (std::size_t i = 0; i < devices.size(); ++i) {
            untouched(i, "was given a refused file");
            if (!traces[i].frames.empty())
                violated("device " + std::to_string(i) + " was asked " + traces[i].frames[0] +
                         " for a refused file");
        }
    } else {
        // The schedules as the file gives them, to hold journal lines against.
        std::map<int, nlohmann::json> plannedJson;
        for (const nlohmann::json& planned :
             nlohmann::json::parse(planText).value("schedules", nlohmann::json::array()))
            plannedJson[planned.value("schedule", 0)] = planned;
        nlohmann::json report;
        try {
            report = nlohmann::json::parse(run.out);
        } catch (const nlohmann::json::exception& e) {
            violated(std::string("no JSON report: ") + e.what());
        }
        const nlohmann::json results = report.value("results", nlohmann::json::array());
        if (results.size() != devices.size())
            violated("a report of " + std::to_string(results.size()) + " devices");
        std::size_t done = 0, refused = 0;
        for (std::size_t i = 0; i < devices.size() && i < results.size(); ++i) {
            const nlohmann::json& r = results[i];
            const std::string who = "device " + std::to_string(i) + " (" + r.value("result", "?") +
                                    ": " + r.value("message", "") + ")";
            const std::string result = r.value("result", "");
            done += result == "done";
            refused += result == "refused";
            figures.done += result == "done";
            figures.failed += result == "failed";
            figures.refused += result == "refused";
            if (r.value("port", "") != sims[i]->TerminalPath())
                violated(who + " reported for port " + r.value("port", ""));
            if (result == "refused")
                untouched(i, "refused the plan");
            if (result == "failed" && !devices[i].faults.MayFail() && !devices[i].rawSchedule)
                violated(who + " failed without a fault that loses anything");
            if (result != "done" && result != "failed" && result != "refused")
                violated(who + ": unknown result");

            // What each listed schedule is said to hold.
            std::map<int, std::string> said;
            for (const nlohmann::json& s : r.value("schedules", nlohmann::json::array()))
                said[s.value("schedule", 0)] = s.value("result", "");
            for (const Schedule& planned : plan.schedules) {
                const std::size_t k = static_cast<std::size_t>(planned.number - 1);
                const zrnsim::ScheduleEntry& held = after[i].schedules[k];
                const std::string text = said.count(planned.number) ? said[planned.number] : "";
                const std::string where = who + ", schedule " + std::to_string(planned.number) +
                                          " \"" + text + "\": holds " + Shown(held) + ", planned " +
                                          Shown(Entry(planned));
                const bool claimsHeld = text.starts_with("stored") || text.starts_with("unchanged");
                if ((claimsHeld || result == "done") && !HoldsAsPlanned(held, planned))
                    violated(where);
                if (result == "done" && !claimsHeld)
                    violated(where + ", in a device reported done");
                // The journal agrees: a schedule said stored was journaled verified as
                // planned, a line that says so is held, and "unchanged" sent nothing.
                const nlohmann::json* line = lastLine(sims[i]->TerminalPath(), planned.number);
                const bool journaledAsPlanned = line != nullptr &&
                                                line->value("result", "") == "verified" &&
                                                (*line)["after"] == plannedJson[planned.number];
                if (text.starts_with("stored") && !journaledAsPlanned)
                    violated(where + ", journaled " + (line ? line->dump() : "nothing"));
                if (journaledAsPlanned && !HoldsAsPlanned(held, planned))
                    violated(where + ", journaled verified");
                if (text.starts_with("unchanged") && line != nullptr)
                    violated(where + ", journaled " + line->dump());
                if (text.starts_with("inactive with the planned values") &&
                    !HoldsAsPlanned(held, planned, true))
                    violated(where);
                if (text == "not sent") {
                    if (!(held == before[i].schedules[k]))
                        violated(where + ", was " + Shown(before[i].schedules[k]));
                    const std::string prefix = "S" + std::to_string(planned.number);
                    for (const std::string& frame : traces[i].frames)
                        if (frame.starts_with(prefix) && IsSetCommand(frame))
                            violated(where + ", sent " + frame);
                }
            }
            // Nothing the plan leaves alone changes.
            for (std::size_t k = 0; k < 4; ++k) {
                const bool listed =
                    std::any_of(plan.schedules.begin(), plan.schedules.end(),
                                [k](const Schedule& s) { return s.number == int(k) + 1; });
                if (!listed && !(after[i].schedules[k] == before[i].schedules[k]))
                    violated(who + ": unlisted schedule " + std::to_string(k + 1) + " now holds " +
                             Shown(after[i].schedules[k]));
            }
            const Sdi& sdi = plan.sdi;
            const auto sdiCheck = [&](const char* name, const auto& planned, auto heldValue,
                                      auto beforeValue) {
                if (planned ? (result == "done" && heldValue != *planned)
                            : heldValue != beforeValue)
                    violated(who + ": SDI " + name + " holds " + std::to_string(heldValue) +
                             ", was " + std::to_string(beforeValue));
            };
            sdiCheck("address", sdi.address, after[i].address, before[i].address);
            sdiCheck("delay", sdi.delay, after[i].delay, before[i].delay);
            sdiCheck("valve", sdi.valve, after[i].sdiDurations[0], before[i].sdiDurations[0]);
            sdiCheck("hold", sdi.hold, after[i].sdiDurations[1], before[i].sdiDurations[1]);
            sdiCheck("pump", sdi.pump, after[i].sdiDurations[2], before[i].sdiDurations[2]);
        }
        const int expected = done == devices.size() ? 0 : refused == devices.size() ? 2 : 1;
        if (run.status != expected)
            violated("exit status " + std::to_string(run.status) + ", the results say " +
                     std::to_string(expected));
        const nlohmann::json summary = report.value("summary", nlohmann::json::object());
        if (summary.value("done", -1) != static_cast<int>(done) ||
            summary.value("refused", -1) != static_cast<int>(refused))
            violated("summary " + summary.dump() + " disagrees with the results");
    }

    if (!violations.empty()) {
        ++figures.violations;
        std::ostringstream text;
        text << "plan:\n" << planText << "exit " << run.status << "\n" << run.out << run.err;
        for (std::size_t i = 0; i < devices.size(); ++i)
            text << "device " << i << " starts as:\n" << StateText(devices[i]) << "with zrnsim";
        for (std::size_t i = 0; i < devices.size(); ++i) {
            text << "\ndevice " << i << ":";
            for (const std::string& s : Switches(devices[i]))
                text << " " << s;
            if (devices[i].faults.killAfter)
                text << " (killed after " << *devices[i].faults.killAfter << " frames)";
        }
        for (const std::string& v : violations)
            text << "\nVIOLATED: " << v;
        std::cerr << text.str() << std::endl;
        RC_FAIL(text.str());
    }
}

} // namespace

TEST(ZrnctlImport, WhatItReportsIsWhatTheDevicesHold) {
    ASSERT_TRUE(kParams);
    const Bench bench;
    const auto began = std::chrono::steady_clock::now();
    const bool held = rc::check("what zrnctl reports is what the devices hold", [&bench] {
        const Plan plan = GenPlan();
        const int count = *rc::gen::element(1, 1, 1, 2, 3);
        std::vector<DeviceCase> devices;
        for (int i = 0; i < count; ++i)
            devices.push_back(GenDevice(plan));
        ImportAndCheck(bench, plan, devices);
    });
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    const Figures& f = figures;
    std::printf("imports %ld (%ld devices) in %.1f s; %ld files refused; devices done %ld, "
                "failed %ld, refused %ld\n",
                f.imports, f.devices, seconds, f.filesRefused, f.done, f.failed, f.refused);
    std::printf("faults struck: NAKs %ld, noise %ld, bad check digits %ld, unanswered frames %ld, "
                "writes kept old %ld, ports gone %ld; cases with violations %ld\n",
                f.naks, f.noise, f.badCrc, f.unanswered, f.keptOld, f.vanished, f.violations);
    EXPECT_TRUE(held);
}
