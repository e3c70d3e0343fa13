// The exported functions: the four of the default link, called on the
// caller's thread, and the link handles, called on any.

#include "DebugOutput.h"
#include "PortName.h"
#include "ZRNComDll.h"
#include "ZrnLink.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>

struct ZrnLinkHandle {
    std::shared_ptr<zrn::ZrnLink> link;
};

namespace zrn {
namespace {

int Open(HWND hwnd, const char* definition) {
    ZrnLink& link = TheLink();
    {
        const std::lock_guard lock(link.mutex);
        link.hwndNotify = hwnd;
    }
    bool open = false;
    if (definition != nullptr) {
        open = link.OpenPort(TheLinkShared(), definition);
    } else {
        const std::lock_guard lock(link.mutex);
        open = link.session != nullptr;
    }
    DebugTrace("ZrnOpen %s %s\n", definition != nullptr ? definition : "",
               open ? "Passed" : "Failed");
    return open ? 1 : 0;
}

void Fill(ZrnOpenError* out, const LinkError& error) {
    if (out == nullptr)
        return;
    out->code = error.code;
    const std::size_t length = std::min(error.message.size(), sizeof out->message - 1);
    std::memcpy(out->message, error.message.data(), length);
    out->message[length] = '\0';
}

// A bare port name gets the device's line settings.
std::string DefinitionOf(const std::string& port) {
    std::string problem;
    const auto parsed = ParsePortDefinition(port, problem);
    if (parsed && parsed->settings.empty() &&
        port.find(":", parsed->name.size()) == std::string::npos)
        return port + ":9600,N,8,1";
    return port;
}

ZrnLinkHandle* OpenLink(const char* port, ZrnLinkCallback callback, void* user,
                        ZrnOpenError* error) {
    if (port == nullptr) {
        Fill(error, MakeError(ZRN_ERROR_BAD_NAME, "", "no port named"));
        return nullptr;
    }
    try {
        auto handle = std::make_unique<ZrnLinkHandle>();
        handle->link = std::make_shared<ZrnLink>();
        handle->link->callback = callback;
        handle->link->user = user;
        const bool open = handle->link->OpenPort(handle->link, DefinitionOf(port));
        DebugTrace("ZrnOpenLink %s %s\n", port, open ? "Passed" : "Failed");
        {
            const std::lock_guard lock(handle->link->mutex);
            Fill(error, handle->link->lastOpenError);
        }
        return open ? handle.release() : nullptr;
    } catch (const std::bad_alloc&) {
        Fill(error, MakeError(ZRN_ERROR_NO_MEMORY, port));
        return nullptr;
    }
}

void CloseLink(ZrnLinkHandle* handle) {
    if (handle == nullptr)
        return;
    const std::unique_ptr<ZrnLinkHandle> owned(handle);
    ZrnLink& link = *owned->link;
    {
        const std::lock_guard lock(link.mutex);
        link.callback = nullptr;
        link.user = nullptr;
    }
    link.ClosePort("ZrnCloseLink");
    link.log.Switch(false);
    // A callback under way finishes before this returns; from inside one of
    // this handle's own callbacks there is nothing to wait for but itself.
    if (LinkDeliveringHere() != &link) {
        const std::lock_guard lock(link.delivery);
    }
}

} // namespace
} // namespace zrn

extern "C" {

int fnZrnOpen(HWND hwnd, const char* definition) {
    return zrn::Open(hwnd, definition);
}

int fnZrnSend(const char* text) {
    return text != nullptr && zrn::TheLink().Push(text, "ZrnSend") ? 1 : 0;
}

int fnZrnClose(void) {
    zrn::TheLink().ClosePort("ZrnClose");
    return 1;
}

int fnZrnLog(bool enable) {
    return zrn::TheLink().log.Switch(enable) ? 1 : 0;
}

ZrnLinkHandle* fnZrnOpenLink(const char* port, ZrnLinkCallback callback, void* user,
                             ZrnOpenError* error) {
    return zrn::OpenLink(port, callback, user, error);
}

int fnZrnSendLink(ZrnLinkHandle* link, const char* text) {
    return link != nullptr && text != nullptr && link->link->Push(text, "ZrnSendLink") ? 1 : 0;
}

void fnZrnCloseLink(ZrnLinkHandle* link) {
    zrn::CloseLink(link);
}

int fnZrnLogLink(ZrnLinkHandle* link, bool enable) {
    if (link == nullptr)
        return 0;
    std::string port;
    {
        const std::lock_guard lock(link->link->mutex);
        port = link->link->portName;
    }
    return link->link->log.Switch(enable, port) ? 1 : 0;
}

int fnZrnOpenError(ZrnOpenError* error) {
    zrn::ZrnLink& link = zrn::TheLink();
    const std::lock_guard lock(link.mutex);
    zrn::Fill(error, link.lastOpenError);
    return link.lastOpenError.code;
}

const char* fnZrnErrorName(int code) {
    return zrn::ErrorName(code);
}
}
