#include "LinkHarness.h"

#include "FrameCrc.h"

#include <fstream>
#include <iterator>

namespace zrntest {

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        Pause();
    }
    return true;
}

bool DebugCapture::WaitForLine(const std::string& line, std::chrono::milliseconds bound) const {
    // The output is a file the worker appends to: look again until it shows.
    return WaitUntil([&] { return Text().find(line) != std::string::npos; }, bound);
}

std::string Frame(const std::string& text) {
    return zrn::BuildFrame(text);
}

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

} // namespace zrntest
