// The four exported functions, called on the caller's thread.

#include "DebugOutput.h"
#include "ZRNComDll.h"
#include "ZrnLink.h"

#include <string>
#include <string_view>
#include <system_error>

namespace zrn {
namespace {

bool OpenPort(ZrnLink& link, std::string_view definition) {
    auto session = PortSession::Open(definition);
    if (!session)
        return false;
    {
        const std::lock_guard lock(link.mutex);
        link.session = session;
    }
    try {
        StartWorker(session);
    } catch (const std::system_error&) {
        const std::lock_guard lock(link.mutex);
        link.session.reset();
        session->Stop();
        return false;
    }
    return true;
}

int Open(HWND hwnd, const char* definition) {
    ZrnLink& link = TheLink();
    bool open;
    {
        const std::lock_guard lock(link.mutex);
        link.hwndNotify = hwnd;
        open = link.session != nullptr;
    }
    if (!open && definition != nullptr) {
        try {
            open = OpenPort(link, definition);
        } catch (const std::bad_alloc&) {
            open = false;
        }
    }
    DebugTrace("ZrnOpen %s %s\n", definition != nullptr ? definition : "",
               open ? "Passed" : "Failed");
    return open ? 1 : 0;
}

int Send(const char* text) {
    if (text == nullptr)
        return 0;
    ZrnLink& link = TheLink();
    std::shared_ptr<PortSession> session;
    try {
        std::string copy(text);
        const std::lock_guard lock(link.mutex);
        link.commandQueue.push_back(std::move(copy));
        DebugTrace("ZrnSend pushed %s, depth = %d\n", link.commandQueue.back().c_str(),
                   static_cast<int>(link.commandQueue.size()));
        session = link.session;
    } catch (const std::bad_alloc&) {
        return 0;
    }
    // A worker with nothing to do sleeps until told; the queue lock is not
    // held for that.
    if (session)
        session->Wake();
    return 1;
}

int Close() {
    ZrnLink& link = TheLink();
    std::shared_ptr<PortSession> session;
    {
        const std::lock_guard lock(link.mutex);
        session = std::move(link.session);
        if (session)
            link.hwndNotify = nullptr;
    }
    // Closes the port at once; the worker finds it stopped at its next access.
    if (session)
        session->Stop();
    const std::lock_guard lock(link.mutex);
    while (!link.commandQueue.empty()) {
        const std::string text = std::move(link.commandQueue.front());
        link.commandQueue.pop_front();
        DebugTrace("ZrnClose pop'd %s, depth = %d\n", text.c_str(),
                   static_cast<int>(link.commandQueue.size()));
    }
    return 1;
}

} // namespace
} // namespace zrn

extern "C" {

int fnZrnOpen(HWND hwnd, const char* definition) {
    return zrn::Open(hwnd, definition);
}

int fnZrnSend(const char* text) {
    return zrn::Send(text);
}

int fnZrnClose(void) {
    return zrn::Close();
}

int fnZrnLog(bool enable) {
    return zrn::TheLink().log.Switch(enable) ? 1 : 0;
}
}
