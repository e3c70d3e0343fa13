// Port names as the link reads them: a local device, or a gateway.
#include "PortName.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace zrn;
using Protocol = NetworkAddress::Protocol;

namespace {

struct Read {
    Protocol protocol;
    std::string host, service;
    long long timeoutMs;
    std::string settings;
    bool operator==(const Read&) const = default;
};

std::optional<Read> ReadOf(std::string_view definition) {
    std::string problem;
    const auto parsed = ParsePortDefinition(definition, problem);
    if (!parsed || !parsed->network)
        return std::nullopt;
    EXPECT_TRUE(problem.empty());
    const NetworkAddress& a = *parsed->network;
    return Read{a.protocol, a.host, a.service, a.timeout.count(), parsed->settings};
}

TEST(PortName, GatewaysAndWhatIsRefused) {
    const struct {
        std::string_view definition;
        std::optional<Read> read;
    } cases[] = {
        {"tcp://gateway:4001", Read{Protocol::Raw, "gateway", "4001", 5000, ""}},
        {"rfc2217://127.0.0.1:7000:9600,N,8,1",
         Read{Protocol::Rfc2217, "127.0.0.1", "7000", 5000, "9600,N,8,1"}},
        {"RFC2217://[::1]:7000", Read{Protocol::Rfc2217, "::1", "7000", 5000, ""}},
        {"tcp://[fe80::1:2ab]:1", Read{Protocol::Raw, "fe80::1:2ab", "1", 5000, ""}},
        {"tcp://[1:2:3:4:5:6:7:8]:65535",
         Read{Protocol::Raw, "1:2:3:4:5:6:7:8", "65535", 5000, ""}},
        {"tcp://[::ffff:127.0.0.1]:80", Read{Protocol::Raw, "::ffff:127.0.0.1", "80", 5000, ""}},
        {"tcp://gw-3.field.example:4001?timeout=10:9600,N,8,1",
         Read{Protocol::Raw, "gw-3.field.example", "4001", 10000, "9600,N,8,1"}},
        {"rfc2217://[::1]:7000?timeout=0.25", Read{Protocol::Rfc2217, "::1", "7000", 250, ""}},
        // The port: missing, out of range or not a plain number.
        {"tcp://gw", {}},
        {"tcp://gw:", {}},
        {"tcp://gw:0", {}},
        {"tcp://gw:65536", {}},
        {"tcp://gw:000080", {}},
        {"tcp://gw:+80", {}},
        // The host.
        {"tcp://:80", {}},
        {"tcp://[]:80", {}},
        {"tcp://[::1:7000", {}},
        {"tcp://[1::2::3]:80", {}},
        {"tcp://[1:2:3:4:5:6:7:8:9]:80", {}},
        {"tcp://[1.2.3.4]:80", {}},
        {"tcp://256.0.0.1:80", {}},
        {"tcp://-gw:80", {}},
        {"tcp://gw..example:80", {}},
        {"tcp://user@gw:80", {}},
        {"tcp://gw/path:80", {}},
        // The time-out.
        {"tcp://gw:80?timeout=0", {}},
        {"tcp://gw:80?timeout=", {}},
        {"tcp://gw:80?timeout=3601", {}},
        {"tcp://gw:80?baud=9600", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.definition);
        EXPECT_EQ(ReadOf(c.definition), c.read);
    }
}

TEST(PortName, ALocalDeviceIsTheTextBeforeTheFirstColon) {
    std::string problem;
    const auto parsed = ParsePortDefinition("/dev/ttyUSB0:9600,N,8,1", problem);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->name, "/dev/ttyUSB0");
    EXPECT_EQ(parsed->settings, "9600,N,8,1");
    EXPECT_FALSE(parsed->network);
    EXPECT_EQ(PortFileTag("rfc2217://[::1]:7000"), "rfc2217_1_7000");
}

} // namespace
