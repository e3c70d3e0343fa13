// Where the traffic log goes: the program's folder first, else the user's
// state folder, created as needed.

#include "LogPlace.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

TEST(LogPlace, StateDirectoryFollowsTheXdgRules) {
    struct Case {
        const char* xdg;
        const char* home;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"/var/state", "/home/ann", "/var/state/ZRNcom/"},
        {"/var/state/", "/home/ann", "/var/state/ZRNcom/"},
        {nullptr, "/home/ann", "/home/ann/.local/state/ZRNcom/"},
        {"", "/home/ann", "/home/ann/.local/state/ZRNcom/"},
        {"relative/state", "/home/ann", "/home/ann/.local/state/ZRNcom/"}, // ignored
        {nullptr, nullptr, std::nullopt},
        {nullptr, "", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(zrn::StateDirectory(c.xdg, c.home), c.expected)
            << (c.xdg ? c.xdg : "(unset)") << " " << (c.home ? c.home : "(unset)");
}

class ChooseLogDirectory : public ::testing::Test {
protected:
    void TearDown() override { fs::remove_all(root); }
    fs::path root = fs::temp_directory_path() / ("zrn-logplace-" + std::to_string(::getpid()));
};

TEST_F(ChooseLogDirectory, ProgramFolderComesFirstWhenItCanBeWritten) {
    fs::create_directories(root);
    const std::string program = root.string() + "/";
    const std::string state = root.string() + "/state/ZRNcom/";
    EXPECT_EQ(zrn::ChooseLogDirectory(program, state), program);
    EXPECT_FALSE(fs::exists(root / "state")); // nothing created that is not used
}

TEST_F(ChooseLogDirectory, StateFolderIsCreatedPrivateWhenTheProgramFolderCannotBeWritten) {
    // A missing folder cannot be written, even by root.
    const std::string program = root.string() + "/missing/bin/";
    const std::string state = root.string() + "/home/.local/state/ZRNcom/";
    EXPECT_EQ(zrn::ChooseLogDirectory(program, state), state);
    struct stat info {};
    ASSERT_EQ(::stat(state.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    // An existing state folder is used as it is.
    EXPECT_EQ(zrn::ChooseLogDirectory(std::nullopt, state), state);
}

TEST_F(ChooseLogDirectory, NoneWhenNeitherCanBeWritten) {
    fs::create_directories(root);
    // A file where the state folder's parent should be.
    {
        std::FILE* f = std::fopen((root / "file").c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fclose(f);
    }
    EXPECT_EQ(zrn::ChooseLogDirectory(root.string() + "/missing/", root.string() + "/file/ZRNcom/"),
              std::nullopt);
    EXPECT_EQ(zrn::ChooseLogDirectory(std::nullopt, std::nullopt), std::nullopt);
}

} // namespace
