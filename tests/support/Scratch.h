#pragma once
// A folder of a test's own under the system's temporary folder, and what runs
// a program with its output caught there.
#include <filesystem>
#include <string>
#include <vector>

namespace zrntest {

class ScratchDir {
public:
    // Named after `prefix`, this process and the running test (if any); made
    // empty. Removed with all it holds when it goes, write-protected parts too.
    explicit ScratchDir(const std::string& prefix);
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& Dir() const { return dir; }
    std::string Path(const std::string& name) const { return (dir / name).string(); }
    // The file's bytes; "" when there is none.
    std::string Read(const std::string& name) const;
    void Write(const std::string& name, const std::string& text) const;

private:
    std::filesystem::path dir;
};

// The file's bytes; "" when there is none.
std::string ReadFile(const std::filesystem::path& file);

// How a program ended (its exit status, -1 when a signal ended it) and what it printed.
struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs a shell command line, its output and errors caught in files of `scratch`.
ToolRun RunCommand(const ScratchDir& scratch, const std::string& command);

// The frames a simulator's trace (--trace) shows it received, without the "> ".
std::vector<std::string> ReceivedFrames(const std::string& trace);

} // namespace zrntest
