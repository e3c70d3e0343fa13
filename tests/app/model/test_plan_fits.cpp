// Whether a plan fits a device: the overlap rule counting the device's own
// schedules, the device clock, and wall-clock comparison across a
// daylight-saving change.
#include "PlanTest.h"
#include "TimeZone.h"
#include "model/PlanCheck.h"
#include "model/PlanFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace zrn {
namespace {
using namespace plantest;

TEST(PlanFits, ActiveSchedulesMustNotShareAnInstant) {
    const zrn::ScheduleTable device = EmptyDevice();
    // Touching ends conflict: the closed intervals share 12:00.
    auto refusal = CheckPlanFits(
        PlanOf({Entry(1, 'A', At(1, 10), At(1, 12)), Entry(2, 'A', At(1, 12), At(1, 14))}), device,
        std::nullopt);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->key, "schedules[0]");
    EXPECT_NE(refusal->reason.find("overlaps active schedule 2 (schedules[1])"), std::string::npos);
    EXPECT_FALSE(CheckPlanFits(
        PlanOf({Entry(1, 'A', At(1, 10), At(1, 12)), Entry(2, 'A', At(1, 12, 0, 1), At(1, 14))}),
        device, std::nullopt));
    // Only active ones count.
    EXPECT_FALSE(CheckPlanFits(
        PlanOf({Entry(1, 'A', At(1, 10), At(1, 12)), Entry(2, 'D', At(1, 9), At(1, 14))}), device,
        std::nullopt));
}

TEST(PlanFits, CountsTheDevicesSchedulesThePlanLeavesAlone) {
    zrn::ScheduleTable device = EmptyDevice();
    device[2] = Entry(3, 'A', At(2, 0), At(9, 0)); // enclosed by the candidate below
    const zrn::ScheduleEntry candidate = Entry(1, 'A', At(1, 0), At(20, 0));
    auto refusal = CheckPlanFits(PlanOf({candidate}), device, std::nullopt);
    ASSERT_TRUE(refusal);
    EXPECT_NE(refusal->reason.find("overlaps active schedule 3 on the device"), std::string::npos);
    // A schedule the plan lists is replaced, not counted.
    EXPECT_FALSE(CheckPlanFits(PlanOf({candidate, Entry(3, '0', At(1, 0), At(1, 0))}), device,
                               std::nullopt));
    EXPECT_FALSE(CheckPlanFits(PlanOf({candidate, Entry(3, 'D', At(2, 0), At(9, 0))}), device,
                               std::nullopt));
}

TEST(PlanFits, AnActiveScheduleMustNotHaveEndedOnTheDeviceClock) {
    const zrn::ScheduleTable device = EmptyDevice();
    const Plan plan = PlanOf({Entry(2, 'A', At(1, 10), At(1, 12))});
    auto refusal = CheckPlanFits(plan, device, At(1, 12));
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->key, "schedules[0].stop");
    EXPECT_FALSE(CheckPlanFits(plan, device, At(1, 11, 59, 59)));
    // An inactive one may lie in the past.
    EXPECT_FALSE(CheckPlanFits(PlanOf({Entry(2, 'D', At(1, 10), At(1, 12))}), device, At(5, 0)));
}

using BerlinWallClock = BerlinTime;

// On 28 March 2027 Berlin's clocks jump from 02:00 to 03:00. The device has no
// such rule: 02:30 comes before 03:15 on its clock, and 03:10-03:20 lies after
// 02:10-02:40. Through mktime 02:30 would become 03:30 and both pairs collide.
TEST_F(BerlinWallClock, ComparesReadingsAcrossADaylightSavingChangeAsTheyStand) {
    const auto plan = ReadPlan(R"({"zrn_plan": 1, "schedules": [
        {"schedule": 1, "status": "active", "start": "2027-03-28T02:30:00",
         "stop": "2027-03-28T03:15:00", "interval": "00:15:00", "valve": "00:10",
         "hold": "00:10", "pump": "00:10"}]})");
    ASSERT_TRUE(std::holds_alternative<Plan>(plan)) << std::get<Refusal>(plan).Text();
    zrn::ScheduleTable device = EmptyDevice();
    device[1] = Entry(2, 'A', {2027, 3, 28, 2, 10, 0}, {2027, 3, 28, 2, 40, 0});
    const Plan later = PlanOf({Entry(1, 'A', {2027, 3, 28, 3, 10, 0}, {2027, 3, 28, 3, 20, 0})});
    EXPECT_FALSE(CheckPlanFits(later, device, zrn::LocalDateTime{2027, 3, 28, 1, 0, 0}));
}

} // namespace
} // namespace zrn
