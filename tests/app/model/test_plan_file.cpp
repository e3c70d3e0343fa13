// The plan file: what is refused (with the key, or line and column), and that
// what export writes reads back to the same table and the same bytes; which
// files are read and how they are replaced.
#include "model/CalendarTime.h"
#include "model/Plan.h"
#include "model/PlanFile.h"
#include "model/PlanJson.h"
#include "model/PlanText.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zrn {
namespace {

std::string WithSchedule(const std::string& fields) {
    return R"({"zrn_plan": 1, "schedules": [{"schedule": 1, )" + fields + "}]}";
}

const std::string kActive =
    R"("status": "active", "start": "2027-03-03T07:00:00", "stop": "2027-03-10T06:59:59", )"
    R"("interval": "00:15:00", "valve": "01:30", "hold": "00:45", "pump": "02:00")";

struct Bad {
    std::string text;
    std::string key;
    std::string reason; // a piece of it
};

TEST(PlanFile, RefusesWithTheKeyOrThePosition) {
    const Bad cases[] = {
        {"{\n  \"zrn_plan\": 1,\n  \"schedules\": [\n    {\"schedule\": 1,]\n}", "",
         "not JSON at line 4, column 20"},
        {R"({"zrn_plan": 1, "extra": 0})", "extra", "unknown key"},
        {R"({"schedules": []})", "zrn_plan", "missing"},
        {R"({"zrn_plan": 2})", "zrn_plan", "not 1"},
        {R"({"zrn_plan": 1, "schedules": {}})", "schedules", "must be a list"},
        {R"({"zrn_plan": 1, "schedules": [{"schedule": "1", "status": "empty"}]})",
         "schedules[0].schedule", "whole number"},
        {R"({"zrn_plan": 1, "schedules": [{"schedule": 5, "status": "empty"}]})",
         "schedules[0].schedule", "outside 1-4"},
        {WithSchedule(R"("status": "on")"), "schedules[0].status", "none of"},
        {WithSchedule(R"("status": "empty", "start": "2027-03-03T07:00:00")"), "schedules[0].start",
         "takes no start"},
        {WithSchedule(R"("status": "inactive", "start": "2027-03-03T07:00:00")"),
         "schedules[0].stop", "missing"},
        {WithSchedule(R"("status": "active", "colour": 1)"), "schedules[0].colour", "unknown"},
        {R"({"zrn_plan": 1, "schedules": [{"schedule": 2, "status": "empty"},
            {"schedule": 2, "status": "empty"}]})",
         "schedules[1].schedule", "listed twice"},
        {R"({"zrn_plan": 1, "zrn_plan": 1})", "zrn_plan", "appears twice"},
        {R"({"zrn_plan": 1, "sdi": {"address": "?"}})", "sdi.address", "not an address"},
        {R"({"zrn_plan": 1, "sdi": {"delay": 1000}})", "sdi.delay", "outside 0-999"},
        {R"({"zrn_plan": 1, "sdi": {"valve": "16:40"}})", "sdi.valve", "more than 999"},
        {R"({"zrn_plan": 1, "sdi": {"valve": 90}})", "sdi.valve", "must be text"},
        // Found by the plan-file fuzzer: a number beyond a double ended the program.
        {R"({"zrn_plan": 1e999})", "", "not JSON: number overflow"},
    };
    for (const Bad& bad : cases) {
        const auto read = ReadPlan(bad.text);
        ASSERT_TRUE(std::holds_alternative<Refusal>(read)) << bad.text;
        const Refusal& refusal = std::get<Refusal>(read);
        EXPECT_EQ(refusal.key, bad.key) << bad.text;
        EXPECT_NE(refusal.reason.find(bad.reason), std::string::npos)
            << bad.text << "\n -> " << refusal.Text();
    }
}

// The active schedule above with one value (JSON text) in place of its own.
std::string ActiveWith(const std::string& key, const std::string& value) {
    const std::pair<std::string, std::string> fields[] = {{"status", "\"active\""},
                                                          {"start", "\"2027-03-03T07:00:00\""},
                                                          {"stop", "\"2027-03-10T06:59:59\""},
                                                          {"interval", "\"00:15:00\""},
                                                          {"valve", "\"01:30\""},
                                                          {"hold", "\"00:45\""},
                                                          {"pump", "\"02:00\""}};
    std::string text;
    for (const auto& [name, own] : fields)
        text += (text.empty() ? "\"" : ", \"") + name + "\": " + (name == key ? value : own);
    return WithSchedule(text);
}

TEST(PlanFile, RefusesValuesTheDialogOrTheWireCannotHold) {
    const Bad cases[] = {
        {R"("2027-03-03 07:00:00")", "start", "not of the form YYYY-MM-DDThh:mm:ss"},
        {R"("2027-03-03T07:00:00+01:00")", "start", "not of the form"},
        {R"("1999-12-31T23:00:00")", "start", "year 1999 is outside 2000-2037"},
        {R"("2038-01-01T00:00:00")", "stop", "year 2038"},
        {R"("2027-02-29T00:00:00")", "stop", "day 29 does not exist"},
        {R"("2027-13-01T00:00:00")", "stop", "month 13"},
        {R"("2027-03-03T24:00:00")", "start", "hour 24"},
        {R"("2027-03-03T07:00:00")", "stop", "not after the start"},
        {R"("24:00:00")", "interval", "hours 24 is outside 0-23"},
        {R"("00:15")", "interval", "not of the form hh:mm:ss"},
        {R"("60:00")", "valve", "minutes 60 is outside 0-59"},
        {R"("01:60")", "pump", "seconds 60"},
        {"null", "hold", "must be text"},
    };
    for (const Bad& bad : cases) {
        const auto read = ReadPlan(ActiveWith(bad.key, bad.text));
        ASSERT_TRUE(std::holds_alternative<Refusal>(read)) << bad.text;
        EXPECT_EQ(std::get<Refusal>(read).key, "schedules[0]." + bad.key) << bad.text;
        EXPECT_NE(std::get<Refusal>(read).reason.find(bad.reason), std::string::npos)
            << std::get<Refusal>(read).Text();
    }
    EXPECT_TRUE(std::holds_alternative<Plan>(ReadPlan(ActiveWith("pump", R"("02:00")"))));
}

TEST(PlanFile, ReadsEveryValueIntoTheEntryAsWritten) {
    const auto read = ReadPlan(R"({"zrn_plan": 1, "schedules": [{"schedule": 3, )" + kActive +
                               R"(}, {"schedule": 1, "status": "empty"}],
        "sdi": {"address": "7", "delay": 0, "hold": "16:39"}})");
    ASSERT_TRUE(std::holds_alternative<Plan>(read)) << std::get<Refusal>(read).Text();
    const Plan& plan = std::get<Plan>(read);
    ASSERT_EQ(plan.schedules.size(), 2u);
    const zrn::ScheduleEntry& e = plan.schedules[0].entry;
    EXPECT_EQ(plan.schedules[0].nIndex, 0);
    EXPECT_EQ(e.nNumber, 3);
    EXPECT_EQ(e.chStatus, 'A');
    EXPECT_EQ(zrn::EntryStartFields(e), (zrn::LocalDateTime{2027, 3, 3, 7, 0, 0}));
    EXPECT_EQ(zrn::EntryStopFields(e), (zrn::LocalDateTime{2027, 3, 10, 6, 59, 59}));
    EXPECT_EQ(zrn::EntryInterval(e), 15 * 60);
    EXPECT_EQ(zrn::EntryOpenValve(e), 90);
    EXPECT_EQ(zrn::EntrySampleHolding(e), 45);
    EXPECT_EQ(zrn::EntryPumpOn(e), 120);
    EXPECT_EQ(plan.schedules[1].entry.chStatus, '0');
    EXPECT_EQ(plan.sdi.address, '7');
    EXPECT_EQ(plan.sdi.delay, 0);
    EXPECT_EQ(plan.sdi.hold, 999);
    EXPECT_FALSE(plan.sdi.valve);
}

TEST(PlanFile, WritesAllFourInAFixedLayoutThatReadsBackTheSame) {
    zrn::ScheduleTable table{};
    for (int i = 0; i < 4; ++i) {
        table[i].nNumber = static_cast<std::uint8_t>(i + 1);
        table[i].chStatus = '0';
    }
    // Entry 2 active, entry 3 inactive; entry 4 empty but with leftover fields.
    table[1] = {2, 27, 3, 3, 7, 0, 0, 27, 3, 10, 6, 59, 59, 0, 15, 0, 1, 30, 0, 45, 2, 0, 'A'};
    table[2] = {3,  37, 12, 31, 23, 59, 58, 37, 12, 31, 23, 59,
                59, 23, 59, 59, 59, 59, 0,  0,  0,  0,  'D'};
    table[3] = {4, 99, 99, 99, 99, 99, 99, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, '0'};
    const std::string text = WritePlan(table);
    EXPECT_EQ(text, R"({
  "zrn_plan": 1,
  "schedules": [
    {"schedule": 1, "status": "empty"},
    {"schedule": 2, "status": "active", "start": "2027-03-03T07:00:00", "stop": "2027-03-10T06:59:59", "interval": "00:15:00", "valve": "01:30", "hold": "00:45", "pump": "02:00"},
    {"schedule": 3, "status": "inactive", "start": "2037-12-31T23:59:58", "stop": "2037-12-31T23:59:59", "interval": "23:59:59", "valve": "59:59", "hold": "00:00", "pump": "00:00"},
    {"schedule": 4, "status": "empty"}
  ]
}
)");
    const auto read = ReadPlan(text);
    ASSERT_TRUE(std::holds_alternative<Plan>(read)) << std::get<Refusal>(read).Text();
    zrn::ScheduleTable again = table;
    for (const PlannedSchedule& planned : std::get<Plan>(read).schedules)
        again[planned.entry.nNumber - 1u] = planned.entry;
    EXPECT_EQ(WritePlan(again), text);
    EXPECT_EQ(std::memcmp(&again[1], &table[1], sizeof table[1]), 0);
    EXPECT_EQ(std::memcmp(&again[2], &table[2], sizeof table[2]), 0);
}

namespace fs = std::filesystem;

// A fresh folder, removed with all it holds.
class Folder {
public:
    Folder() {
        std::string name = (fs::temp_directory_path() / "zrn_planfile_XXXXXX").string();
        if (::mkdtemp(name.data()) != nullptr)
            path_ = name;
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    ~Folder() {
        std::error_code ignored;
        if (!path_.empty())
            fs::remove_all(path_, ignored);
    }
    const fs::path& Path() const { return path_; }
    fs::path Put(const std::string& name, const std::string& text) const {
        std::ofstream(path_ / name, std::ios::binary) << text;
        return path_ / name;
    }
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(path_))
            names.insert(entry.path().filename().string());
        return names;
    }

private:
    fs::path path_;
};

std::string Contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::string kSmallPlan =
    R"({"zrn_plan": 1, "schedules": [{"schedule": 1, "status": "empty"}]})";

// A read that waited on a FIFO or streamed /dev/zero would end the run here
// rather than hang it.
class Deadline {
public:
    explicit Deadline(unsigned seconds) { ::alarm(seconds); }
    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;
    ~Deadline() { ::alarm(0); }
};

TEST(PlanFile, ReadsOnlyARegularFileOfAtMostOneMebibyte) {
    const Folder folder;
    ASSERT_FALSE(folder.Path().empty());
    const struct {
        const char* what;
        std::function<fs::path()> make;
        std::string refused; // empty: the plan is read
    } cases[] = {
        {"a FIFO without a writer",
         [&] {
             const fs::path fifo = folder.Path() / "fifo";
             EXPECT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
             return fifo;
         },
         "is not a regular file (a device, FIFO or socket)"},
        {"an endless device", [] { return fs::path("/dev/zero"); },
         "is not a regular file (a device, FIFO or socket)"},
        {"a folder", [&] { return folder.Path(); }, "is a folder"},
        {"a missing file", [&] { return folder.Path() / "missing.json"; }, "cannot be read"},
        {"2 MiB", [&] { return folder.Put("big.json", kSmallPlan + std::string(2 << 20, ' ')); },
         "is larger than 1 MiB"},
        {"1 MiB and one byte",
         [&] {
             return folder.Put("over.json",
                               kSmallPlan + std::string((1 << 20) + 1 - kSmallPlan.size(), ' '));
         },
         "is larger than 1 MiB"},
        {"exactly 1 MiB",
         [&] {
             return folder.Put("edge.json",
                               kSmallPlan + std::string((1 << 20) - kSmallPlan.size(), ' '));
         },
         ""},
        {"a small plan", [&] { return folder.Put("plan.json", kSmallPlan); }, ""},
    };
    for (const auto& c : cases) {
        const fs::path file = c.make();
        const Deadline deadline(10);
        const auto read = zrn::ReadPlanFile(file);
        if (c.refused.empty()) {
            ASSERT_TRUE(std::holds_alternative<Plan>(read))
                << c.what << ": " << std::get<Refusal>(read).Text();
            EXPECT_EQ(std::get<Plan>(read).schedules.size(), 1u) << c.what;
        } else {
            ASSERT_TRUE(std::holds_alternative<Refusal>(read)) << c.what;
            EXPECT_EQ(std::get<Refusal>(read).Text(), c.refused) << c.what;
        }
    }
}

TEST(PlanFile, WritesThroughLinksKeepsTheModeAndLeavesOtherKindsAlone) {
    const Folder folder;
    ASSERT_FALSE(folder.Path().empty());
    const fs::path& dir = folder.Path();
    const Deadline deadline(10);

    // Through a relative link, and through one whose target does not exist yet.
    const fs::path real = folder.Put("real.json", "old");
    fs::create_symlink("real.json", dir / "link.json");
    fs::create_symlink(dir / "new.json", dir / "dangling.json");
    EXPECT_EQ(zrn::WriteWhole(dir / "link.json", "through the link"), std::nullopt);
    EXPECT_EQ(zrn::WriteWhole(dir / "dangling.json", "made"), std::nullopt);
    EXPECT_TRUE(fs::is_symlink(dir / "link.json"));
    EXPECT_TRUE(fs::is_symlink(dir / "dangling.json"));
    EXPECT_EQ(Contents(real), "through the link");
    EXPECT_EQ(Contents(dir / "new.json"), "made");

    // A private file stays private.
    ASSERT_EQ(::chmod(real.c_str(), 0600), 0);
    EXPECT_EQ(zrn::WriteWhole(real, "again"), std::nullopt);
    struct stat info {};
    ASSERT_EQ(::stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    EXPECT_EQ(Contents(real), "again");
    EXPECT_EQ(folder.Names(),
              (std::set<std::string>{"real.json", "link.json", "dangling.json", "new.json"}));

    // A reader holds the FIFO open, so a faulty write into it would not block.
    const fs::path fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    struct Refused {
        fs::path target;
        mode_t kind;
        std::string why;
    };
    std::vector<Refused> refused = {
        {fifo, S_IFIFO, "not a regular file"},
        {dir / "sub", S_IFDIR, "is a folder"},
    };
    // A device node of the test's own (root only): a faulty write replaces
    // this one, never the system's /dev/null.
    const fs::path device = dir / "null";
    if (::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0)
        refused.push_back({device, S_IFCHR, "not a regular file"});
    fs::create_directory(dir / "sub");
    for (const auto& r : refused) {
        const auto why = zrn::WriteWhole(r.target, "text");
        ASSERT_TRUE(why.has_value()) << r.target;
        EXPECT_NE(why->find(r.why), std::string::npos) << r.target << ": " << *why;
        ASSERT_EQ(::lstat(r.target.c_str(), &info), 0) << r.target;
        EXPECT_EQ(info.st_mode & S_IFMT, r.kind) << r.target;
    }
    char byte = 0;
    EXPECT_LE(::read(reader, &byte, 1), 0);
    ::close(reader);
    EXPECT_TRUE(fs::is_empty(dir / "sub"));
}

TEST(PlanFile, AWriteThatFailsLeavesTheOldFileAndNoTemporary) {
    const Folder folder;
    ASSERT_FALSE(folder.Path().empty());
    const std::string old = "the old plan\n";
    const fs::path file = folder.Put("plan.json", old);
    const std::string text(20000, 'x');
    const rlim_t caps[] = {0, 1, 4096, text.size() - 1};

    // The cap is the child's own: this process's limit stays as it was.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        int status = 0;
        for (std::size_t i = 0; i < std::size(caps) && status == 0; ++i) {
            limit.rlim_cur = caps[i];
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
                status = 1;
            else if (!zrn::WriteWhole(file, text))
                status = 10 + static_cast<int>(i); // a write that should fail succeeded
        }
        ::_exit(status);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(Contents(file), old);
    EXPECT_EQ(folder.Names(), std::set<std::string>{"plan.json"});
}

} // namespace
} // namespace zrn
