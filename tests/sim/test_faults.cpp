// Each fault measured over many frames with a fixed seed.
#include "DeviceFixture.h"
#include "FrameCrc.h"
#include "Responder.h"

#include <map>

namespace zrnsim {
namespace {

constexpr int kFrames = 4000;

struct Tally {
    int acks = 0, naks = 0, replies = 0, noise = 0, silentFrames = 0;
    int badCrc = 0, lowerCase = 0, repliesWithLetters = 0;
    bool noiseClean = true; // no noise byte the PC could take for an element
};

FaultPlan With(double FaultPlan::*rate, double value, std::uint64_t seed = 7) {
    FaultPlan plan;
    plan.*rate = value;
    plan.seed = seed;
    return plan;
}

bool HasHexLetters(std::string_view digits) {
    return digits.find_first_of("ABCDEFabcdef") != std::string_view::npos;
}

class Faults : public testing::KnownDevice {
protected:
    Tally Run(const FaultPlan& plan, int frames = kFrames) {
        Responder responder(*device, plan);
        Tally tally;
        for (int i = 0; i < frames; ++i) {
            // Queries with replies whose checksums vary.
            const char* command = i % 3 == 0 ? "C" : i % 3 == 1 ? "S1BD" : "L";
            now += 1;
            const auto elements = responder.Answer({true, command});
            tally.silentFrames += elements.empty();
            for (const Element& e : elements)
                Count(e, tally);
        }
        return tally;
    }

    static void Count(const Element& e, Tally& tally) {
        switch (e.kind) {
        case Element::Kind::Ack:
            ++tally.acks;
            break;
        case Element::Kind::Nak:
            ++tally.naks;
            break;
        case Element::Kind::Noise:
            ++tally.noise;
            for (const char c : e.bytes) {
                const auto b = static_cast<unsigned char>(c);
                tally.noiseClean &= b != 0 && b != zrn::STX && b != zrn::ACK && b != zrn::NAK;
            }
            tally.noiseClean &= !e.bytes.empty() && e.bytes.size() <= 4;
            break;
        case Element::Kind::Reply: {
            ++tally.replies;
            const std::string digits = e.bytes.substr(e.bytes.size() - 5, 4);
            const std::string good = zrn::BuildFrame(e.text).substr(e.bytes.size() - 5, 4);
            tally.badCrc +=
                !std::equal(digits.begin(), digits.end(), good.begin(), [](char a, char b) {
                    return std::toupper(static_cast<unsigned char>(a)) == b;
                });
            tally.repliesWithLetters += HasHexLetters(good);
            tally.lowerCase += digits.find_first_of("abcdef") != std::string::npos;
            break;
        }
        }
    }
};

TEST_F(Faults, NoneByDefault) {
    const Tally t = Run({});
    EXPECT_EQ(t.acks, kFrames);
    EXPECT_EQ(t.replies, kFrames);
    EXPECT_EQ(t.naks + t.noise + t.badCrc + t.lowerCase + t.silentFrames, 0);
}

TEST_F(Faults, NakRate) {
    const Tally t = Run(With(&FaultPlan::nakRate, 0.25, 7));
    EXPECT_NEAR(t.naks, kFrames * 0.25, kFrames * 0.03);
    EXPECT_EQ(t.acks + t.naks, kFrames);
    EXPECT_EQ(t.replies, t.acks); // a NAK never carries a reply
}

TEST_F(Faults, NakedSettingChangesNothing) {
    Responder responder(*device, With(&FaultPlan::nakRate, 1.0));
    const auto elements = responder.Answer({true, "L|123|"});
    ASSERT_EQ(elements.size(), 1u);
    EXPECT_EQ(elements[0].kind, Element::Kind::Nak);
    EXPECT_EQ(device->State().delay, 15);
}

TEST_F(Faults, BadChecksumRate) {
    const Tally t = Run(With(&FaultPlan::badCrcRate, 0.1, 7));
    EXPECT_EQ(t.replies, kFrames);
    EXPECT_NEAR(t.badCrc, kFrames * 0.1, kFrames * 0.02);
}

TEST_F(Faults, NoiseRateBetweenElements) {
    const Tally t = Run(With(&FaultPlan::noiseRate, 0.2, 7));
    // Two elements (ACK and reply) per frame, each may be preceded by noise.
    EXPECT_NEAR(t.noise, 2 * kFrames * 0.2, 2 * kFrames * 0.03);
    EXPECT_TRUE(t.noiseClean);
    EXPECT_EQ(t.acks, kFrames);
}

TEST_F(Faults, DropRateLosesTheAnswerButDoesTheCommand) {
    const Tally t = Run(With(&FaultPlan::dropRate, 0.3, 7));
    EXPECT_NEAR(t.silentFrames, kFrames * 0.3, kFrames * 0.03);
    EXPECT_EQ(t.acks + t.silentFrames, kFrames);

    Responder responder(*device, With(&FaultPlan::dropRate, 1.0));
    EXPECT_TRUE(responder.Answer({true, "L|123|"}).empty());
    EXPECT_EQ(device->State().delay, 123);
}

TEST_F(Faults, LowerCaseRate) {
    const Tally t = Run(With(&FaultPlan::lowerCaseRate, 0.5, 7));
    EXPECT_EQ(t.badCrc, 0); // still the right checksum, read without regard to case
    EXPECT_NEAR(t.lowerCase, t.repliesWithLetters * 0.5, t.repliesWithLetters * 0.05);
}

TEST_F(Faults, SilentAfterACount) {
    FaultPlan plan;
    plan.silentAfter = 25;
    const Tally t = Run(plan);
    EXPECT_EQ(t.acks, 25);
    EXPECT_EQ(t.silentFrames, kFrames - 25);
}

// Acknowledged, kept: only a changed stored value draws, so each strike is a lost
// write; the clock, queries and a value set to what it was never draw.
TEST_F(Faults, KeepOldRateLosesWritesThatWereAcknowledged) {
    Responder responder(*device, With(&FaultPlan::keepOldRate, 0.3, 7));
    int kept = 0, changes = 0, acks = 0;
    for (int i = 0; i < kFrames; ++i) {
        const int before = device->State().delay, wanted = 100 + i % 2;
        const auto elements = responder.Answer({true, "L|" + std::to_string(wanted) + "|"});
        acks += elements.size() == 1 && elements[0].kind == Element::Kind::Ack;
        changes += before != wanted;
        kept += responder.KeptOldValue();
        EXPECT_EQ(device->State().delay, responder.KeptOldValue() ? before : wanted);
    }
    EXPECT_EQ(acks, kFrames);
    EXPECT_NEAR(kept, changes * 0.3, changes * 0.03);

    Responder always(*device, With(&FaultPlan::keepOldRate, 1.0));
    const ScheduleEntry schedule = device->State().schedules[1];
    for (const char* command : {"S2A", "S2BD|03/04/27|", "S5V|00:01:01|", "A7"}) {
        EXPECT_EQ(always.Answer({true, command}).at(0).kind, Element::Kind::Ack) << command;
        EXPECT_TRUE(always.KeptOldValue()) << command;
    }
    EXPECT_EQ(device->State().schedules[1], schedule);
    EXPECT_EQ(device->State().sdiDurations[0], 90);
    EXPECT_EQ(device->State().address, '3');
    for (const char* command : {"C|01/02/27|03:04:05|", "S2?", "L", "A3"}) {
        always.Answer({true, command});
        EXPECT_FALSE(always.KeptOldValue()) << command;
    }
    EXPECT_NE(device->State().clockOffset, 0);
}

TEST_F(Faults, SameSeedSameFaultsAndFaultsIndependent) {
    const FaultPlan naks = With(&FaultPlan::nakRate, 0.5, 3);
    FaultPlan both = naks;
    both.noiseRate = 0.5;
    Responder a(*device, naks), b(*device, naks), c(*device, both);
    for (int i = 0; i < 200; ++i) {
        const auto kind = [](const std::vector<Element>& e) {
            for (const Element& x : e)
                if (x.kind != Element::Kind::Noise)
                    return x.kind;
            return Element::Kind::Noise;
        };
        const auto first = kind(a.Answer({true, "?"}));
        EXPECT_EQ(first, kind(b.Answer({true, "?"})));
        EXPECT_EQ(first, kind(c.Answer({true, "?"})));
    }
}

TEST_F(Faults, BrokenFrameIsRefused) {
    Responder responder(*device, {});
    const auto elements = responder.Answer({false, "\x02"
                                                   "C\x03"
                                                   "0000\r"});
    ASSERT_EQ(elements.size(), 1u);
    EXPECT_EQ(elements[0].kind, Element::Kind::Nak);
}

} // namespace
} // namespace zrnsim
