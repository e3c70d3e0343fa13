// What both front ends do with a device: which reply answers which query,
// and the steps an import takes.
#include "PlanTest.h"
#include "device/PlanImport.h"
#include "device/Replies.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zrn {
namespace {
using namespace plantest;

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
    // A value reply without its values is no status, nor is a letter too many a value reply.
    EXPECT_FALSE(AnswersQuery("S1V", "S1?"));
    EXPECT_FALSE(AnswersQuery("S1BDx", "S1BD"));
}

TEST(ImportPolicy, ZrnctlWritesWhatDiffersTheDialogEveryListedOneAndActiveOnesGoOnLast) {
    ScheduleTable device = EmptyDevice();
    device[0] = Entry(1, 'A', At(1, 10), At(1, 12));
    device[1] = Entry(2, 'D', At(2, 10), At(2, 12));
    device[2] = Entry(3, 'D', At(3, 10), At(3, 12));
    // In the file's order: 3 cleared, 1 as held, 2 moved and active.
    Plan plan =
        PlanOf({Entry(3, '0', At(1, 0), At(1, 0)), device[0], Entry(2, 'A', At(4, 10), At(4, 12))});
    plan.sdi.delay = 12;

    const ImportSteps ctl = PlanImportSteps(plan, device, ZRNCTL_IMPORT);
    EXPECT_EQ(ctl.written, (std::vector<int>{3, 2}));
    ASSERT_EQ(ctl.stores.size(), 2u);
    EXPECT_EQ(ctl.stores[0].change, Change::Delete);
    EXPECT_EQ(ctl.stores[1].change, Change::Upload);
    EXPECT_EQ(ctl.stores[1].entry.chStatus, STATUS_INACTIVE) << "stored inactive first";
    ASSERT_EQ(ctl.activations.size(), 1u);
    EXPECT_EQ(ctl.activations[0].entry, plan.schedules[2].entry);

    const ImportSteps dialog = PlanImportSteps(plan, device, DIALOG_IMPORT);
    EXPECT_EQ(dialog.written, (std::vector<int>{3, 1, 2}));
    ASSERT_EQ(dialog.activations.size(), 2u);
    EXPECT_EQ(dialog.activations[0].entry.nNumber, 1);

    // The question tells of the SDI settings only where they are left alone.
    const auto leftAlone = [&](const ImportPolicy& policy) {
        return ReplaceQuestion(plan, "plan.json", policy).find("SDI-12") != std::string::npos;
    };
    EXPECT_TRUE(leftAlone(DIALOG_IMPORT));
    EXPECT_FALSE(leftAlone(ZRNCTL_IMPORT));
}

} // namespace
} // namespace zrn
