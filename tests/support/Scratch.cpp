#include "Scratch.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace zrntest {

ScratchDir::ScratchDir(const std::string& prefix) {
    std::string name = prefix + "-" + std::to_string(::getpid());
    if (const auto* test = ::testing::UnitTest::GetInstance()->current_test_info())
        name += std::string("-") + test->name();
    // Parameterised names hold '/'.
    for (char& c : name)
        c = c == '/' ? '_' : c;
    dir = fs::temp_directory_path() / name;
    std::error_code ignored;
    fs::remove_all(dir, ignored);
    fs::create_directories(dir);
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(dir, ignored);
}

std::string ScratchDir::Read(const std::string& name) const {
    return ReadFile(dir / name);
}

void ScratchDir::Write(const std::string& name, const std::string& text) const {
    std::ofstream(dir / name, std::ios::binary) << text;
}

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

ToolRun RunCommand(const ScratchDir& scratch, const std::string& command) {
    const std::string line =
        command + " >" + scratch.Path("out.txt") + " 2>" + scratch.Path("err.txt");
    const int status = std::system(line.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, scratch.Read("out.txt"),
            scratch.Read("err.txt")};
}

std::vector<std::string> ReceivedFrames(const std::string& trace) {
    std::istringstream in(trace);
    std::vector<std::string> frames;
    for (std::string line; std::getline(in, line);)
        if (line.starts_with("> "))
            frames.push_back(line.substr(2));
    return frames;
}

} // namespace zrntest
