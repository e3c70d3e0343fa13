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

} // namespace
} // namespace zrnctl
