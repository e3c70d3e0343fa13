#pragma once
// The receive buffer of one link worker: bytes in, line elements out. No I/O,
// so tests and the fuzzer feed it directly.

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace zrn {

struct RxElement {
    enum class Kind { Ack, Nak, Reply };
    Kind kind;
    std::string text; // reply text, without framing; empty for Ack and Nak
};

class RxBuffer {
public:
    static constexpr std::size_t kSize = 1024;

    // Appends the bytes of one read and returns the elements they complete, in
    // line order. Frames failing their checksum, or too short, are dropped here.
    std::vector<RxElement> Feed(const unsigned char* data, std::size_t length);

    std::size_t Fill() const { return rxFill; }

private:
    void Append(const unsigned char* data, std::size_t length);
    void Parse(std::vector<RxElement>& out);
    bool DiscardToHead();
    bool HandleHead(std::vector<RxElement>& out);
    void Consume(std::size_t count);
    const char* Text() const { return reinterpret_cast<const char*>(rxBuffer.data()); }
    bool HoldsCr() const;

    // Always NUL-terminated at rxFill and searched as C text; NULs from the
    // line are dropped on the way in.
    std::array<unsigned char, kSize> rxBuffer{};
    std::size_t rxFill = 0;
};

// Checks one frame, STX through CR; the reply text when it is accepted.
bool AcceptFrame(const unsigned char* frame, std::size_t length, std::string& text);

} // namespace zrn
