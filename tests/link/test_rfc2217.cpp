// The telnet codec of network ports against scripted gateway conversations.

#include "Rfc2217.h"

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

namespace {

using zrn::ComPortSettings;
using zrn::TelnetClient;
using State = TelnetClient::State;

constexpr int IAC = 255, DONT = 254, DO = 253, WONT = 252, WILL = 251, SB = 250, SE = 240;
constexpr int NOP = 241, DM = 242, AYT = 246, GA = 249;
constexpr int BINARY = 0, ECHO = 1, SGA = 3, COM = 44;

std::string Bytes(std::initializer_list<int> bytes) {
    std::string out;
    for (const int b : bytes)
        out += static_cast<char>(b);
    return out;
}

std::string Cmd(int verb, int option) {
    return Bytes({IAC, verb, option});
}

// IAC SB <body, 0xFF doubled> IAC SE
std::string Sub(const std::string& body) {
    return Bytes({IAC, SB}) + TelnetClient::Escape(body) + Bytes({IAC, SE});
}

std::string Baud(std::uint32_t baud) {
    return Bytes({static_cast<int>(baud >> 24 & 0xFF), static_cast<int>(baud >> 16 & 0xFF),
                  static_cast<int>(baud >> 8 & 0xFF), static_cast<int>(baud & 0xFF)});
}

// What the client asks for, and what a gateway that agrees answers.
std::string Settings(const ComPortSettings& s, int offset) {
    return Sub(Bytes({COM, 1 + offset}) + Baud(s.baud)) +
           Sub(Bytes({COM, 2 + offset, s.dataSize})) + Sub(Bytes({COM, 3 + offset, s.parity})) +
           Sub(Bytes({COM, 4 + offset, s.stopSize})) + Sub(Bytes({COM, 5 + offset, s.control}));
}
std::string Asked(const ComPortSettings& s) {
    return Settings(s, 0);
}
std::string Agreed(const ComPortSettings& s) {
    return Settings(s, 100);
}

struct Out {
    std::string data;
    std::string reply;
    bool operator==(const Out&) const = default;
};

Out Feed(TelnetClient& client, const std::string& bytes) {
    Out out;
    client.Feed(bytes, out.data, out.reply);
    return out;
}

// ser2net's opening: it offers SGA and ECHO, asks for BINARY both ways, and
// agrees to the COM port option we offered.
const std::string kGreeting = Cmd(WILL, SGA) + Cmd(WILL, ECHO) + Cmd(DONT, ECHO) + Cmd(DO, BINARY) +
                              Cmd(WILL, BINARY) + Cmd(DO, SGA) + Cmd(DO, COM);

// Line state notifications as the gateway sends them unasked.
const std::string kNotifications = Sub(Bytes({COM, 107, 0x30})) + Sub(Bytes({COM, 106, 0x60})) +
                                   Sub(Bytes({COM, 108})) + Sub(Bytes({COM, 109}));

// A client that has been answered everything but the five settings.
TelnetClient Asking(ComPortSettings wanted = {}) {
    TelnetClient client(wanted);
    client.Start();
    Feed(client, kGreeting);
    return client;
}

TEST(Rfc2217, StartOffersBinarySgaAndComPortOnce) {
    TelnetClient client;
    EXPECT_EQ(client.Start(),
              Cmd(WILL, BINARY) + Cmd(DO, BINARY) + Cmd(WILL, SGA) + Cmd(DO, SGA) + Cmd(WILL, COM));
    EXPECT_EQ(client.Start(), "");
    EXPECT_EQ(client.Status(), State::Negotiating);
}

TEST(Rfc2217, Ser2netConversationReachesReady) {
    for (const ComPortSettings wanted : {ComPortSettings{}, ComPortSettings{115200, 7, 3, 2, 3},
                                         ComPortSettings{0xFFFF, 0xFF, 5, 3, 2}}) {
        SCOPED_TRACE(wanted.baud);
        TelnetClient client(wanted);
        client.Start();
        EXPECT_EQ(Feed(client, kGreeting + "hello"),
                  (Out{"hello", Cmd(DONT, ECHO) + Asked(wanted)}));
        EXPECT_EQ(client.Status(), State::Negotiating);

        EXPECT_EQ(Feed(client, Agreed(wanted) + kNotifications + "\r\nOK"), (Out{"\r\nOK", ""}));
        EXPECT_EQ(client.Status(), State::Ready);
        EXPECT_EQ(client.Problem(), "");
    }
}

TEST(Rfc2217, DefaultSettingsOnTheWire) {
    EXPECT_EQ(Asked({}),
              Bytes({IAC, SB, COM, 1, 0, 0, 0x25, 0x80, IAC, SE}) + // 9600 baud
                  Bytes({IAC, SB, COM, 2, 8, IAC, SE}) + Bytes({IAC, SB, COM, 3, 1, IAC, SE}) +
                  Bytes({IAC, SB, COM, 4, 1, IAC, SE}) + Bytes({IAC, SB, COM, 5, 1, IAC, SE}));
}

struct RefusalCase {
    const char* name;
    ComPortSettings wanted;
    std::string answer; // inside IAC SB .. IAC SE
    const char* problem;
};

const RefusalCase kRefusals[] = {
    {"baud", {}, Bytes({COM, 101}) + Baud(115200), "refused 9600 baud (it answered 115200)"},
    {"dataSize", {}, Bytes({COM, 102, 7}), "refused 8 data bits (it answered 7)"},
    {"parity", {}, Bytes({COM, 103, 3}), "refused parity none (it answered even)"},
    {"parityUnnamed", {}, Bytes({COM, 103, 0}), "refused parity none (it answered code 0)"},
    {"stopSize", {9600, 8, 1, 2, 1}, Bytes({COM, 104, 3}), "refused 2 stop bits (it answered 1.5)"},
    {"control",
     {9600, 8, 1, 1, 2},
     Bytes({COM, 105, 3}),
     "refused flow control xon-xoff (it answered hardware)"},
    {"shortBaud", {}, Bytes({COM, 101, 0x25, 0x80}), "sent a malformed answer about the baud rate"},
};

class Refusals : public ::testing::TestWithParam<RefusalCase> {};

// The bad answer first; the good one of the same code then comes twice.
TEST_P(Refusals, NameTheSettingAndStayRefused) {
    const RefusalCase& c = GetParam();
    TelnetClient client = Asking(c.wanted);
    EXPECT_EQ(Feed(client, Sub(c.answer) + Agreed(c.wanted) + "x"), (Out{"x", ""}));
    EXPECT_EQ(client.Status(), State::Refused);
    EXPECT_EQ(client.Problem(), std::string("the gateway ") + c.problem);
    EXPECT_TRUE(client.SettingRefused());
}

INSTANTIATE_TEST_SUITE_P(Rfc2217, Refusals, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Rfc2217, DontComPortOptionRefusesTheGateway) {
    TelnetClient client;
    client.Start();
    // Our WILL refused: nothing to acknowledge.
    EXPECT_EQ(Feed(client, Cmd(DO, BINARY) + Cmd(DONT, COM) + "data"), (Out{"data", ""}));
    EXPECT_EQ(client.Status(), State::Refused);
    EXPECT_EQ(client.Problem(), "the gateway does not offer the COM port option (RFC 2217)");
    EXPECT_FALSE(client.SettingRefused());

    // Withdrawn once on: acknowledged, and refused too.
    TelnetClient ready = Asking();
    Feed(ready, Agreed({}));
    ASSERT_EQ(ready.Status(), State::Ready);
    EXPECT_EQ(Feed(ready, Cmd(DONT, COM)), (Out{"", Cmd(WONT, COM)}));
    EXPECT_EQ(ready.Status(), State::Refused);
    EXPECT_FALSE(ready.SettingRefused());
}

TEST(Rfc2217, AnswersOutOfTurnAreNotTakenForOurs) {
    TelnetClient client;
    client.Start();
    // Before we asked: wrong values that must not count.
    Feed(client, Sub(Bytes({COM, 101}) + Baud(300)) + Sub(Bytes({COM, 103, 3})));
    EXPECT_EQ(client.Status(), State::Negotiating);
    Feed(client, kGreeting);
    // DTR and BREAK reports are not the flow control answer.
    Feed(client, Sub(Bytes({COM, 105, 8})) + Sub(Bytes({COM, 105, 6})));
    EXPECT_EQ(client.Status(), State::Negotiating);
    // Only the first answer of each code counts.
    Feed(client, Sub(Bytes({COM, 101}) + Baud(9600)) + Sub(Bytes({COM, 101}) + Baud(300)));
    Feed(client, Agreed({}));
    EXPECT_EQ(client.Status(), State::Ready);
    // A second round, with other values, changes nothing.
    Feed(client, Agreed({1200, 7, 2, 2, 3}));
    EXPECT_EQ(client.Status(), State::Ready);
}

TEST(Rfc2217, ZeroTakesWhateverTheGatewayHas) {
    TelnetClient client = Asking({0, 0, 0, 0, 0});
    Feed(client, Agreed({19200, 7, 3, 2, 2}));
    EXPECT_EQ(client.Status(), State::Ready);
}

struct OptionCase {
    const char* name;
    bool started;
    std::string before;
    std::string input;
    std::string reply;
};

const OptionCase kOptions[] = {
    {"DoEchoRefused", true, "", Cmd(DO, ECHO), Cmd(WONT, ECHO)},
    {"WillEchoRefused", true, "", Cmd(WILL, ECHO), Cmd(DONT, ECHO)},
    {"WillComPortRefused", true, "", Cmd(WILL, COM), Cmd(DONT, COM)},
    {"WontWhileOffIsQuiet", true, "", Cmd(WONT, ECHO) + Cmd(DONT, ECHO), ""},
    {"AgreementToOurRequestIsQuiet", true, "", Cmd(DO, BINARY) + Cmd(WILL, SGA), ""},
    {"RefusalOfOurRequestIsQuiet", true, "", Cmd(DONT, BINARY) + Cmd(WONT, SGA), ""},
    {"UnaskedDoComPortSendsSettings", false, "", Cmd(DO, COM), Cmd(WILL, COM) + Asked({})},
    {"WontWhileOnAcknowledged", true, Cmd(WILL, BINARY), Cmd(WONT, BINARY), Cmd(DONT, BINARY)},
    {"DontWhileOnAcknowledged", true, Cmd(DO, SGA), Cmd(DONT, SGA), Cmd(WONT, SGA)},
    {"SettingsSentOnce", true, Cmd(DO, COM), Cmd(DO, COM), ""},
};

class Options : public ::testing::TestWithParam<OptionCase> {};

TEST_P(Options, Reply) {
    const OptionCase& c = GetParam();
    TelnetClient client;
    if (c.started)
        client.Start();
    Feed(client, c.before);
    EXPECT_EQ(Feed(client, c.input), (Out{"", c.reply}));
}

INSTANTIATE_TEST_SUITE_P(Rfc2217, Options, ::testing::ValuesIn(kOptions),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Rfc2217, RepeatedAnswersProduceNothingNew) {
    TelnetClient client = Asking();
    Feed(client, Agreed({}));
    // Acknowledgements again, and our own refusals coming back.
    const std::string again = Cmd(DO, BINARY) + Cmd(WILL, BINARY) + Cmd(DO, SGA) + Cmd(WILL, SGA) +
                              Cmd(DO, COM) + Cmd(WONT, ECHO) + Cmd(DONT, ECHO);
    EXPECT_EQ(Feed(client, again + again), (Out{"", ""}));
    EXPECT_EQ(client.Status(), State::Ready);
}

TEST(Rfc2217, TwoClientsTalkingToEachOtherFallSilent) {
    TelnetClient a;
    TelnetClient b;
    std::string toB = a.Start();
    std::string toA = b.Start();
    int rounds = 0;
    for (; rounds < 10 && !(toA.empty() && toB.empty()); ++rounds) {
        const Out atA = Feed(a, toA);
        const Out atB = Feed(b, toB);
        toA = atB.reply;
        toB = atA.reply;
    }
    EXPECT_LT(rounds, 5);
    // Neither offers the COM port option to the other.
    EXPECT_EQ(a.Status(), State::Refused);
    EXPECT_EQ(b.Status(), State::Refused);
}

struct StreamCase {
    const char* name;
    std::string input;
    std::string data;
    std::string reply;
};

const StreamCase kStreams[] = {
    {"IacIacIsOneFF", "ab" + Bytes({IAC, IAC, IAC, IAC}), "ab\xff\xff", ""},
    {"CrNulUntouched", std::string("a\r\0b\r\n", 6), std::string("a\r\0b\r\n", 6), ""},
    {"ShortCommandsDropped",
     "a" + Bytes({IAC, NOP}) + "b" + Bytes({IAC, GA, IAC, DM, IAC, AYT, IAC, SE}) + "c", "abc", ""},
    {"GarbageAfterIacDropped", "a" + Bytes({IAC, 'x'}) + "yz" + Bytes({IAC, 0}) + "!", "ayz!", ""},
    {"SubnegotiationRemoved", "a" + Sub(Bytes({COM, 107, IAC, SE, 1})) + "b", "ab", ""},
    {"CommandInsideSubnegotiationEndsIt", "a" + Bytes({IAC, SB, COM, 101, IAC, WILL, ECHO}) + "b",
     "ab", Cmd(DONT, ECHO)},
    {"IacIacEndingSubnegotiation", "a" + Bytes({IAC, SB, COM, IAC, IAC, IAC, SE}) + "b", "ab", ""},
};

class Streams : public ::testing::TestWithParam<StreamCase> {};

TEST_P(Streams, DataAndReply) {
    const StreamCase& c = GetParam();
    TelnetClient client;
    client.Start();
    EXPECT_EQ(Feed(client, c.input), (Out{c.data, c.reply}));
}

INSTANTIATE_TEST_SUITE_P(Rfc2217, Streams, ::testing::ValuesIn(kStreams),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Rfc2217, OverlongSubnegotiationIsSkippedWhole) {
    TelnetClient client = Asking();
    // Starts like a baud answer that refuses; past the limit it counts for nothing.
    const std::string junk(10000, '\x01');
    const std::string longOne = Bytes({IAC, SB, COM, 101}) + Baud(300) + junk + Bytes({IAC, SE});
    EXPECT_EQ(Feed(client, longOne + "after"), (Out{"after", ""}));
    EXPECT_EQ(client.Status(), State::Negotiating);

    // One byte over the limit counts for nothing; at the limit it is read, and
    // a baud rate answer that long is malformed.
    const auto baudAnswer = [](std::size_t length) {
        return Bytes({IAC, SB, COM, 101}) + Baud(9600) + std::string(length - 6, '\0') +
               Bytes({IAC, SE});
    };
    EXPECT_EQ(Feed(client, baudAnswer(TelnetClient::kMaxSubnegotiation + 1)), (Out{"", ""}));
    EXPECT_EQ(client.Status(), State::Negotiating);
    Feed(client, baudAnswer(TelnetClient::kMaxSubnegotiation));
    EXPECT_EQ(client.Problem(), "the gateway sent a malformed answer about the baud rate");
}

// Bytes a gateway might send, weighted towards the telnet ones.
std::string Noise(std::mt19937& random, std::size_t size) {
    static const int kInteresting[] = {IAC, IAC, IAC, SB,     SE,  WILL, WONT, DO, DONT,
                                       COM, 101, 105, BINARY, SGA, ECHO, 0,    13};
    std::string out;
    for (std::size_t i = 0; i < size; ++i) {
        const unsigned pick = random() % 4;
        out += static_cast<char>(pick == 0 ? random() % 256
                                           : kInteresting[random() % std::size(kInteresting)]);
    }
    return out;
}

struct Result {
    Out out;
    State state;
    std::string problem;
    bool operator==(const Result&) const = default;
};

// Feeds `bytes` in reads of chunk() bytes each.
template <typename Chunk> Result FeedSplit(const std::string& bytes, Chunk chunk) {
    TelnetClient client;
    client.Start();
    Out out;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t size = chunk();
        client.Feed(std::string_view(bytes).substr(at, size), out.data, out.reply);
        at += size;
    }
    return {out, client.Status(), client.Problem()};
}

TEST(Rfc2217, AnySplitOfTheInputGivesTheSameResult) {
    std::mt19937 random(2217);
    const std::string conversation =
        kGreeting + "abc" + Bytes({IAC, IAC}) + Agreed({}) + kNotifications + "def";
    std::vector<std::string> inputs = {conversation,
                                       kGreeting + Sub(Bytes({COM, 102, 7})) + "x" + Agreed({})};
    for (int i = 0; i < 20; ++i)
        inputs.push_back(kGreeting + Noise(random, 400));
    for (const std::string& input : inputs) {
        SCOPED_TRACE(&input - inputs.data());
        const Result whole = FeedSplit(input, [&] { return input.size(); });
        ASSERT_EQ(FeedSplit(input, [] { return 1; }), whole);
        for (int split = 0; split < 50; ++split)
            ASSERT_EQ(FeedSplit(input, [&] { return 1 + random() % 12; }), whole);
        EXPECT_LE(whole.out.data.size(), input.size());
    }
    EXPECT_EQ(FeedSplit(conversation, [] { return 1; }).state, State::Ready);
}

TEST(Rfc2217, EscapedDataComesBackUnchanged) {
    std::mt19937 random(44);
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    for (const std::string& data :
         {all, std::string(5, '\xff'), Noise(random, 1000), std::string()}) {
        const std::string escaped = TelnetClient::Escape(data);
        EXPECT_EQ(escaped.size(), data.size() + static_cast<std::size_t>(
                                                    std::count(data.begin(), data.end(), '\xff')));
        TelnetClient client;
        EXPECT_EQ(Feed(client, escaped), (Out{data, ""}));
    }
}

} // namespace
