#include "platform/qt/LinkWindow.h"
#include "platform/Dialog.h"
#include "platform/LinkWindow.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace {

// One message on its way from the worker to the GUI thread.
struct Call {
    unsigned msg;
    uintptr_t wParam;
    intptr_t lParam;
    intptr_t result = 0;
    bool done = false;
    std::mutex mutex;
    std::condition_variable finished;

    void Finish(intptr_t value) {
        std::lock_guard lock(mutex);
        result = value;
        done = true;
        finished.notify_all();
    }
};

std::atomic<int> pendingCalls{0};

const QEvent::Type kCallEvent = static_cast<QEvent::Type>(QEvent::User + 0x5A1);

// Qt deletes an event it never delivers (its receiver destroyed, the
// application gone); the destructor then releases the waiting worker.
class CallEvent : public QEvent {
public:
    explicit CallEvent(std::shared_ptr<Call> call) : QEvent(kCallEvent), call(std::move(call)) {}
    ~CallEvent() override {
        if (!delivered)
            call->Finish(0);
    }
    std::shared_ptr<Call> call;
    bool delivered = false;
};

class Receiver;

struct State {
    std::mutex mutex;
    Receiver* receiver = nullptr;   // guarded by mutex
    std::thread::id receiverThread; // guarded by mutex
    LinkWindow::Handler handler;    // used on the receiver's thread only
};

State& TheState() {
    // Never destroyed: the worker may call after static destruction has begun.
    static State* state = new State;
    return *state;
}

class Receiver : public QObject {
public:
    explicit Receiver(QObject* parent) : QObject(parent) {}
    ~Receiver() override {
        std::lock_guard lock(TheState().mutex);
        if (TheState().receiver == this)
            TheState().receiver = nullptr;
    }

protected:
    bool event(QEvent* event) override {
        if (event->type() != kCallEvent)
            return QObject::event(event);
        auto* call = static_cast<CallEvent*>(event);
        call->delivered = true;
        const LinkWindow::Handler handler = TheState().handler;
        const auto& c = *call->call;
        call->call->Finish(handler ? handler(c.msg, c.wParam, c.lParam) : 0);
        return true;
    }
};

} // namespace

LinkWindow::LinkWindow() : ZrnWindow{&LinkWindow::Send} {}

LinkWindow& LinkWindow::Instance() {
    static LinkWindow* window = new LinkWindow;
    return *window;
}

void LinkWindow::Attach(QObject* owner, Handler handler) {
    State& state = TheState();
    Receiver* old = nullptr;
    auto* target = new Receiver(owner);
    {
        std::lock_guard lock(state.mutex);
        old = state.receiver;
        state.handler = std::move(handler);
        state.receiver = target;
        state.receiverThread = std::this_thread::get_id();
    }
    // Deleting a receiver drops its undelivered calls, which frees their workers.
    delete old;
}

void LinkWindow::Detach(QObject* owner) {
    State& state = TheState();
    Receiver* old = nullptr;
    {
        std::lock_guard lock(state.mutex);
        if (state.receiver == nullptr || state.receiver->parent() != owner)
            return;
        old = state.receiver;
        state.receiver = nullptr;
    }
    delete old;
}

int LinkWindow::PendingCalls() {
    return pendingCalls;
}

intptr_t LinkWindow::Send(ZrnWindow*, unsigned msg, uintptr_t wParam, intptr_t lParam) {
    State& state = TheState();
    std::unique_lock lock(state.mutex);
    Receiver* receiver = state.receiver;
    if (receiver == nullptr)
        return 0;
    if (std::this_thread::get_id() == state.receiverThread) {
        lock.unlock();
        return state.handler ? state.handler(msg, wParam, lParam) : 0;
    }
    auto call = std::make_shared<Call>();
    call->msg = msg;
    call->wParam = wParam;
    call->lParam = lParam;
    // Posted under the lock so that the receiver cannot be deleted in between.
    QCoreApplication::postEvent(receiver, new CallEvent(call));
    lock.unlock();

    ++pendingCalls;
    std::unique_lock wait(call->mutex);
    call->finished.wait(wait, [&] { return call->done; });
    --pendingCalls;
    return call->result;
}

void AttachLink(CDialog& dialog) {
    LinkWindow::Instance().Attach(
        &dialog, [&dialog](unsigned msg, uintptr_t wParam, intptr_t lParam) {
            return dialog.SendMessage(kWindow, static_cast<int>(msg), wParam, lParam);
        });
}

void DetachLink(CDialog& dialog) {
    LinkWindow::Instance().Detach(&dialog);
}

HWND LinkTarget(CDialog&) {
    return &LinkWindow::Instance();
}
