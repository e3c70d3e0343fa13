// The link's receive path fed arbitrary line bytes in arbitrary read sizes.

#include "FrameCrc.h"
#include "LinkReceiver.h"
#include "ZRNComDll.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

class CheckingEvents final : public zrn::LinkEvents {
public:
    bool Notify(unsigned wParam, const char* lParam) override {
        if (wParam == LINK_REPLY || wParam == LINK_DATA) {
            // A reply is text that never holds the CR that ended its frame.
            if (lParam == nullptr || std::strchr(lParam, zrn::CR) != nullptr)
                std::abort();
            if ((wParam == LINK_DATA) != (lParam[0] == 'D'))
                std::abort();
        } else if (wParam != LINK_ACK && wParam != LINK_NAK) {
            std::abort();
        }
        return true;
    }
    void Log(std::string_view line) override {
        if (line.find('\r') != std::string_view::npos)
            std::abort();
    }
};

} // namespace

// The first byte picks the read size (1 to 256), as a port read may return any.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::size_t chunk = static_cast<std::size_t>(data[0]) + 1;
    ++data;
    --size;
    zrn::LinkReceiver receiver;
    CheckingEvents events;
    for (std::size_t at = 0; at < size; at += chunk) {
        receiver.TakeCommand("C");
        receiver.Receive(data + at, size - at < chunk ? size - at : chunk, events);
    }
    return 0;
}
