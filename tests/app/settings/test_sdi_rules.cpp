#include "model/SdiRules.h"

#include <gtest/gtest.h>

using namespace zrn;

namespace {

using Commands = std::vector<std::string>;

// A field left holding `text` after it got the focus holding `atFocus`, and
// the commands that go out.
template <class Remembered> struct Leave {
    const char* text;
    Remembered atFocus;
    Commands sent;
};

} // namespace

TEST(SdiRules, LeavingTheAddressComparesTheFirstCharacter) {
    const Leave<char> cases[] = {
        {"5", '3', {"A5", "A"}},  {"?", '3', {"A?", "A"}},
        {"x", '3', {"A"}}, // not an address: only the query, which brings the old one back
        {"", '3', {"A"}},         {"3", '3', {}},
        {"3x", '3', {}}, // one character is compared
        {"7x", '3', {"A7", "A"}}, {"", '\0', {}},
        {"0", '\0', {"A0", "A"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(AddressLeaveCommands(c.text, c.atFocus), c.sent);
    }
}

TEST(SdiRules, LeavingTheDelayComparesValuesAndRefusesWhatIsNotAWholeNumber) {
    const Leave<int> cases[] = {
        {"12", 12, {}},
        {"012", 12, {}}, // the same value
        {"7", 12, {"L|007|", "L"}},
        {"0", 12, {"L|000|", "L"}},
        {"999", 12, {"L|999|", "L"}},
        {" 45 ", 12, {"L|045|", "L"}},
        {"1000", 12, {"L"}}, // out of range: the query restores the device's value
        {"-1", 12, {"L"}},
        {"abc", 12, {"L"}}, // once read as 0 and sent as "L|000|"
        {"", 12, {"L"}},
        {"1.5", 12, {"L"}},
        {"20x", 12, {"L"}},
        {"12x", 12, {}}, // reads as the remembered value: no change, as before
        {"99999999999", 12, {"L"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(DelayLeaveCommands(c.text, c.atFocus), c.sent);
    }
}

TEST(SdiRules, LeavingADurationComparesTextAndSendsMinutesAndSeconds) {
    const struct {
        SdiDuration which;
        const char* text;
        const char* atFocus;
        Commands sent;
    } cases[] = {
        {SdiDuration::Hold, "90", " 60", {"S5H|00:01:30|", "S5H"}},
        {SdiDuration::Valve, "999", " 60", {"S5V|00:16:39|", "S5V"}},
        {SdiDuration::Pump, "0", " 60", {"S5P|00:00:00|", "S5P"}},
        {SdiDuration::Pump, " 60", " 60", {}},
        {SdiDuration::Pump, "60", " 60", {"S5P|00:01:00|", "S5P"}}, // text differs
        {SdiDuration::Valve, "1000", " 60", {}},                    // out of range: nothing
        {SdiDuration::Valve, "-5", " 60", {}},
        {SdiDuration::Valve, "???", "???", {}},
        {SdiDuration::Valve, "x", " 60", {"S5V"}}, // once sent as 0
        {SdiDuration::Hold, "", " 60", {"S5H"}},
        {SdiDuration::Hold, "1:30", " 60", {"S5H"}},
        {SdiDuration::Hold, "2000x", " 60", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(SdiDurationLeaveCommands(c.which, c.text, c.atFocus), c.sent);
    }
}

TEST(SdiRules, WholeNumbers) {
    EXPECT_EQ(WholeNumber("42"), 42);
    EXPECT_EQ(WholeNumber("  +7\t"), 7);
    EXPECT_EQ(WholeNumber("-3"), -3);
    EXPECT_EQ(WholeNumber("007"), 7);
    for (const char* refused : {"", " ", "+", "-", "4 2", "4x", "x4", "0x10", "1e3", "1.0"})
        EXPECT_FALSE(WholeNumber(refused)) << refused;
}

TEST(SdiRules, DelayRepliesShowTheValueWithOneLeadingZeroRemoved) {
    const struct {
        const char* reply;
        std::optional<std::string> shown;
    } cases[] = {
        {"L|015|", "15"},         {"L|005|", "05"},      {"L|000|", "00"},
        {"L|100|", "100"},        {"L|999|", "999"},     {"L|0|", ""},
        {"L", std::nullopt},      {"L||", std::nullopt}, {"L|abc|", std::nullopt},
        {"L| 15|", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply);
        EXPECT_EQ(DelayReplyText(c.reply), c.shown);
    }
}

TEST(SdiRules, DurationsShowRightAlignedSecondsOrQuestionMarks) {
    EXPECT_EQ(SdiDurationText({0, 30}), " 30");
    EXPECT_EQ(SdiDurationText({0, 0}), "  0");
    EXPECT_EQ(SdiDurationText({1, 30}), " 90");
    EXPECT_EQ(SdiDurationText({16, 39}), "999");
    EXPECT_EQ(SdiDurationText({16, 40}), "???");
    EXPECT_EQ(SdiDurationText({17, 0}), "???");
    EXPECT_EQ(SdiDurationText({99, 99}), "???");
}

TEST(SdiRules, IdentificationFieldsArePrintableAsciiWithinTheirWidth) {
    EXPECT_EQ(IdentFieldRefusal("ABCDEFGH", 8), std::nullopt);
    EXPECT_EQ(IdentFieldRefusal("", 8), std::nullopt);
    EXPECT_EQ(IdentFieldRefusal(" ~!", 3), std::nullopt);
    EXPECT_EQ(IdentFieldRefusal("ABCDEFGHI", 8), "Please enter no more than 8 characters.");
    EXPECT_EQ(IdentFieldRefusal("1234567890ABCD", 13), "Please enter no more than 13 characters.");
    // Refused for its bytes, not its length: two characters are four bytes here.
    for (const char* refused : {"\xc3\xa9\xc3\xa9", "A\tB", "A\x7f", "\x01"}) {
        const auto message = IdentFieldRefusal(refused, 13);
        ASSERT_TRUE(message);
        EXPECT_NE(message->find("printable ASCII"), std::string::npos);
    }
}
