// The clock panel: clock replies, the pickers, setting and synchronising the
// device clock, and the clock value nobody chose.
#include "PanelTestAccess.h"
#include "DialogHarness.h"
#include "PickerInput.h"
#include "TestSupport.h"
#include "TimeZone.h"
#include "model/CalendarTime.h"

#include <gtest/gtest.h>

using namespace win;
using Calls = std::vector<std::string>;

namespace {

int64_t Local(int year, int month, int day, int hour, int minute, int second) {
    return zrn::MakeLocalTime({year, month, day, hour, minute, second}).value();
}

class ClockPanelTest : public ::testing::Test {
protected:
    BerlinZone zone; // set before the dialog shows any local time
    DialogHarness h{"ZRNcom", Local(2026, 12, 7, 7, 30, 0)};

    void Reply(const char* text) { h.LinkNotify(LINK_REPLY, text); }
    std::string Text(int id) { return h.dlg().GetDlgItemText(id); }
    void Click(int id) { h.dlg().SendMessage(id, BN_CLICKED); }
    void PickDate(int year, int month, int day) {
        SendPicker(h.dlg(), IDC_ZRN_DATE, DTN_DATETIMECHANGE,
                   {.year = year, .month = month, .day = day});
    }
    void Send(int id, int code) { SendPicker(h.dlg(), id, code); }
    void PickTime(int hour, int minute, int second) {
        SendPicker(h.dlg(), IDC_ZRN_TIME, DTN_DATETIMECHANGE, {2000, 1, 1, hour, minute, second});
    }
    // A device ten seconds behind the PC, read twice: the first reply after
    // start-up leaves the texts alone, as after an edit.
    void DeviceRead() {
        Reply("C|12/7/26|7:29:49|");
        Reply("C|12/7/26|7:29:50|");
        h.Take();
    }
};

} // namespace

TEST_F(ClockPanelTest, ReplyShowsTheDeviceClockAndThePcClockOfThatMoment) {
    DebugCapture debug;
    Reply("C|1/2/26|3:4:4|");
    EXPECT_EQ(Text(IDC_ZRN_DATE_TEXT), "");
    Reply("C|1/2/26|3:4:5|"); // no zero padding, two-digit year
    EXPECT_EQ(PanelTestAccess::tZrnClock(h.dlg().panels.clock), Local(2026, 1, 2, 3, 4, 5));
    EXPECT_EQ(Text(IDC_ZRN_DATE_TEXT), "01/02/2026");
    EXPECT_EQ(Text(IDC_ZRN_TIME_TEXT), "03:04:05 AM");
    EXPECT_EQ(Text(IDC_PC_DATE), "12/07/2026");
    EXPECT_EQ(Text(IDC_PC_TIME), "07:30:00 AM");
    EXPECT_TRUE(debug.Contains("CZRNcomDlg/ProcessReadClockResponse: C|1/2/26|3:4:5|\r\n"));
    EXPECT_EQ(PanelTestAccess::bFollowZrnClock(h.dlg().panels.clock), 1);
}

TEST_F(ClockPanelTest, MalformedReplyChangesNothingAndLogsNothing) {
    DeviceRead();
    const std::string log = Text(IDC_LOG);
    h.now += 60;
    for (const char* bad : {"C|12/7/26|7:29|", "C", "C|x/7/26|7:29:51|"})
        Reply(bad);
    EXPECT_EQ(PanelTestAccess::tZrnClock(h.dlg().panels.clock), Local(2026, 12, 7, 7, 29, 50));
    EXPECT_EQ(Text(IDC_PC_TIME), "07:30:00 AM");
    EXPECT_EQ(Text(IDC_LOG), log);
}

TEST_F(ClockPanelTest, AnEditKeepsTheDeviceTextsForExactlyOneReply) {
    DeviceRead();
    PickDate(2027, 3, 4);
    EXPECT_EQ(Text(IDC_ZRN_DATE_TEXT), "03/04/2027");
    EXPECT_TRUE(h.dlg().IsItemShown(IDC_CANCEL_CLOCK_EDIT));
    Reply("C|12/7/26|7:29:51|");
    EXPECT_EQ(Text(IDC_ZRN_DATE_TEXT), "03/04/2027");
    EXPECT_EQ(Text(IDC_ZRN_TIME_TEXT), "07:29:50 AM");
    Reply("C|12/7/26|7:29:52|");
    EXPECT_EQ(Text(IDC_ZRN_DATE_TEXT), "12/07/2026");
    EXPECT_EQ(Text(IDC_ZRN_TIME_TEXT), "07:29:52 AM");
}

TEST_F(ClockPanelTest, UpdateWithNothingPickedOffersAndSendsNothing) {
    MessageBoxAnswer answer(IDOK);
    Click(IDC_UPDATE_ZRN_CLOCK); // before the device was even read
    DeviceRead();
    Click(IDC_UPDATE_ZRN_CLOCK);
    PickDate(2027, 3, 4);
    Click(IDC_CANCEL_CLOCK_EDIT); // "X" throws the pick away
    Click(IDC_UPDATE_ZRN_CLOCK);
    EXPECT_TRUE(h.Take().empty());
    ASSERT_EQ(answer.asked.size(), 3u);
    for (const auto& box : answer.asked) {
        EXPECT_EQ(box.text, "Pick a new date or time for the ZRN clock first.");
        EXPECT_EQ(box.flags, MB_OK | MB_ICONINFORMATION);
    }
}

TEST_F(ClockPanelTest, UpdateSendsThePickedDateAtTheDeviceTimeOfDayOnce) {
    DeviceRead();
    h.dlg().link.bLinkOpen = 0; // the clock change goes to the library all the same
    PickDate(2027, 3, 4);
    MessageBoxAnswer answer(IDOK);
    Click(IDC_UPDATE_ZRN_CLOCK);
    ASSERT_EQ(answer.asked.size(), 1u);
    EXPECT_EQ(answer.asked[0].text, "Change ZRN Clock to 03/04/2027 07:29:50 AM ?");
    EXPECT_EQ(answer.asked[0].flags, MB_OKCANCEL | MB_ICONQUESTION);
    EXPECT_EQ(h.Take(), (Calls{"S0D", "C|03/04/27|07:29:50|", "S0A"}));
    EXPECT_FALSE(h.dlg().IsItemShown(IDC_CANCEL_CLOCK_EDIT));
    EXPECT_EQ(PanelTestAccess::bFollowZrnClock(h.dlg().panels.clock), 1);
    // Sent is sent: a later press does not set the clock back to that moment.
    Click(IDC_UPDATE_ZRN_CLOCK);
    EXPECT_TRUE(h.Take().empty());
    ASSERT_FALSE(answer.asked.empty());
    EXPECT_EQ(answer.asked.back().text, "Pick a new date or time for the ZRN clock first.");
}

TEST_F(ClockPanelTest, CancelKeepsThePickAndTheXButton) {
    DeviceRead();
    PickTime(22, 15, 0);
    {
        MessageBoxAnswer cancel(IDCANCEL);
        Click(IDC_UPDATE_ZRN_CLOCK);
    }
    EXPECT_TRUE(h.Take().empty());
    EXPECT_TRUE(h.dlg().IsItemShown(IDC_CANCEL_CLOCK_EDIT));
    MessageBoxAnswer ok(IDOK);
    Click(IDC_UPDATE_ZRN_CLOCK);
    EXPECT_EQ(h.Take(), (Calls{"S0D", "C|12/07/26|22:15:00|", "S0A"}));
}

TEST_F(ClockPanelTest, TimeChangeTakesTheDeviceDateEvenAfterADateChange) {
    DeviceRead();
    DebugCapture debug;
    PickDate(2027, 3, 4);
    PickTime(22, 15, 0);
    EXPECT_EQ(PanelTestAccess::tPendingClock(h.dlg().panels.clock), Local(2026, 12, 7, 22, 15, 0));
    EXPECT_EQ(Text(IDC_ZRN_TIME_TEXT), "10:15:00 PM");
    EXPECT_TRUE(debug.Contains("OnChange/ZRN Date: 3-4-2027 7:29:50, New Updated\n"));
    EXPECT_TRUE(debug.Contains("OnChange/ZRN Time: 1-1-2000 22:15:00\n"));
    EXPECT_TRUE(debug.Contains("OnChange/ZRN Time: Before= 12-7-2026 7:29:50\n"));
    EXPECT_TRUE(debug.Contains("OnChange/ZRN Time: New= 12-7-2026 22:15:00\n"));
}

TEST_F(ClockPanelTest, CalendarCloseUpTakesThePickedDateAtThePendingTimeOfDay) {
    DeviceRead();
    DebugCapture debug;
    auto* picker = h.dlg().Item<DateTimePicker>(IDC_ZRN_DATE);
    Send(IDC_ZRN_DATE, DTN_DROPDOWN);
    // Browsing the calendar picks nothing yet.
    PickDate(2027, 5, 6);
    EXPECT_TRUE(debug.Contains("OnChange/ZRN Date: 5-6-2027 7:29:50, DROPDOWN active\n"));
    EXPECT_EQ(PanelTestAccess::tPendingClock(h.dlg().panels.clock), 0);
    picker->SetValue(QDateTime(QDate(2027, 5, 6), QTime(1, 2, 3)));
    Send(IDC_ZRN_DATE, DTN_CLOSEUP);
    // Nothing picked before: the time of day is the device's, not midnight of 1970.
    EXPECT_EQ(PanelTestAccess::tPendingClock(h.dlg().panels.clock), Local(2027, 5, 6, 7, 29, 50));
    EXPECT_TRUE(debug.Contains("DateTimePicker/ZRN Date/CloseUp: 05/06/2027 07:29:50 AM\n"));
    EXPECT_EQ(Text(IDC_ZRN_DATE_TEXT), "05/06/2027");
    // With a time picked, a second close-up keeps that time.
    PickTime(22, 15, 0);
    Send(IDC_ZRN_DATE, DTN_DROPDOWN);
    picker->SetValue(QDateTime(QDate(2028, 1, 2), QTime(0, 0)));
    Send(IDC_ZRN_DATE, DTN_CLOSEUP);
    EXPECT_EQ(PanelTestAccess::tPendingClock(h.dlg().panels.clock), Local(2028, 1, 2, 22, 15, 0));
}

TEST_F(ClockPanelTest, SynchronisingSendsThePcTimeOnEachReplyUntilTheClocksAgree) {
    DeviceRead();
    Click(IDC_SYNC_ZRN_CLOCK);
    EXPECT_TRUE(h.Take().empty()); // the button only asks
    Reply("C|12/7/26|7:29:59|");   // one second off
    EXPECT_EQ(h.Take(), (Calls{"S0D", "C|12/07/26|07:30:00|", "S0A"}));
    ++h.now;
    Reply("C|12/7/26|7:30:01|");
    EXPECT_EQ(PanelTestAccess::bSyncToPc(h.dlg().panels.clock), 0);
    EXPECT_TRUE(h.Take().empty());
    Reply("C|12/7/26|7:30:09|"); // drifting again: no longer asked to follow
    EXPECT_TRUE(h.Take().empty());
}

// A device that refuses the clock, or one a daylight-saving fold apart, would
// otherwise have its sampling paused and resumed on every reply for ever.
TEST_F(ClockPanelTest, SynchronisingGivesUpAfterItsAttemptsAndLeavesSamplingResumed) {
    DeviceRead();
    Click(IDC_SYNC_ZRN_CLOCK);
    const Calls sequence{"S0D", "C|12/07/26|07:30:00|", "S0A"};
    for (int attempt = 1; attempt <= 5; ++attempt) {
        Reply("C|12/7/26|8:30:00|"); // an hour ahead, whatever is sent
        ASSERT_EQ(h.Take(), sequence) << "attempt " << attempt;
    }
    Reply("C|12/7/26|8:30:00|");
    EXPECT_EQ(h.Take(), (Calls{"S0A"})) << "sampling is left resumed";
    EXPECT_EQ(PanelTestAccess::bSyncToPc(h.dlg().panels.clock), 0);
    EXPECT_NE(
        Text(IDC_LOG).find("Synchronize ZRN clock to PC: the ZRN clock still differs from the "
                           "PC clock after 5 attempts; stopped."),
        std::string::npos);
    Reply("C|12/7/26|8:30:01|");
    EXPECT_TRUE(h.Take().empty());

    // Pressed again, the device gets its attempts afresh.
    Click(IDC_SYNC_ZRN_CLOCK);
    Reply("C|12/7/26|8:30:02|");
    EXPECT_EQ(h.Take(), sequence);
}

TEST_F(ClockPanelTest, AReplyWhileTheConfirmationIsOpenIsHandledAndThePickStillGoesOut) {
    DeviceRead();
    Click(IDC_SYNC_ZRN_CLOCK);
    PickDate(2027, 3, 4);
    std::vector<std::string> texts;
    auto previous = SetMessageBoxHook([&](const MessageBoxRequest& box) {
        Reply("C|12/7/26|7:29:51|"); // arrives while the operator reads the question
        texts = {Text(IDC_ZRN_DATE_TEXT), Text(IDC_ZRN_TIME_TEXT)};
        return box.text.starts_with("Change") ? IDOK : IDCANCEL;
    });
    Click(IDC_UPDATE_ZRN_CLOCK);
    SetMessageBoxHook(std::move(previous));
    EXPECT_EQ(h.Take(),
              (Calls{"S0D", "C|12/07/26|07:30:00|", "S0A", "S0D", "C|03/04/27|07:29:50|", "S0A"}));
    EXPECT_EQ(texts, (Calls{"03/04/2027", "07:29:50 AM"})); // the edit held its texts
}

TEST_F(ClockPanelTest, PickersAppearOnFocusWithTheDeviceClockAndGoOnFocusLoss) {
    DeviceRead();
    h.dlg().SendMessage(IDC_ZRN_DATE_TEXT, EN_SETFOCUS);
    EXPECT_FALSE(h.dlg().IsItemShown(IDC_ZRN_DATE_TEXT));
    EXPECT_TRUE(h.dlg().IsItemShown(IDC_ZRN_DATE));
    EXPECT_EQ(h.dlg().Item<DateTimePicker>(IDC_ZRN_DATE)->Value().toSecsSinceEpoch(),
              PanelTestAccess::tZrnClock(h.dlg().panels.clock));
    h.dlg().SendMessage(IDC_ZRN_DATE, NM_KILLFOCUS);
    EXPECT_TRUE(h.dlg().IsItemShown(IDC_ZRN_DATE_TEXT));
    EXPECT_FALSE(h.dlg().IsItemShown(IDC_ZRN_DATE));

    h.dlg().SendMessage(IDC_ZRN_TIME_TEXT, EN_SETFOCUS);
    EXPECT_FALSE(h.dlg().IsItemShown(IDC_ZRN_TIME_TEXT));
    EXPECT_TRUE(h.dlg().IsItemShown(IDC_ZRN_TIME));
    h.dlg().SendMessage(IDC_ZRN_TIME, NM_KILLFOCUS);
    EXPECT_TRUE(h.dlg().IsItemShown(IDC_ZRN_TIME_TEXT));
    EXPECT_FALSE(h.dlg().IsItemShown(IDC_ZRN_TIME));
}

TEST_F(ClockPanelTest, ClockButtonAsksTheDeviceOnlyOverAnOpenLink) {
    Click(IDC_BUTTON_CLOCK);
    EXPECT_TRUE(h.Take().empty());
    h.dlg().link.bLinkOpen = 1;
    Click(IDC_BUTTON_CLOCK);
    EXPECT_EQ(h.Take(), (Calls{"C"}));
}

TEST_F(ClockPanelTest, BeforeTheDeviceIsReadEditsBuildOnThePcClockNot1970) {
    h.dlg().SendMessage(IDC_ZRN_DATE_TEXT, EN_SETFOCUS);
    EXPECT_EQ(h.dlg().Item<DateTimePicker>(IDC_ZRN_DATE)->Value().toSecsSinceEpoch(), h.now);
    PickTime(22, 15, 0);
    EXPECT_EQ(PanelTestAccess::tPendingClock(h.dlg().panels.clock), Local(2026, 12, 7, 22, 15, 0));
    MessageBoxAnswer answer(IDOK);
    Click(IDC_UPDATE_ZRN_CLOCK);
    EXPECT_EQ(answer.asked.at(0).text, "Change ZRN Clock to 12/07/2026 10:15:00 PM ?");
}
