// The exit status of a run over several ports.
#include "Result.h"

#include <gtest/gtest.h>

namespace zrnctl {
namespace {

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
    // A difference is 3 only when nothing failed beside it.
    EXPECT_EQ(run({Outcome::Done, Outcome::Differs, Outcome::NoDevice}), 3);
    EXPECT_EQ(run({Outcome::Differs, Outcome::Failed}), 1);
    EXPECT_EQ(run({Outcome::Differs, Outcome::Refused}), 1);
    EXPECT_EQ(run({}), 1);
}

} // namespace
} // namespace zrnctl
