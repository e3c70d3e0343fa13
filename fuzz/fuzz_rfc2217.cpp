// The telnet codec of network ports fed arbitrary gateway bytes in arbitrary
// read sizes, and what it lets through fed on to the link's receiver, as the
// worker does: telnet commands and sub-negotiations mixed into frames.
//
// Input: one byte of flags (bits 0-2: how many read sizes follow, less one;
// bit 3: Start() first; bit 4: eight bytes of line settings follow), the read
// sizes, the settings, then the bytes from the gateway.

#include "LinkReceiver.h"
#include "Rfc2217.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

struct Run {
    std::string data;
    std::string reply;
    zrn::TelnetClient::State state;
    std::string problem;
    bool settingRefused;
    bool operator==(const Run&) const = default;
};

// The worker's notifications and log, dropped: only a crash or a leak counts.
class Ignore final : public zrn::LinkEvents {
public:
    bool Notify(unsigned, const char* text) override {
        if (text != nullptr)
            last = text;
        return true;
    }
    void Log(std::string_view) override {}
    std::string last;
};

template <typename Chunk>
Run Feed(const zrn::ComPortSettings& wanted, bool start, std::string_view bytes, Chunk chunk) {
    zrn::TelnetClient client(wanted);
    zrn::LinkReceiver receiver;
    Ignore events;
    Run run{};
    if (start)
        run.reply = client.Start();
    for (std::size_t at = 0; at < bytes.size();) {
        const std::string_view read = bytes.substr(at, chunk());
        const std::size_t before = run.data.size();
        client.Feed(read, run.data, run.reply);
        if (run.data.size() - before > read.size())
            __builtin_trap();
        receiver.Receive(reinterpret_cast<const unsigned char*>(run.data.data()) + before,
                         run.data.size() - before, events);
        at += read.size();
    }
    run.state = client.Status();
    run.problem = client.Problem();
    run.settingRefused = client.SettingRefused();
    return run;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const unsigned flags = data[0];
    std::size_t at = 1;
    const std::string_view sizes = input.substr(at, (flags & 7) + 1);
    at += sizes.size();
    zrn::ComPortSettings wanted;
    if ((flags & 0x10) != 0 && size - at >= 8) {
        wanted.baud = std::uint32_t{data[at]} << 24 | std::uint32_t{data[at + 1]} << 16 |
                      std::uint32_t{data[at + 2]} << 8 | data[at + 3];
        wanted.dataSize = data[at + 4];
        wanted.parity = data[at + 5];
        wanted.stopSize = data[at + 6];
        wanted.control = data[at + 7];
        at += 8;
    }
    const bool start = (flags & 8) != 0;
    const std::string_view stream = input.substr(std::min(at, size));

    const Run whole = Feed(wanted, start, stream, [&] { return stream.size() + 1; });
    std::size_t next = 0;
    const Run chunked = Feed(wanted, start, stream, [&] {
        const std::size_t read = sizes.empty() ? 1 : std::size_t{std::uint8_t(sizes[next])} + 1;
        next = sizes.empty() ? 0 : (next + 1) % sizes.size();
        return read;
    });
    if (!(whole == chunked))
        __builtin_trap();
    if (whole.data.size() > stream.size())
        __builtin_trap();
    // Each command asks at most a command back; the settings go out once.
    if (whole.reply.size() > stream.size() + 128)
        __builtin_trap();
    if ((whole.state == zrn::TelnetClient::State::Refused) == whole.problem.empty())
        __builtin_trap();

    zrn::TelnetClient echo(wanted);
    std::string back;
    std::string reply;
    echo.Feed(zrn::TelnetClient::Escape(stream), back, reply);
    if (back != stream || !reply.empty())
        __builtin_trap();
    return 0;
}
