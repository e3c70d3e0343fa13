// zrnsim spoken to through the real link library, as the program speaks to a device.
#include "DeviceFixture.h"
#include "Faults.h"
#include "LinkProbe.h"
#include "SimProcess.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <regex>

namespace zrnsim {
namespace {

using namespace std::chrono_literals;

std::string TempPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() /
            ("zrnsim-e2e-" + name + "-" + std::to_string(::getpid())))
        .string();
}

class ThroughLibrary : public ::testing::Test {
protected:
    void Start(std::vector<std::string> args = {}) {
        std::ofstream(statePath_) << testing::kKnownState;
        args.insert(args.begin(), {"--state", statePath_});
        sim_.emplace(ZRNSIM_PROGRAM, args);
        ASSERT_FALSE(sim_->TerminalPath().empty());
        ASSERT_TRUE(link().Open(sim_->TerminalPath()));
    }
    void TearDown() override {
        link().Close();
        sim_.reset();
        std::filesystem::remove(statePath_);
    }
    static LinkProbe& link() { return LinkProbe::Instance(); }

    // The answer's code and, when there is one, the reply.
    std::pair<uintptr_t, std::string> Ask(const std::string& command, bool query) {
        const auto result = link().Exchange(command, query);
        if (!result)
            return {0, "no answer"};
        EXPECT_EQ(result->acknowledged, command);
        return {result->answer, result->reply.value_or("")};
    }

    std::string statePath_ = TempPath("state");
    std::optional<SimProcess> sim_;
};

struct Form {
    const char* command;
    const char* reply; // a regular expression for the whole reply
};

TEST_F(ThroughLibrary, EveryQueryIsAnsweredInItsForm) {
    Start();
    const std::vector<Form> forms{
        {"C", R"(C\|\d\d/\d\d/\d\d\|\d\d:\d\d:\d\d\|)"},
        {"F", R"(F\|02\.07\|)"},
        {"B", R"(B\|12\.\d\d\|3\.\d\d\|)"},
        {"I", R"(I\|13  ZRNSIMZRN100207      SIM0001\|)"},
        {"A", "A3"},
        {"L", R"(L\|015\|)"},
        {"S5V", R"(S5V\|00:01:30\|)"},
        {"S5H", R"(S5H\|00:16:39\|)"},
        {"S5P", R"(S5P\|00:00:00\|)"},
        {"S1?", "S1A"},
        {"S2?", "S2D"},
        {"S1BD", R"(S1BD\|12/06/26\|)"},
        {"S1BT", R"(S1BT\|08:00:00\|)"},
        {"S1ED", R"(S1ED\|12/13/26\|)"},
        {"S1ET", R"(S1ET\|08:00:00\|)"},
        {"S1I", R"(S1I\|01:00:00\|)"},
        {"S1V", R"(S1V\|00:01:00\|)"},
        {"S1H", R"(S1H\|00:02:00\|)"},
        {"S1P", R"(S1P\|00:03:30\|)"},
        {"S2ED", R"(S2ED\|02/29/28\|)"},
    };
    for (const Form& form : forms) {
        const auto [code, reply] = Ask(form.command, true);
        EXPECT_EQ(code, LINK_ACK) << form.command;
        EXPECT_TRUE(std::regex_match(reply, std::regex(form.reply)))
            << form.command << " " << reply;
    }
    for (const char* action : {"?", "S0D", "S0A", "S3R"})
        EXPECT_EQ(Ask(action, false).first, LINK_ACK) << action;
}

TEST_F(ThroughLibrary, SettingsAreReadBack) {
    Start();
    const std::vector<Form> settings{
        {"A9", "A"},
        {"L|007|", "L"},
        {"I| 1ABCDEFGH    X1001OPTIONALFIELD|", "I"},
        {"S5V|00:16:39|", "S5V"},
        {"S5H|00:00:00|", "S5H"},
        {"S5P|00:01:30|", "S5P"},
        {"S2A", "S2?"},
        {"S10", "S1?"},
        {"S3D", "S3?"},
        {"S3BD|03/03/06|", "S3BD"},
        {"S3BT|07:05:00|", "S3BT"},
        {"S3ED|12/31/99|", "S3ED"},
        {"S3ET|23:59:59|", "S3ET"},
        {"S3I|23:00:00|", "S3I"},
        {"S3V|00:59:59|", "S3V"},
        {"S3H|00:01:30|", "S3H"},
        {"S3P|00:00:01|", "S3P"},
    };
    const std::vector<std::string> expected{"A9",
                                            "L|007|",
                                            "I| 1ABCDEFGH    X1001OPTIONALFIELD|",
                                            "S5V|00:16:39|",
                                            "S5H|00:00:00|",
                                            "S5P|00:01:30|",
                                            "S2A",
                                            "S10",
                                            "S3D",
                                            "S3BD|03/03/06|",
                                            "S3BT|07:05:00|",
                                            "S3ED|12/31/99|",
                                            "S3ET|23:59:59|",
                                            "S3I|23:00:00|",
                                            "S3V|00:59:59|",
                                            "S3H|00:01:30|",
                                            "S3P|00:00:01|"};
    for (std::size_t i = 0; i < settings.size(); ++i) {
        EXPECT_EQ(Ask(settings[i].command, false).first, LINK_ACK) << settings[i].command;
        const auto [code, reply] = Ask(settings[i].reply, true);
        EXPECT_EQ(reply, expected[i]) << settings[i].command;
    }
}

// An upload and the read-back queued at once, as the program hands them over: the
// library paces them out and the device answers each in turn.
TEST_F(ThroughLibrary, QueuedUploadAndReadBack) {
    Start();
    const std::vector<std::string> upload{
        "S4D",           "S4BD|03/03/06|", "S4BT|07:05:00|", "S4ED|03/04/06|", "S4ET|07:05:00|",
        "S4I|00:30:00|", "S4V|00:01:30|",  "S4H|00:00:45|",  "S4P|00:02:00|",  "S4D"};
    const std::vector<std::string> expected{
        "S4D",           "S4BD|03/03/06|", "S4BT|07:05:00|", "S4ED|03/04/06|", "S4ET|07:05:00|",
        "S4I|00:30:00|", "S4V|00:01:30|",  "S4H|00:00:45|",  "S4P|00:02:00|"};
    for (const std::string& command : upload)
        link().Send(command);
    for (const char* query : {"?", "BD", "BT", "ED", "ET", "I", "V", "H", "P"})
        link().Send(std::string("S4") + query);
    std::vector<std::string> acknowledged, replies;
    while (acknowledged.size() < upload.size() + expected.size() ||
           replies.size() < expected.size()) {
        const auto event = link().Next(5s);
        ASSERT_TRUE(event.has_value()) << acknowledged.size() << " answers so far";
        ASSERT_NE(event->code, LINK_NAK) << event->text.value_or("");
        (event->code == LINK_ACK ? acknowledged : replies).push_back(event->text.value_or(""));
    }
    EXPECT_EQ(replies, expected);
}

TEST_F(ThroughLibrary, ClockSetBetweenHoldAndReleaseIsReadBack) {
    Start();
    const auto before = std::chrono::steady_clock::now();
    // Another time than the one the device starts with.
    for (const char* command : {"S0D", "C|03/04/27|22:15:30|", "S0A"})
        EXPECT_EQ(Ask(command, false).first, LINK_ACK) << command;
    const auto [code, reply] = Ask("C", true);
    // The clock runs on from the set, whole seconds at a time, for at most as
    // long as this exchange took.
    const auto took =
        std::chrono::ceil<std::chrono::seconds>(std::chrono::steady_clock::now() - before);
    std::smatch time;
    ASSERT_TRUE(std::regex_match(reply, time, std::regex(R"(C\|03/04/27\|22:(\d\d):(\d\d)\|)")))
        << reply;
    const long ranOn = std::stol(time[1]) * 60 + std::stol(time[2]) - (15 * 60 + 30);
    EXPECT_GE(ranOn, 0) << reply;
    EXPECT_LE(ranOn, took.count()) << reply;
}

TEST_F(ThroughLibrary, ValuesTheDeviceCannotHoldAreRefused) {
    Start();
    const std::vector<std::pair<const char*, const char*>> refused{{"C|13/06/26|14:05:09|", "C"},
                                                                   {"L|1000|", "L"},
                                                                   {"Ax", "A"},
                                                                   {"A10", "A"},
                                                                   {"S5V|00:16:40|", "S5V"},
                                                                   {"S1BD|04/31/26|", "S1BD"},
                                                                   {"S1I|24:00:00|", "S1I"},
                                                                   {"S1V|01:00:00|", "S1V"},
                                                                   {"I|short|", "I"}};
    for (const auto& [command, query] : refused) {
        const std::string before = Ask(query, true).second;
        EXPECT_EQ(Ask(command, false).first, LINK_NAK) << command;
        if (std::string(query) != "C") {
            EXPECT_EQ(Ask(query, true).second, before) << command;
        }
    }
    EXPECT_EQ(Ask("X", true).first, LINK_NAK);
    EXPECT_EQ(Ask("S6?", true).first, LINK_NAK);
}

// The same seed gives the same faults: the library must see exactly the NAKs the
// generator predicts.
TEST_F(ThroughLibrary, NakRateMatchesTheSeededGenerator) {
    Start({"--nak-rate", "0.3", "--seed", "11"});
    FaultPlan plan;
    plan.nakRate = 0.3;
    plan.seed = 11;
    FaultInjector predicted(plan);
    int naks = 0;
    for (int i = 0; i < 60; ++i) {
        const bool expectNak = predicted.Nak();
        const auto [code, reply] = Ask("A", true);
        EXPECT_EQ(code, expectNak ? LINK_NAK : LINK_ACK) << i;
        naks += code == LINK_NAK;
    }
    EXPECT_GT(naks, 5);
}

// A reply with a wrong checksum is dropped by the library: the next command's ACK
// comes with no reply before it.
TEST_F(ThroughLibrary, BadChecksumRepliesAreNotForwarded) {
    Start({"--bad-crc-rate", "1"});
    link().Send("F");
    link().Send("?");
    std::vector<uintptr_t> codes;
    while (codes.size() < 2) {
        const auto event = link().Next(3s);
        ASSERT_TRUE(event.has_value());
        codes.push_back(event->code);
    }
    EXPECT_EQ(codes, (std::vector<uintptr_t>{LINK_ACK, LINK_ACK}));
}

TEST_F(ThroughLibrary, NoiseAndLowerCaseDigitsStillGiveEveryReply) {
    Start({"--noise-rate", "0.5", "--lower-case-rate", "1", "--seed", "3"});
    for (int i = 0; i < 20; ++i) {
        const auto [code, reply] = Ask("S1BD", true);
        EXPECT_EQ(code, LINK_ACK) << i;
        EXPECT_EQ(reply, "S1BD|12/06/26|") << i;
    }
}

// A seed whose first answer is lost and second is not: the set is carried out, only its
// ACK is missing, and the query behind it reads the new value.
TEST_F(ThroughLibrary, DroppedAnswerStillChangesTheDevice) {
    std::uint64_t seed = 1;
    for (;; ++seed) {
        FaultPlan plan;
        plan.dropRate = 0.5;
        plan.seed = seed;
        FaultInjector predicted(plan);
        if (predicted.Drop() && !predicted.Drop())
            break;
    }
    Start({"--drop-rate", "0.5", "--seed", std::to_string(seed)});
    link().Send("L|321|");
    link().Send("L");
    const auto ack = link().Next(3s);
    ASSERT_TRUE(ack.has_value());
    EXPECT_EQ(ack->code, LINK_ACK);
    EXPECT_EQ(ack->text.value_or(""), "L");
    const auto reply = link().Next(3s);
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(reply->text.value_or(""), "L|321|");
}

TEST_F(ThroughLibrary, SilentDeviceAnswersNothingAfterItsCount) {
    Start({"--silent-after", "1"});
    EXPECT_EQ(Ask("?", false).first, LINK_ACK);
    link().Send("A");
    EXPECT_FALSE(link().Next(300ms).has_value());
}

TEST_F(ThroughLibrary, UnpluggedDeviceComesBackAtTheLinkWithItsState) {
    const std::string linkPath = TempPath("port");
    Start({"--link", linkPath, "--unplug-pause", "200"});
    ASSERT_TRUE(link().Open(linkPath));
    EXPECT_EQ(Ask("L|444|", false).first, LINK_ACK);
    sim_->Signal(SIGUSR1);
    ASSERT_TRUE(WaitFor([&] { return !std::filesystem::is_symlink(linkPath); }, 5s));
    const auto path = sim_->ReadLine(5s);
    ASSERT_TRUE(path.has_value());
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(linkPath); }, 5s));
    ASSERT_TRUE(link().Open(linkPath));
    EXPECT_EQ(Ask("L", true).second, "L|444|");
}

} // namespace
} // namespace zrnsim
