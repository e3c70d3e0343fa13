// zrnctl's link on a gateway that goes away: the loss ends the waiting at
// once, however long before the next command it was told. And which reply
// answers which query.
#include "Link.h"
#include "Loopback.h"

#include <gtest/gtest.h>

#include <thread>

namespace zrnctl {
namespace {

using namespace std::chrono_literals;

TEST(Link, AGatewayThatClosesEndsEveryExchangeAtOnceWithItsReason) {
    zrntest::Loopback gateway(true);
    ASSERT_TRUE(gateway.Valid());
    Link link;
    ASSERT_EQ(link.Open(gateway.Url()), std::nullopt);
    gateway.Accept(5s); // and closed at once

    // Told while no command waits: the next one must still hear of it.
    std::this_thread::sleep_for(300ms);
    for (const bool query : {true, false}) {
        const auto began = Clock::now();
        EXPECT_EQ(link.Exchange("S1?", query).kind, AnswerKind::Lost);
        EXPECT_LT(Clock::now() - began, LinkTiming{}.wait) << "query " << query;
    }
    EXPECT_EQ(link.LostReason(), "the gateway closed the connection");
}

TEST(Link, TellsWhichReplyAnswersWhichQuery) {
    struct Case {
        const char* reply;
        const char* query;
        bool answers;
    };
    const Case cases[] = {
        {"S1A", "S1?", true},
        {"S1BD|03/03/27|", "S1?", false},
        {"S1BD|03/03/27|", "S1BD", true},
        {"S1BT|07:00:00|", "S1BD", false},
        {"A3", "A", true},
        {"C|06/12/26|14:05:09|", "C", true},
        {"C", "C", false},
        {"S5V|00:01:30|", "S5V", true},
        {"S5H|00:01:30|", "S5V", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AnswersQuery(c.reply, c.query), c.answers) << c.reply << " / " << c.query;
}

} // namespace
} // namespace zrnctl
