#include "Simulator.h"

#include "StateFile.h"
#include "Trace.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>
#include <vector>

namespace zrnsim {
namespace {

// While nobody holds the terminal side the master polls as hung up at once, so it is
// probed at this pace instead of watched.
constexpr int kPeerProbeMs = 10;

zrn::UniqueFd BlockedSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (const int s : {SIGINT, SIGTERM, SIGUSR1})
        sigaddset(&set, s);
    ::pthread_sigmask(SIG_BLOCK, &set, nullptr);
    return zrn::UniqueFd(::signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK));
}

int MsUntil(Line::Clock::time_point when) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(when - Line::Clock::now());
    return static_cast<int>(std::clamp<long long>(left.count(), 0, 60000));
}

} // namespace

Simulator::Simulator(const Options& options, Device& device, std::FILE* out)
    : options_(options), out_(out), device_(device), responder_(device, options.faults),
      line_(options.baud, std::chrono::milliseconds(options.TurnaroundMs())),
      signals_(BlockedSignals()) {
    if (!options.link.empty())
        link_.emplace(options.link);
    if (options.unplugAfter)
        unplugAt_ = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                       std::chrono::duration<double>(*options.unplugAfter));
}

int Simulator::Run() {
    if (!signals_) {
        std::perror("zrnsim: signalfd");
        return 1;
    }
    std::signal(SIGPIPE, SIG_IGN);
    SaveState();
    if (!Plug())
        return 1;
    for (;;) {
        std::vector<pollfd> fds{{signals_.get(), POLLIN, 0}};
        const bool watchTerminal = pty_ && !peerAway_;
        if (watchTerminal)
            fds.push_back({pty_->Master(), POLLIN, 0});
        if (::poll(fds.data(), fds.size(), PollTimeoutMs()) < 0 && errno != EINTR) {
            std::perror("zrnsim: poll");
            return 1;
        }
        if ((fds[0].revents & POLLIN) && !HandleSignals())
            return 0;
        if (pty_ && (!watchTerminal || fds[1].revents != 0))
            ReadTerminal();
        const auto now = Clock::now();
        if (unplugAt_ && *unplugAt_ <= now) {
            unplugAt_.reset();
            Unplug();
        }
        if (replugAt_ && *replugAt_ <= now && !Plug())
            return 1;
    }
}

bool Simulator::Plug() {
    std::string error;
    pty_ = Pty::Open(error);
    if (!pty_ || (link_ && !link_->PointAt(pty_->TerminalPath(), error))) {
        std::fprintf(stderr, "zrnsim: %s\n", error.c_str());
        return false;
    }
    replugAt_.reset();
    peerAway_ = true;
    std::fprintf(out_, "%s\n", pty_->TerminalPath().c_str());
    std::fflush(out_);
    Trace("# plugged in at " + pty_->TerminalPath());
    return true;
}

void Simulator::Unplug() {
    if (!pty_)
        return;
    Trace("# unplugged");
    if (link_)
        link_->Remove();
    pty_.reset();
    reader_.Reset();
    replugAt_ = Clock::now() + std::chrono::milliseconds(options_.unplugPauseMs);
}

bool Simulator::HandleSignals() {
    signalfd_siginfo info{};
    while (::read(signals_.get(), &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
        if (info.ssi_signo == SIGUSR1)
            Unplug();
        else
            return false;
    }
    return true;
}

void Simulator::ReadTerminal() {
    char chunk[256];
    const ssize_t n = ::read(pty_->Master(), chunk, sizeof chunk);
    if (n > 0) {
        peerAway_ = false;
        Answer(std::string_view(chunk, static_cast<std::size_t>(n)));
    } else if (n < 0 && errno == EAGAIN) {
        peerAway_ = false;
    } else if (n == 0 || errno == EIO) {
        // The PC closed the port; keep the device and wait for the next open.
        if (!peerAway_)
            Trace("# port closed");
        peerAway_ = true;
        reader_.Reset();
    }
}

void Simulator::Answer(std::string_view bytes) {
    const auto arrived = line_.Arrived(bytes.size());
    std::vector<ReceivedFrame> frames;
    reader_.Feed(bytes, frames);
    for (const ReceivedFrame& frame : frames) {
        Trace(DescribeIncoming(frame));
        const std::vector<Element> elements = responder_.Answer(frame);
        if (responder_.KeptOldValue())
            Trace("# kept the old value");
        if (!elements.empty())
            line_.AwaitTurnaround(arrived);
        // Written before the answer goes out: once the PC has its answer, the
        // file already holds what the command did.
        SaveState();
        for (const Element& element : elements) {
            Trace(DescribeOutgoing(element));
            if (!line_.Write(pty_->Master(), element.bytes))
                return; // the PC went away mid-answer
        }
    }
}

void Simulator::SaveState() const {
    if (!options_.stateOut.empty() &&
        !SaveStateFile(options_.stateOut, device_.State(), std::time(nullptr)))
        std::fprintf(stderr, "zrnsim: cannot write %s\n", options_.stateOut.c_str());
}

int Simulator::PollTimeoutMs() const {
    int timeout = -1;
    const auto consider = [&timeout](int ms) {
        timeout = timeout < 0 ? ms : std::min(timeout, ms);
    };
    if (pty_ && peerAway_)
        consider(kPeerProbeMs);
    if (unplugAt_)
        consider(MsUntil(*unplugAt_));
    if (replugAt_)
        consider(MsUntil(*replugAt_));
    return timeout;
}

void Simulator::Trace(const std::string& line) const {
    if (options_.trace)
        std::fprintf(stderr, "%s\n", line.c_str());
}

} // namespace zrnsim
