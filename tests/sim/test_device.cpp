#include "DeviceFixture.h"

#include <vector>

namespace zrnsim {
namespace {

using testing::KnownDevice;

struct QueryCase {
    const char* command;
    const char* reply;
};

class Queries : public KnownDevice, public ::testing::WithParamInterface<QueryCase> {};

TEST_P(Queries, AnswerInTheWireForm) {
    const Answer answer = device->Handle(GetParam().command);
    EXPECT_TRUE(answer.accepted);
    ASSERT_TRUE(answer.reply.has_value());
    EXPECT_EQ(*answer.reply, GetParam().reply);
}

INSTANTIATE_TEST_SUITE_P(
    EveryQuery, Queries,
    ::testing::Values(QueryCase{"C", "C|12/06/26|14:05:09|"}, QueryCase{"F", "F|02.07|"},
                      QueryCase{"B", "B|12.60|3.55|"},
                      QueryCase{"I", "I|13  ZRNSIMZRN100207      SIM0001|"}, QueryCase{"A", "A3"},
                      QueryCase{"L", "L|015|"}, QueryCase{"S5V", "S5V|00:01:30|"},
                      QueryCase{"S5H", "S5H|00:16:39|"}, QueryCase{"S5P", "S5P|00:00:00|"},
                      QueryCase{"S1?", "S1A"}, QueryCase{"S2?", "S2D"}, QueryCase{"S3?", "S30"},
                      QueryCase{"S1BD", "S1BD|12/06/26|"}, QueryCase{"S1BT", "S1BT|08:00:00|"},
                      QueryCase{"S1ED", "S1ED|12/13/26|"}, QueryCase{"S1ET", "S1ET|08:00:00|"},
                      QueryCase{"S1I", "S1I|01:00:00|"}, QueryCase{"S1V", "S1V|00:01:00|"},
                      QueryCase{"S1H", "S1H|00:02:00|"}, QueryCase{"S1P", "S1P|00:03:30|"},
                      QueryCase{"S2BD", "S2BD|01/02/27|"}, QueryCase{"S2ET", "S2ET|23:59:59|"},
                      QueryCase{"S2ED", "S2ED|02/29/28|"}, QueryCase{"S2H", "S2H|00:59:59|"}));

struct SetCase {
    const char* command;
    const char* query;
    const char* reply; // the query's answer afterwards
};

class Settings : public KnownDevice, public ::testing::WithParamInterface<SetCase> {};

TEST_P(Settings, AreAcceptedWithoutReplyAndReadBack) {
    const Answer set = device->Handle(GetParam().command);
    EXPECT_TRUE(set.accepted);
    EXPECT_FALSE(set.reply.has_value());
    EXPECT_EQ(device->Handle(GetParam().query).reply.value_or("none"), GetParam().reply);
}

INSTANTIATE_TEST_SUITE_P(
    EverySetting, Settings,
    ::testing::Values(
        SetCase{"C|02/29/28|23:59:59|", "C", "C|02/29/28|23:59:59|"}, SetCase{"A9", "A", "A9"},
        SetCase{"A0", "A", "A0"},
        // The bus wildcard is taken but is no address to keep.
        SetCase{"A?", "A", "A3"}, SetCase{"L|007|", "L", "L|007|"},
        SetCase{"L|999|", "L", "L|999|"}, SetCase{"L|000|", "L", "L|000|"},
        SetCase{"I| 1ABCDEFGH    X1001OPTIONALFIELD|", "I", "I| 1ABCDEFGH    X1001OPTIONALFIELD|"},
        SetCase{"I|                                |", "I", "I|                                |"},
        SetCase{"S5V|00:16:39|", "S5V", "S5V|00:16:39|"},
        SetCase{"S5H|00:00:00|", "S5H", "S5H|00:00:00|"},
        SetCase{"S5P|00:01:30|", "S5P", "S5P|00:01:30|"}, SetCase{"S2A", "S2?", "S2A"},
        SetCase{"S1D", "S1?", "S1D"}, SetCase{"S10", "S1?", "S10"}, SetCase{"S3D", "S3?", "S3D"},
        SetCase{"S4A", "S4?", "S4A"}, SetCase{"S3BD|03/03/06|", "S3BD", "S3BD|03/03/06|"},
        SetCase{"S3BT|07:05:00|", "S3BT", "S3BT|07:05:00|"},
        SetCase{"S3ED|12/31/99|", "S3ED", "S3ED|12/31/99|"},
        SetCase{"S3ET|00:00:00|", "S3ET", "S3ET|00:00:00|"},
        SetCase{"S4I|23:59:59|", "S4I", "S4I|23:59:59|"},
        SetCase{"S4I|00:00:00|", "S4I", "S4I|00:00:00|"},
        SetCase{"S4V|00:59:59|", "S4V", "S4V|00:59:59|"},
        SetCase{"S4H|00:01:30|", "S4H", "S4H|00:01:30|"},
        SetCase{"S4P|00:00:01|", "S4P", "S4P|00:00:01|"}));

// Every query's answer: a refused command must leave all of them as they were.
std::vector<std::string> Snapshot(Device& device) {
    std::vector<std::string> replies;
    for (const char* query : {"C", "F", "B", "I", "A", "L", "S5V", "S5H", "S5P"})
        replies.push_back(device.Handle(query).reply.value_or(""));
    for (char n = '1'; n <= '4'; ++n) {
        replies.push_back(device.Handle(std::string("S") + n + "?").reply.value_or(""));
        for (const FieldSpec& field : kScheduleFields)
            replies.push_back(
                device.Handle(std::string("S") + n + std::string(field.code)).reply.value_or(""));
    }
    return replies;
}

class Refusals : public KnownDevice, public ::testing::WithParamInterface<const char*> {};

TEST_P(Refusals, GetNakAndChangeNothing) {
    const auto before = Snapshot(*device);
    const Answer answer = device->Handle(GetParam());
    EXPECT_FALSE(answer.accepted);
    EXPECT_FALSE(answer.reply.has_value());
    EXPECT_EQ(Snapshot(*device), before);
}

INSTANTIATE_TEST_SUITE_P(
    ValuesItCannotHold, Refusals,
    ::testing::Values(
        // clock
        "C|13/06/26|14:05:09|", "C|00/06/26|14:05:09|", "C|02/30/26|14:05:09|",
        "C|02/29/27|14:05:09|", "C|12/06/26|24:00:00|", "C|12/06/26|14:60:09|",
        "C|12/06/26|14:05:60|", "C|12/6/26|14:05:09|", "C|12/06/26|14:05:09",
        "C|12-06-26|14:05:09|",
        // address, delay, identification
        "Ax", "A:", "A10", "A ", "L|1000|", "L|-01|", "L|07|", "L|0a7|", "L007", "I|short|",
        "I| 1ABCDEFGH    X1001OPTIONALFIELDX|", "I| 1ABCDEFGH    X1001OPTIONALFIEL\x01|",
        // entry 5
        "S5V|00:16:40|", "S5H|01:00:00|", "S5P|00:60:00|", "S5X", "S5?", "S5A", "S5V|0:1:30|",
        // schedule entries
        "S1BD|13/01/26|", "S1BD|04/31/26|", "S1BT|24:00:00|", "S1ED|00/10/26|", "S1ET|12:00:60|",
        "S1I|24:00:00|", "S1V|01:00:00|", "S1H|00:60:00|", "S1P|00:00:60|", "S1X", "S1B", "S1BX",
        "S1BD|12/06/26", "S1E?", "S1Z", "S1BT|12:00:00|x",
        // entry numbers and the rest
        "S6?", "S0?", "S01", "S9BD", "S", "S1", "X", "D", "", "CX", "FX", "BX", "??", "S0DX"));

TEST_F(KnownDevice, ActionsAreAcceptedWithoutReply) {
    for (const char* action : {"?", "S0D", "S0A", "S1R", "S4R"}) {
        const Answer answer = device->Handle(action);
        EXPECT_TRUE(answer.accepted) << action;
        EXPECT_FALSE(answer.reply.has_value()) << action;
    }
    EXPECT_EQ(device->State().testRuns, 2u);
}

TEST_F(KnownDevice, ClockChangeIsBracketedByAHold) {
    device->Handle("S0D");
    EXPECT_TRUE(device->State().schedulesHeld);
    device->Handle("C|01/01/27|00:00:00|");
    device->Handle("S0A");
    EXPECT_FALSE(device->State().schedulesHeld);
    // Holding the schedules must not touch their status.
    EXPECT_EQ(device->Handle("S1?").reply, "S1A");
    EXPECT_EQ(device->Handle("S2?").reply, "S2D");
}

TEST_F(KnownDevice, ClockRunsWithThePcClock) {
    now += 3600 * 10 + 65; // across midnight
    EXPECT_EQ(device->Handle("C").reply, "C|12/07/26|00:06:14|");
    ASSERT_TRUE(device->Handle("C|12/31/99|23:59:59|").accepted);
    now += 2;
    EXPECT_EQ(device->Handle("C").reply, "C|01/01/00|00:00:01|");
}

TEST_F(KnownDevice, VoltagesDriftSlowlyAroundTheirValues) {
    double lowest = 100, highest = 0;
    for (int minute = 0; minute < 12 * 60; minute += 10) {
        now += 600;
        const std::string reply = device->Handle("B").reply.value_or("");
        double external = 0, internal = 0;
        ASSERT_EQ(std::sscanf(reply.c_str(), "B|%lf|%lf|", &external, &internal), 2) << reply;
        EXPECT_NEAR(external, 12.60, 0.06);
        EXPECT_NEAR(internal, 3.55, 0.02);
        lowest = std::min(lowest, external);
        highest = std::max(highest, external);
    }
    EXPECT_GT(highest - lowest, 0.05);
}

TEST(DefaultState, IsARealisticDevice) {
    const std::time_t now = std::time(nullptr);
    Device device(DefaultState(now), [now] { return now; });
    EXPECT_EQ(device.Handle("A").reply, "A0");
    EXPECT_EQ(device.Handle("S1?").reply, "S1A");
    EXPECT_EQ(device.Handle("S2?").reply, "S2D");
    EXPECT_EQ(device.Handle("S3?").reply, "S30");
    EXPECT_EQ(device.Handle("I").reply->size(), 2 + kIdentificationLength + 1);
    EXPECT_EQ(device.DeviceTime(), now);
    // Even empty slots answer with fields the program's checks accept.
    for (const char* query : {"S3BD", "S4ED", "S4I"})
        EXPECT_NE(device.Handle(query).reply->find('|'), std::string::npos);
}

} // namespace
} // namespace zrnsim
