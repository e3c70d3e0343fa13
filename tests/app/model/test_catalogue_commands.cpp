#include "TimeZone.h"
#include "model/Catalogue.h"

#include <gtest/gtest.h>

using namespace zrn;

namespace {

struct Form {
    std::string built;
    const char* expected;
};

} // namespace

TEST(CatalogueCommands, FixedAndSimpleForms) {
    const Form forms[] = {
        {ProbeCommand(), "?"},
        {ClockQuery(), "C"},
        {VoltageQuery(), "B"},
        {VersionQuery(), "F"},
        {IdentQuery(), "I"},
        {AddressQuery(), "A"},
        {DelayQuery(), "L"},
        {ClockHoldCommand(), "S0D"},
        {ClockReleaseCommand(), "S0A"},
        {SdiDurationQuery(SdiDuration::Valve), "S5V"},
        {SdiDurationQuery(SdiDuration::Hold), "S5H"},
        {SdiDurationQuery(SdiDuration::Pump), "S5P"},
        {ScheduleStatusQuery(3), "S3?"},
        {ScheduleInactivateCommand(1), "S1D"},
        {ScheduleStatusCommand(2, 'A'), "S2A"},
        {ScheduleStatusCommand(2, '\0'), "S20"},
        {ScheduleDeleteCommand(4), "S40"},
        {ScheduleTestCommand(1), "S1R"},
    };
    for (const Form& form : forms)
        EXPECT_EQ(form.built, form.expected);
}

TEST(CatalogueCommands, RangeCheckedSettings) {
    EXPECT_EQ(DelaySetCommand(7), "L|007|");
    EXPECT_EQ(DelaySetCommand(0), "L|000|");
    EXPECT_EQ(DelaySetCommand(999), "L|999|");
    EXPECT_EQ(DelaySetCommand(1000), std::nullopt);
    EXPECT_EQ(DelaySetCommand(-1), std::nullopt);

    EXPECT_EQ(SdiDurationSetCommand(SdiDuration::Valve, 999), "S5V|00:16:39|");
    EXPECT_EQ(SdiDurationSetCommand(SdiDuration::Valve, 0), "S5V|00:00:00|");
    EXPECT_EQ(SdiDurationSetCommand(SdiDuration::Hold, 90), "S5H|00:01:30|");
    EXPECT_EQ(SdiDurationSetCommand(SdiDuration::Pump, 1000), std::nullopt);
    EXPECT_EQ(SdiDurationSetCommand(SdiDuration::Pump, -1), std::nullopt);

    EXPECT_EQ(AddressSetCommand('5'), "A5");
    EXPECT_EQ(AddressSetCommand('?'), "A?");
    EXPECT_EQ(AddressSetCommand('x'), std::nullopt);
    EXPECT_EQ(AddressSetCommand('\0'), std::nullopt);
}

TEST(CatalogueCommands, ChangedSettingIsFollowedByItsQuery) {
    EXPECT_EQ(AddressChangeSequence('5'), (CommandList{"A5", "A"}));
    EXPECT_EQ(AddressChangeSequence('x'), (CommandList{"A"}));
    EXPECT_EQ(DelayChangeSequence(1000), (CommandList{"L"}));
    EXPECT_EQ(DelayChangeSequence(12), (CommandList{"L|012|", "L"}));
    EXPECT_EQ(SdiDurationChangeSequence(SdiDuration::Hold, 90),
              (CommandList{"S5H|00:01:30|", "S5H"}));
    EXPECT_TRUE(SdiDurationChangeSequence(SdiDuration::Hold, 1000).empty());
}

TEST(CatalogueCommands, IdentificationIsAlways35Characters) {
    SdiIdent ident{"1", "ABCDEFGHIJ", "X1", "001", "OPTIONALFIELD"};
    const std::string command = IdentSetCommand(ident);
    EXPECT_EQ(command, "I| 1ABCDEFGH    X1001OPTIONALFIELD|");
    EXPECT_EQ(command.size(), 35u);

    EXPECT_EQ(IdentSetCommand(SdiIdent{}), "I|" + std::string(32, ' ') + "|");
    const SdiIdent tooLong{"123", "123456789", "1234567", "1234", "12345678901234"};
    EXPECT_EQ(IdentSetCommand(tooLong), "I|12123456781234561231234567890123|");
}

using CatalogueClock = BerlinTime;

TEST_F(CatalogueClock, ClockSetIsFramedByHoldAndRelease) {
    const auto t = MakeLocalTime({2026, 12, 6, 14, 5, 9});
    ASSERT_TRUE(t);
    EXPECT_EQ(ClockSetSequence(*t), (CommandList{"S0D", "C|12/06/26|14:05:09|", "S0A"}));
    // Summer time: the local hour, not the standard-time one.
    const CommandList summer = ClockSetSequence(*MakeLocalTime({2026, 7, 1, 8, 0, 0}));
    ASSERT_EQ(summer.size(), 3u);
    EXPECT_EQ(summer[1], "C|07/01/26|08:00:00|");
    // A never-set pending clock goes out as 1970 in local time.
    const CommandList never = ClockSetSequence(0);
    ASSERT_EQ(never.size(), 3u);
    EXPECT_EQ(never[1], "C|01/01/70|01:00:00|");
    EXPECT_EQ(ClockSetCommand({2105, 1, 2, 3, 4, 5}), "C|01/02/05|03:04:05|");
}

namespace {

ScheduleEntry SampleEntry() {
    ScheduleEntry e{};
    e.nNumber = 3;
    e.nStartYear = 6, e.nStartMonth = 3, e.nStartDay = 3;
    e.nStartHour = 7, e.nStartMinute = 5, e.nStartSecond = 0;
    e.nStopYear = 6, e.nStopMonth = 3, e.nStopDay = 10;
    e.nStopHour = 7, e.nStopMinute = 4, e.nStopSecond = 59;
    e.nIntervalHours = 0, e.nIntervalMinutes = 15, e.nIntervalSeconds = 0;
    e.nValveMinutes = 1, e.nValveSeconds = 30;
    e.nHoldMinutes = 2, e.nHoldSeconds = 0;
    e.nPumpMinutes = 0, e.nPumpSeconds = 45;
    e.chStatus = 'D';
    return e;
}

} // namespace

TEST(CatalogueCommands, ScheduleUploadIsTenCommandsEndingWithTheStatus) {
    EXPECT_EQ(
        ScheduleUploadSequence(SampleEntry()),
        (CommandList{"S3D", "S3BD|03/03/06|", "S3BT|07:05:00|", "S3ED|03/10/06|", "S3ET|07:04:59|",
                     "S3I|00:15:00|", "S3V|00:01:30|", "S3H|00:02:00|", "S3P|00:00:45|", "S3D"}));
    ScheduleEntry empty = SampleEntry();
    empty.chStatus = 0;
    const CommandList upload = ScheduleUploadSequence(empty);
    ASSERT_FALSE(upload.empty());
    EXPECT_EQ(upload.back(), "S30");
    EXPECT_EQ(ScheduleUploadSequence(empty).size(), 10u);
}

TEST(ScheduleCommands, StatusChangesAreConfirmedAndClearAllEmptiesEveryNumber) {
    EXPECT_EQ(StatusChangeSequence(3, 'D'), (CommandList{"S3D", "S3?"}));
    EXPECT_EQ(StatusChangeSequence(1, 'A'), (CommandList{"S1A", "S1?"}));
    EXPECT_EQ(ClearAllSequence(), (CommandList{"S10", "S20", "S30", "S40"}));
}

TEST(CatalogueCommands, ScheduleReadIsNineQueriesStatusFirst) {
    EXPECT_EQ(ScheduleReadSequence(2),
              (CommandList{"S2?", "S2BD", "S2BT", "S2ED", "S2ET", "S2I", "S2V", "S2H", "S2P"}));
}

TEST(CatalogueCommands, FullReadAndPollingRotation) {
    EXPECT_EQ(FullReadSequence(), (CommandList{"F", "B", "I", "L", "A", "S5V", "S5H", "S5P", "C"}));

    const CommandList expected[] = {{"C", "L"},   {"C", "A"}, {"C", "S5V"}, {"C", "S5H"},
                                    {"C", "S5P"}, {"C", "B"}, {"C"},        {"C", "L"}};
    int step = 0;
    for (const CommandList& commands : expected) {
        const PollTick tick = NormalPollTick(step);
        EXPECT_EQ(tick.commands, commands) << "step " << step;
        step = tick.nNextPollStep;
    }
    EXPECT_EQ(NormalPollTick(42).commands, CommandList{"C"});
    EXPECT_EQ(NormalPollTick(42).nNextPollStep, 0);
}
