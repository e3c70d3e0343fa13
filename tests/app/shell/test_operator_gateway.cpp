// The randomized operator with ser2net between the program and the device,
// the gateway now and then going away for a few seconds: after it comes back
// the list again tells what the device holds. A short run; bench/operator_soak
// with "gateway" runs it at length.
#include "Gateway.h"
#include "OperatorSteps.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <cstdlib>

namespace {

const bool kParams =
    ::setenv("RC_PARAMS", "seed=20261210 max_success=2 max_size=80 noshrink=1", 0) == 0;

} // namespace

TEST(OperatorBehindAGateway, TheListTellsWhatTheDeviceHoldsAcrossOutages) {
    if (!zrnsim::Gateway::Available())
        GTEST_SKIP() << "ser2net is not installed";
    EXPECT_TRUE(rc::check("the list tells what the device holds",
                          [] { operator_steps::OperatorRun(true); }));
}
