// The randomized operator at length: RapidCheck's cases of random steps at the
// real dialog against zrnsim with line faults, and what they went through.
//   operator_soak [cases] [size] [seed] [gateway]
// With "gateway", ser2net stands between the program and the device and now
// and then goes away for a few seconds.
// A case runs up to about `size` steps. A failure prints its steps and a
// "reproduce=..." value without shrinking them (a shrink of hundreds of steps
// takes hours); RC_PARAMS="reproduce=... " with shrinking on makes it short.
#include "OperatorSteps.h"

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    const std::string cases = argc > 1 ? argv[1] : "60";
    const std::string size = argc > 2 ? argv[2] : "200";
    const std::string seed = argc > 3 ? argv[3] : "20261208";
    static bool viaGateway = argc > 4 && std::string(argv[4]) == "gateway";
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // RC_PARAMS, when set, wins: a failure's "reproduce=..." runs just that case.
    const char* given = std::getenv("RC_PARAMS");
    const std::string params =
        given ? given
              : "seed=" + seed + " max_success=" + cases + " max_size=" + size + " noshrink=1";
    ::setenv("RC_PARAMS", params.c_str(), 1);
    QApplication app(argc, argv);

    const auto start = std::chrono::steady_clock::now();
    const bool held = rc::check("the list tells what the device holds",
                                [] { operator_steps::OperatorRun(viaGateway); });
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const RigCounts& t = OperatorRig::Total();
    std::printf("%s: %s\n", params.c_str(), held ? "no divergence" : "DIVERGENCE (see above)");
    std::printf("steps %ld in %.1f s (%.1f steps/s)\n", t.steps, seconds, t.steps / seconds);
    std::printf("frames to the device %ld, NAKs %ld, boxes answered %ld\n", t.frames, t.naks,
                t.boxes);
    std::printf("changes the device did not take %ld, rows left \"Not read\" %ld, rescans %ld\n",
                t.reports, t.notRead, t.rescans);
    std::printf("timer seconds while the line stalled %ld\n", t.timerSeconds);
    if (viaGateway)
        std::printf("gateway outages %ld\n", t.outages);
    return held ? 0 : 1;
}
