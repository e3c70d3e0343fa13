#include "EnvGuard.h"
#include "Scratch.h"
#include "device/PortList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace zrn;
namespace fs = std::filesystem;

namespace {

// A fake /sys/class/tty.
class PortList : public ::testing::Test {
protected:
    void Tty(const std::string& name, bool device, bool driver = false,
             const char* type = nullptr) {
        fs::create_directories(root_ / name);
        if (device)
            fs::create_directories(root_ / name / "device");
        if (driver)
            fs::create_directories(root_ / name / "device" / "driver");
        if (type)
            std::ofstream(root_ / name / "type") << type << "\n";
    }
    zrntest::ScratchDir scratch{"zrn_tty"};
    const fs::path root_ = scratch.Dir();
};

} // namespace

TEST_F(PortList, RealPortsInNameOrder) {
    Tty("ttyS0", true, true, "4");
    Tty("ttyS1", true, true, "0");   // placeholder 8250 port
    Tty("ttyS2", false, false, "4"); // no device behind it
    Tty("ttyUSB10", true);
    Tty("ttyUSB2", true);
    Tty("ttyUSB0", true);
    Tty("ttyACM0", true);
    Tty("ttyAMA0", true);
    Tty("ttyUSB3", false);
    Tty("tty1", false);
    Tty("console", false);
    Tty("ptmx", false);
    Tty("ttyprintk", false);
    EXPECT_EQ(ListSerialPorts(root_.string()),
              (std::vector<std::string>{"/dev/ttyACM0", "/dev/ttyAMA0", "/dev/ttyS0",
                                        "/dev/ttyUSB0", "/dev/ttyUSB2", "/dev/ttyUSB10"}));
    EXPECT_TRUE(ListSerialPorts((root_ / "missing").string()).empty());
}

TEST_F(PortList, EnvironmentReplacesTheSystemList) {
    {
        EnvGuard ports("ZRNCOM_PORTS", "/dev/pts/7::/dev/pts/3:");
        EXPECT_EQ(SystemSerialPorts(), (std::vector<std::string>{"/dev/pts/7", "/dev/pts/3"}));
    }
    EnvGuard ports("ZRNCOM_PORTS", "");
    EXPECT_TRUE(SystemSerialPorts().empty());
}

// Old values split at ':' as before; ';' lets a network port's own ':' stand.
TEST(SplitPortList, SemicolonsFirstThenColonsOutsideNetworkPorts) {
    const struct {
        std::string_view value;
        std::vector<std::string> ports;
    } cases[] = {
        {"", {}},
        {"/dev/a:/dev/b", {"/dev/a", "/dev/b"}},
        {"COM1:COM3", {"COM1", "COM3"}},
        {"::/dev/a:::", {"/dev/a"}},
        {"/dev/a;/dev/b", {"/dev/a", "/dev/b"}},
        {"COM1:COM2;COM3", {"COM1", "COM2", "COM3"}},
        {"tcp://gw:4001", {"tcp://gw:4001"}},
        {"/dev/a;tcp://gw:4001;COM2:COM3", {"/dev/a", "tcp://gw:4001", "COM2", "COM3"}},
        {"rfc2217://[::1]:7000?timeout=5;;", {"rfc2217://[::1]:7000?timeout=5"}},
        {";;rfc2217://127.0.0.2:7000;tcp://h:1", {"rfc2217://127.0.0.2:7000", "tcp://h:1"}},
        // Without ';' a network port takes the whole piece, colons and all.
        {"COM1:tcp://gw:4001", {"COM1:tcp://gw:4001"}},
        {"\\\\.\\COM10;COM2", {"\\\\.\\COM10", "COM2"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitPortList(c.value), c.ports) << c.value;
}

TEST(PortListBox, SortsLikeTheConnectDialog) {
    std::vector<std::string> ports = {"COM3", "COM10", "com2", "COM1"};
    std::sort(ports.begin(), ports.end(), PortListBoxLess);
    EXPECT_EQ(ports, (std::vector<std::string>{"COM1", "COM10", "com2", "COM3"}));
    EXPECT_EQ(PortDefinition("/dev/ttyUSB0"), "/dev/ttyUSB0:9600,N,8,1");
}

// SERIALCOMM values as RegEnumValueA hands them over: the size may count the
// NUL and a careless driver may leave more behind it.
TEST(RegistryPortName, TextBeforeTheFirstNul) {
    using namespace std::string_view_literals;
    const struct {
        std::string_view data;
        std::optional<std::string> name;
    } cases[] = {
        {"COM1\0"sv, "COM1"},     {"COM10"sv, "COM10"}, {"\\\\.\\COM3\0\0"sv, "\\\\.\\COM3"},
        {"COM4\0junk"sv, "COM4"}, {""sv, std::nullopt}, {"\0COM5"sv, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PortNameFromRegistryData(c.data), c.name) << testing::PrintToString(c.data);
}
