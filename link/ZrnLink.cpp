#include "ZrnLink.h"

#include "DebugOutput.h"
#include "PortName.h"

#include <new>
#include <system_error>

namespace zrn {
namespace {

// Storage whose content is built once and never destroyed, so static
// destruction at exit cannot pull the record from under a running worker.
template <typename T> union Immortal {
    Immortal() { new (&value) T(); }
    ~Immortal() {}
    T value;
};

} // namespace

ZrnLink& TheLink() {
    static Immortal<ZrnLink> link;
    return link.value;
}

std::shared_ptr<ZrnLink> TheLinkShared() {
    // Owns nothing: the default link outlives every worker.
    return std::shared_ptr<ZrnLink>(std::shared_ptr<void>(), &TheLink());
}

LinkTarget ZrnLink::TargetFor(const PortSession* worker) {
    const std::lock_guard lock(mutex);
    if (session.get() != worker)
        return {};
    return {hwndNotify, callback, user};
}

bool ZrnLink::HasCommandFor(const PortSession* worker) {
    const std::lock_guard lock(mutex);
    return session.get() == worker && !commandQueue.empty();
}

std::optional<std::string> ZrnLink::PopCommandFor(const PortSession* worker) {
    const std::lock_guard lock(mutex);
    if (session.get() != worker || commandQueue.empty())
        return std::nullopt;
    std::string text = std::move(commandQueue.front());
    commandQueue.pop_front();
    // Traced under the lock so the depths appear in the order they happened.
    DebugTrace("ZRNComDllThread pop'd %s, depth = %d\n", text.c_str(),
               static_cast<int>(commandQueue.size()));
    return text;
}

bool ZrnLink::OpenPort(const std::shared_ptr<ZrnLink>& self, std::string_view definition) {
    {
        const std::lock_guard lock(mutex);
        if (session != nullptr)
            return true;
    }
    LinkError error;
    std::shared_ptr<PortSession> opened;
    try {
        opened = PortSession::Open(definition, error);
    } catch (const std::bad_alloc&) {
        error = MakeError(ZRN_ERROR_NO_MEMORY, definition);
    }
    {
        const std::lock_guard lock(mutex);
        lastOpenError = error;
        if (!opened)
            return false;
        session = opened;
        std::string problem;
        const auto parsed = ParsePortDefinition(definition, problem);
        portName = parsed ? parsed->name : std::string(definition);
        // A gateway's log would not say which site it talked to: a comment
        // line names it. A local port's log stays as it always was.
        if (parsed && parsed->network)
            log.WriteLine("# " + portName);
    }
    try {
        StartWorker(self, opened);
    } catch (const std::system_error& failure) {
        const std::lock_guard lock(mutex);
        session.reset();
        opened->Stop();
        lastOpenError = MakeError(ZRN_ERROR_SYSTEM, definition, failure.what());
        return false;
    }
    return true;
}

bool ZrnLink::Push(const char* text, const char* trace) {
    std::shared_ptr<PortSession> current;
    try {
        std::string copy(text);
        const std::lock_guard lock(mutex);
        commandQueue.push_back(std::move(copy));
        DebugTrace("%s pushed %s, depth = %d\n", trace, commandQueue.back().c_str(),
                   static_cast<int>(commandQueue.size()));
        current = session;
    } catch (const std::bad_alloc&) {
        return false;
    }
    // A worker with nothing to do sleeps until told; the queue lock is not
    // held for that.
    if (current)
        current->Wake();
    return true;
}

void ZrnLink::ClosePort(const char* trace) {
    std::shared_ptr<PortSession> closing;
    {
        const std::lock_guard lock(mutex);
        closing = std::move(session);
        if (closing)
            hwndNotify = nullptr;
    }
    // Closes the port at once; the worker finds it stopped at its next access.
    if (closing)
        closing->Stop();
    const std::lock_guard lock(mutex);
    while (!commandQueue.empty()) {
        const std::string text = std::move(commandQueue.front());
        commandQueue.pop_front();
        DebugTrace("%s pop'd %s, depth = %d\n", trace, text.c_str(),
                   static_cast<int>(commandQueue.size()));
    }
}

} // namespace zrn
