#include "FrameReader.h"

#include "FrameCrc.h"

#include <cctype>
#include <cstdio>

namespace zrnsim {

ReceivedFrame CheckFrame(std::string_view frame) {
    ReceivedFrame result{false, std::string(frame)};
    // STX, ETX, four digits and CR at least.
    if (frame.size() < 7 || frame[frame.size() - 6] != static_cast<char>(zrn::ETX))
        return result;
    const std::string_view covered = frame.substr(0, frame.size() - 5);
    char expected[8];
    std::snprintf(expected, sizeof expected, "%04X", zrn::FrameCrc(covered));
    for (std::size_t i = 0; i < 4; ++i) {
        const auto digit = static_cast<unsigned char>(frame[covered.size() + i]);
        if (std::toupper(digit) != expected[i])
            return result;
    }
    return {true, std::string(frame.substr(1, frame.size() - 7))};
}

void FrameReader::Feed(std::string_view bytes, std::vector<ReceivedFrame>& frames) {
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        if (b == zrn::STX) {
            // A new STX inside a frame means bytes were lost: start over from it.
            pending_.assign(1, byte);
            continue;
        }
        if (pending_.empty())
            continue; // noise between frames
        pending_.push_back(byte);
        if (b == zrn::CR) {
            frames.push_back(CheckFrame(pending_));
            pending_.clear();
        } else if (pending_.size() >= kMaxFrame) {
            pending_.clear();
        }
    }
}

void FrameReader::Reset() {
    pending_.clear();
}

} // namespace zrnsim
