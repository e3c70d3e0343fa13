#include "Device.h"
#include "Options.h"
#include "Simulator.h"
#include "StateFile.h"

#include <cstdio>
#include <ctime>

int main(int argc, char** argv) {
    std::string error;
    const auto options =
        zrnsim::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::fprintf(stderr, "zrnsim: %s (see --help)\n", error.c_str());
        return 2;
    }
    if (options->help) {
        std::fputs(zrnsim::UsageText(), stdout);
        return 0;
    }
    const std::time_t now = std::time(nullptr);
    zrnsim::DeviceState state = zrnsim::DefaultState(now);
    if (!options->stateFile.empty() &&
        !zrnsim::LoadStateFile(options->stateFile, state, now, error)) {
        std::fprintf(stderr, "zrnsim: %s\n", error.c_str());
        return 2;
    }
    zrnsim::Device device(std::move(state), [] { return std::time(nullptr); });
    zrnsim::Simulator simulator(*options, device, stdout);
    return simulator.Run();
}
