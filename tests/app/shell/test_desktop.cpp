// --help and --version, and what a refused port tells the operator.
#include "ports/PortAccess.h"
#include "shell/Usage.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <string_view>
#include <unistd.h>
#include <utility>

using namespace zrn;

TEST(Usage, HelpAndVersionAreArgumentsOfTheirOwn) {
    struct Case {
        std::vector<const char*> args;
        std::optional<std::string> starts; // nullopt: the program starts as usual
    };
    const Case cases[] = {
        {{"ZRNcom"}, std::nullopt},
        {{"ZRNcom", "--help"}, "Usage: ZRNcom"},
        {{"ZRNcom", "-LOG_COMM", "--version"}, "ZRNcom 2.0.0.0\n"},
        {{"ZRNcom", "--version", "--help"}, "ZRNcom 2.0.0.0\n"},
        {{"ZRNcom", "-help"}, std::nullopt},
        {{"ZRNcom", "--HELP"}, std::nullopt},
        {{"ZRNcom", "x--help"}, std::nullopt},
        // The program's name is no argument.
        {{"--help"}, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto text =
            InformationText(static_cast<int>(c.args.size()), c.args.data(), "2.0.0.0");
        ASSERT_EQ(text.has_value(), c.starts.has_value()) << c.args.back();
        if (text) {
            EXPECT_TRUE(text->starts_with(*c.starts)) << *text;
        }
    }
}

TEST(Usage, HelpNamesEverySwitchAndVariable) {
    const char* args[] = {"ZRNcom", "--help"};
    const std::string text = *InformationText(2, args, "1");
    for (const char* word : {"-LOG_COMM", "-NO_SCAN_COMM_PORTS", "-EDIT_SDI_INFO", "ZRNCOM_PORTS",
                             "ZRNCOM_DEBUG", "--version", ".local/state/ZRNcom"})
        EXPECT_NE(text.find(word), std::string::npos) << word;
}

TEST(PortAccess, DevicePathIsTheDefinitionBeforeItsSettings) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"/dev/ttyUSB0:9600,N,8,1", "/dev/ttyUSB0"},
        {"/dev/ttyS0", "/dev/ttyS0"},
        {":9600,N,8,1", ""},
        {"COM10:9600,N,8,1", "COM10"},
        {"tcp://gw:4001:9600,N,8,1", "tcp://gw:4001"},
        {"rfc2217://[::1]:7000?timeout=5:9600,N,8,1", "rfc2217://[::1]:7000?timeout=5"},
    };
    for (const auto& [definition, port] : cases)
        EXPECT_EQ(DevicePath(definition), port) << definition;
}

TEST(PortAccess, MissingOrAccessibleDevicesAreNoPermissionProblem) {
    EXPECT_EQ(PermissionGroup("/dev/zrn-no-such-port"), std::nullopt);
    EXPECT_EQ(PermissionGroup(""), std::nullopt);
    const auto path =
        std::filesystem::temp_directory_path() / ("zrn-port-access-" + std::to_string(::getpid()));
    std::FILE* file = std::fopen(path.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    EXPECT_EQ(PermissionGroup(path.string()), std::nullopt); // our own file
    std::filesystem::remove(path);
}

TEST(PortAccess, HintNamesTheGroupAndTheCommand) {
    const std::string hint = PermissionHint("/dev/ttyUSB0", "dialout");
    EXPECT_NE(hint.find("/dev/ttyUSB0"), std::string::npos);
    EXPECT_NE(hint.find("\"dialout\""), std::string::npos);
    EXPECT_NE(hint.find("sudo usermod -aG dialout $USER"), std::string::npos);
    EXPECT_NE(hint.find("log in again"), std::string::npos);
    // A port of root's group: no advice to join it.
    for (const char* group : {"root", "0", ""})
        EXPECT_EQ(PermissionHint("/dev/ttyS0", group).find("usermod"), std::string::npos) << group;
}
