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

void Recorder::Callback(void* user, unsigned code, const char* text) {
    auto* self = static_cast<Recorder*>(user);
    const std::lock_guard lock(self->mutex);
    self->notices.push_back({code, text ? std::optional<std::string>(text) : std::nullopt});
    self->arrived.notify_all();
}

std::vector<Notice> Recorder::WaitFor(std::size_t count, std::chrono::milliseconds bound) {
    std::unique_lock lock(mutex);
    arrived.wait_for(lock, bound, [&] { return notices.size() >= count; });
    return notices;
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
