#pragma once
// The device's receiver: assembles the PC's frames from the byte stream.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zrnsim {

struct ReceivedFrame {
    bool intact = false; // checksum right and ETX in place
    std::string text;    // the command when intact, else the raw bytes for the trace
};

class FrameReader {
public:
    // Longer than any command; an unterminated frame past this is line garbage.
    static constexpr std::size_t kMaxFrame = 256;

    // Appends every frame completed by these bytes to frames.
    void Feed(std::string_view bytes, std::vector<ReceivedFrame>& frames);
    void Reset();

private:
    std::string pending_; // from an STX on, while no CR has come
};

ReceivedFrame CheckFrame(std::string_view frame);

} // namespace zrnsim
