// The result of one port as a copy of zrnctl hands it back, and the exit
// status of a run over several ports.
#include "Result.h"

#include <gtest/gtest.h>

namespace zrnctl {
namespace {

TEST(Result, SurvivesTheWayBackFromACopyEvenWithBytesThatAreNotUtf8) {
    // A device's identification in Latin-1.
    DeviceResult sent{"/dev/ttyUSB3",
                      Outcome::Failed,
                      "schedule 2: S2BT|07:00:00| refused (NAK)",
                      {"maker M\xE9t\xE9o"},
                      Json{{"maker", "M\xE9t\xE9o"}}};
    const auto back = ResultFromWorker(JsonText(WorkerJson(sent)) + "\n", "/dev/ttyUSB3");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->outcome, Outcome::Failed);
    EXPECT_EQ(back->message, sent.message);
    EXPECT_EQ(back->lines.at(0), "maker M\uFFFDt\uFFFDo");
    EXPECT_EQ(back->details["maker"], "M\uFFFDt\uFFFDo");
    // A copy that died before printing its result.
    EXPECT_FALSE(ResultFromWorker("", "/dev/ttyUSB3"));
    EXPECT_FALSE(ResultFromWorker("{\"result\": \"maybe\"}", "/dev/ttyUSB3"));
}

TEST(Result, ExitStatusIsZeroOnlyWhenEveryDeviceDidIt) {
    const auto run = [](std::initializer_list<Outcome> outcomes) {
        std::vector<DeviceResult> results;
        for (Outcome outcome : outcomes)
            results.push_back({"p", outcome, {}, {}, {}});
        return ExitStatus(results);
    };
    EXPECT_EQ(run({Outcome::Done, Outcome::Done, Outcome::NoDevice}), 0);
    EXPECT_EQ(run({Outcome::Done, Outcome::Failed}), 1);
    // Refused everywhere: nothing was sent anywhere. Refused on one device only
    // while another took the plan: not every device holds it.
    EXPECT_EQ(run({Outcome::Refused, Outcome::Refused, Outcome::NoDevice}), 2);
    EXPECT_EQ(run({Outcome::Refused, Outcome::Done}), 1);
    EXPECT_EQ(run({Outcome::NoDevice}), 1);
    EXPECT_EQ(run({}), 1);
}

} // namespace
} // namespace zrnctl
