#pragma once
// The fixtures of the tests that both systems run (test_exports_shared.cpp,
// test_log_shared.cpp): this system's harness, and on it the traffic log.

#ifdef _WIN32
#include "WinHarness.h"
#else
#include "PtyHarness.h"
#endif

#include <filesystem>
#include <set>
#include <string>

namespace zrntest {

// The log files in the link's log folder.
inline std::set<std::string> LogFiles() {
    std::set<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(LogDirectory(), error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() > 4 && name.ends_with(".LOG"))
            names.insert(LogDirectory() + name);
    }
    return names;
}

// Each test removes the logs it made.
class TrafficLog : public LinkExports {
protected:
    void SetUp() override { before = LogFiles(); }
    void TearDown() override {
        LinkExports::TearDown();
        fnZrnLog(false);
        std::error_code error;
        for (const auto& path : NewLogs())
            std::filesystem::remove(path, error);
    }

    std::set<std::string> NewLogs() const {
        std::set<std::string> added;
        for (const auto& path : LogFiles())
            if (!before.contains(path))
                added.insert(path);
        return added;
    }

    std::set<std::string> before;
};

} // namespace zrntest
