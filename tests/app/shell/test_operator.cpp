// Random operator actions at the real dialog against zrnsim with line faults:
// after every step the list shows what the device holds (or "Not read"), the
// highlight is the panel's entry, and every change the device refused was told.
// CTest runs a few seeded cases; bench/operator_soak runs thousands of steps.
#include "OperatorSteps.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <cstdlib>

namespace {

// A fixed seed and size unless RC_PARAMS says otherwise: some 400 steps in six
// cases. A failure prints the seed, the steps and a "reproduce=..." value; it is
// not shrunk here (a case of hundreds of steps takes long to shrink): run
// RC_PARAMS="seed=20261208 max_success=6 max_size=400" test_operator to get
// the short sequence.
const bool kParams =
    ::setenv("RC_PARAMS", "seed=20261208 max_success=6 max_size=400 noshrink=1", 0) == 0;

} // namespace

RC_GTEST_PROP(OperatorAtTheDialog, TheListTellsWhatTheDeviceHolds, ()) {
    operator_steps::OperatorRun();
}
