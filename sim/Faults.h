#pragma once
// Line and device faults, each drawn from its own seeded generator so that
// switching one fault on does not change when another one strikes.

#include <cstdint>
#include <optional>
#include <string>

namespace zrnsim {

struct FaultPlan {
    double nakRate = 0;       // NAK instead of ACK for a frame the device would take
    double badCrcRate = 0;    // reply sent with a wrong checksum
    double noiseRate = 0;     // noise bytes before an element
    double dropRate = 0;      // the command is carried out but its whole answer is lost
    double lowerCaseRate = 0; // reply check digits in lower case
    double keepOldRate = 0;   // a set command acknowledged but its stored value kept
    std::optional<std::uint64_t> silentAfter; // answer nothing after this many frames
    std::uint64_t seed = 1;
};

// splitmix64: tiny, and the same sequence on every platform.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next();
    bool Chance(double rate);
    unsigned Below(unsigned bound) { return static_cast<unsigned>(Next() % bound); }

private:
    std::uint64_t state_;
};

class FaultInjector {
public:
    explicit FaultInjector(const FaultPlan& plan);

    bool Nak() { return nak_.Chance(plan_.nakRate); }
    bool BadCrc() { return badCrc_.Chance(plan_.badCrcRate); }
    bool Drop() { return drop_.Chance(plan_.dropRate); }
    bool LowerCase() { return lowerCase_.Chance(plan_.lowerCaseRate); }
    // Drawn only for a command that changed a stored value, so that each strike loses a write.
    bool KeepOld() { return keepOld_.Chance(plan_.keepOldRate); }
    // Empty when no noise strikes; 1 to 4 bytes that are none of STX, ACK, NAK, NUL.
    std::string Noise();
    // Counts this frame; true once the device has gone silent.
    bool Silent();

private:
    FaultPlan plan_;
    Rng nak_, badCrc_, noise_, drop_, lowerCase_, keepOld_;
    std::uint64_t frames_ = 0;
};

} // namespace zrnsim
