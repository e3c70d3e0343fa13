#pragma once
// The zrnsim program's loop: the pseudo-terminal, signals, unplug and replug.

#include "Device.h"
#include "FrameReader.h"
#include "Line.h"
#include "Options.h"
#include "Pty.h"
#include "Responder.h"
#include "UniqueFd.h"

#include <cstdio>
#include <optional>

namespace zrnsim {

class Simulator {
public:
    // Blocks SIGINT, SIGTERM and SIGUSR1 for the calling thread: they arrive through a signalfd.
    Simulator(const Options& options, Device& device, std::FILE* out);

    // Runs until SIGINT or SIGTERM; the exit status.
    int Run();

private:
    using Clock = Line::Clock;

    bool Plug();
    void Unplug();
    bool HandleSignals(); // false when asked to stop
    void ReadTerminal();
    void Answer(std::string_view bytes);
    int PollTimeoutMs() const;
    void Trace(const std::string& line) const;

    void SaveState() const;

    const Options& options_;
    std::FILE* out_;
    const Device& device_;
    Responder responder_;
    Line line_;
    FrameReader reader_;
    zrn::UniqueFd signals_;
    std::optional<Pty> pty_;
    std::optional<SymlinkKeeper> link_;
    bool peerAway_ = true; // nobody holds the terminal side: the master reads EIO
    std::optional<Clock::time_point> unplugAt_, replugAt_;
};

} // namespace zrnsim
