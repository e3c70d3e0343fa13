// ZRNComDllThread: the only code that reads and writes an open port.

#include "DebugOutput.h"
#include "FrameCrc.h"
#include "LinkReceiver.h"
#include "WindowMessage.h"
#include "ZrnLink.h"

#include <array>
#include <chrono>
#include <pthread.h>
#include <thread>

namespace zrn {
namespace {

constexpr auto kReadTimeout = std::chrono::milliseconds(20);

thread_local const ZrnLink* deliveringFor = nullptr;

// Notifications and log entries of one worker, for its own open only.
class WorkerEvents final : public LinkEvents {
public:
    WorkerEvents(ZrnLink& link, const PortSession* session) : link(link), session(session) {}

    bool Notify(unsigned wParam, const char* lParam) override {
        // Once close has taken the session away no new notification starts;
        // one that got its window before close may still be delivered.
        const LinkTarget target = link.TargetFor(session);
        if (target.window != nullptr) {
            SendToWindow(target.window, wParam, lParam);
            return true;
        }
        if (target.callback == nullptr)
            return false;
        // A handle's close waits for this lock, then finds the session gone:
        // once it has returned, nothing more reaches the caller's user data.
        const std::lock_guard lock(link.delivery);
        if (link.TargetFor(session).callback == nullptr)
            return false;
        deliveringFor = &link;
        target.callback(target.user, wParam, lParam);
        deliveringFor = nullptr;
        return true;
    }

    // A lost port is news only to a handle's caller; the default link's
    // window keeps seeing a silent port, as it always has.
    void TellLost(const std::string& reason) {
        if (link.TargetFor(session).callback != nullptr) {
            DebugTrace("ZRNComDllThread lost the port: %s\n", reason.c_str());
            Notify(LINK_LOST, reason.c_str());
        }
    }

    // What a closed open still had in hand goes nowhere, the log included.
    void Log(std::string_view line) override {
        if (!session->Stopped())
            link.log.WriteLine(line);
    }

private:
    ZrnLink& link;
    const PortSession* session;
};

// A gateway delays the device's answers by the network's round trip, often
// past the idle read; a command written before the previous one's ACK or NAK
// would be given that answer. So on a network port the next command also
// waits for it, up to this long.
constexpr auto kNetworkAnswerWait = std::chrono::milliseconds(500);

// On an idle read only: at most one command per read time-out, never while
// the device is talking.
void Transmit(ZrnLink& link, PortSession& session, LinkReceiver& receiver,
              std::chrono::steady_clock::time_point& lastWrite) {
    if (session.Networked() && receiver.PendingCommand() &&
        std::chrono::steady_clock::now() < lastWrite + kNetworkAnswerWait)
        return;
    auto text = link.PopCommandFor(&session);
    if (!text)
        return;
    const std::string& command = receiver.TakeCommand(std::move(*text));
    std::string frame;
    try {
        frame = BuildFrame(command);
    } catch (const std::bad_alloc&) {
        return; // not written, not logged; it stays pending
    }
    link.log.WriteLine(command);
    session.WriteAll(frame);
    lastWrite = std::chrono::steady_clock::now();
}

void ZRNComDllThread(std::shared_ptr<ZrnLink> owner, std::shared_ptr<PortSession> session) {
    ZrnLink& link = *owner;
    LinkReceiver receiver;
    WorkerEvents events(link, session.get());
    std::array<unsigned char, 256> chunk{};
    std::chrono::steady_clock::time_point lastWrite{};
    for (;;) {
        // Only a queued command needs an idle read to go out after; without
        // one the worker sleeps until bytes come or a send or close wakes it.
        const auto read = link.HasCommandFor(session.get())
                              ? session->IdleRead(chunk.data(), chunk.size(), kReadTimeout)
                              : session->ReadOrWake(chunk.data(), chunk.size(), kReadTimeout);
        try {
            switch (read.outcome) {
            case PortSession::Outcome::Stopped:
                return;
            case PortSession::Outcome::Bytes:
                receiver.Receive(chunk.data(), read.count, events);
                break;
            case PortSession::Outcome::Idle:
                if (const auto loss = session->TakeLoss())
                    events.TellLost(*loss);
                Transmit(link, *session, receiver, lastWrite);
                break;
            case PortSession::Outcome::Woken:
                break; // look at the queue again
            }
        } catch (const std::bad_alloc&) {
            // Out of memory loses what this read brought; the link goes on.
        }
    }
}

} // namespace

const ZrnLink* LinkDeliveringHere() {
    return deliveringFor;
}

void StartWorker(std::shared_ptr<ZrnLink> link, std::shared_ptr<PortSession> session) {
    std::thread worker(ZRNComDllThread, std::move(link), std::move(session));
    ::pthread_setname_np(worker.native_handle(), "ZRNComDllThread");
    // Nobody waits for a worker: it ends by itself once its port is closed.
    worker.detach();
}

} // namespace zrn
