// The program's end of the link: notifications, dispatch by first letter,
// the status replies and the commands of the buttons below the visible area.
#include "PanelTestAccess.h"
#include "DialogFixture.h"
#include "platform/Dialog.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

using namespace win;

TEST_F(DialogTest, AcknowledgementsAreTracedAndEveryNotificationRefreshesTheLiveness) {
    CZRNcomDlg& dlg = Make();
    struct Case {
        uintptr_t code;
        const char* text;
        const char* trace; // "" for none
    } cases[] = {
        {LINK_ACK, "S1?", "ACK S1?\r\n"}, {LINK_ACK, nullptr, ""}, {LINK_NAK, "C", "NAK C\r\n"},
        {LINK_NAK, nullptr, ""},          {LINK_DATA, "D|1|", ""}, {LINK_DATA, nullptr, ""},
        {LINK_REPLY, nullptr, ""},        {99, "F|01.02|", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.trace);
        dlg.link.tLastLinkMessage = 0;
        dlg.link.bPortScanning = true;
        dlg.link.strResponse = "old";
        debug.Clear();
        const int64_t before = std::time(nullptr);
        Notify(c.code, c.text);
        EXPECT_GE(dlg.link.tLastLinkMessage, before);
        EXPECT_FALSE(dlg.link.bPortScanning);
        EXPECT_EQ(debug.Text(), c.trace);
        EXPECT_EQ(dlg.link.strResponse, c.code == LINK_REPLY ? "" : "old");
    }
    EXPECT_EQ(Text(IDC_VERSION), "") << "only replies are dispatched";
}

TEST_F(DialogTest, RepliesGoToTheHandlerOfTheirFirstLetter) {
    CZRNcomDlg& dlg = Make();
    struct Case {
        const char* reply;
        const char* handlerTrace; // "": a handler that writes none; nullptr: no handler
        int shownIn = 0;          // a box the handler fills, 0 for none
        const char* shown = "";
    } cases[] = {
        {"A0", "CZRNcomDlg/ProcessSDIAddress: A0\r\n", IDC_SDI_ADDRESS, "0"},
        {"B|12.6|3.55|", "CZRNcomDlg/ProcessVoltageResponse: 12.6.3.55\r\n"},
        {"C|12/06/26|14:05:09|", "CZRNcomDlg/ProcessReadClockResponse: C|12/06/26|14:05:09|"},
        {"F|02.07|", "CZRNcomDlg/ProcessVersionResponse: 02.07\r\n"},
        {"I|13QUORVANXZRN001001OPTIONALFIELD|",
         "CZRNcomDlg/ProcessSDIResponse: I|13QUORVANXZRN001001OPTIONALFIELD|\r\n"},
        {"L|007|", "", IDC_SDI_DELAY, "07"},
        // The schedule handler rebuilds the list, whose button rule finds no start/stop yet.
        {"S1A", "ValidateDateTimeStop/ Stop is before Start"},
        {"S5V|00:16:39|", "", IDC_VALVE_SECS, "999"},
        {"X", nullptr},
        {"f|02.07|", nullptr},
        {"?", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        debug.Clear();
        Notify(LINK_REPLY, c.reply);
        const std::vector<std::string> lines = debug.Lines();
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines[0], std::string("RES ") + c.reply + "\r\n");
        EXPECT_EQ(lines[1], std::string("Processing Response: ") + c.reply[0] + "\r\n");
        if (c.handlerTrace == nullptr || *c.handlerTrace == '\0') {
            EXPECT_EQ(lines.size(), 2u) << "no handler, or one that writes no trace";
        } else {
            ASSERT_GE(lines.size(), 3u);
            EXPECT_TRUE(lines[2].starts_with(c.handlerTrace)) << lines[2];
        }
        if (c.shownIn != 0) {
            EXPECT_EQ(Text(c.shownIn), c.shown);
        }
        EXPECT_EQ(dlg.link.strResponse, c.reply);
    }
    EXPECT_EQ(PanelTestAccess::sdiInfoDlg(dlg.panels.settings).strMfgName, "QUORVANX");
    // The schedule handler took "S1A"; a status alone does not make the entry read,
    // so no row shows dates that never came from the device.
    EXPECT_EQ(dlg.panels.schedule.OnDevice().Entry(0).chStatus, 'A');
    EXPECT_EQ(dlg.Item<ListView>(IDC_LIST_CTRL)->GetItemCount(), 0);
}

TEST_F(DialogTest, ReplyTextIsCopiedBeforeTheLibraryFreesIt) {
    CZRNcomDlg& dlg = Make();
    char buffer[] = "F|03.04|";
    Notify(LINK_REPLY, buffer);
    std::memset(buffer, 'Z', sizeof buffer - 1);
    EXPECT_EQ(dlg.link.strResponse, "F|03.04|");
    EXPECT_EQ(Text(IDC_VERSION), "3:04");
}

TEST_F(DialogTest, VersionRepliesShowMajorAndTwoDigitMinor) {
    Make();
    struct Step {
        const char* reply;
        const char* shown;
    } steps[] = {
        {"F", ""}, // one character: nothing changes
        {"F|02.07|", "2:07"},
        {"F|10.12|", "10:12"},
        {"F", "10:12"},
        {"F|1x-5|", "1:05"}, // any separator; leading digits only
        {"F|ab.cd|", "0:00"},
        {"F|", "0:00"}, // longer than one character: the empty pieces read 0
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.reply);
        Notify(LINK_REPLY, step.reply);
        EXPECT_EQ(Text(IDC_VERSION), step.shown);
    }
}

TEST_F(DialogTest, VoltageRepliesKeepAMissingValueAndAlwaysRedraw) {
    CZRNcomDlg& dlg = Make();
    struct Step {
        const char* reply;
        const char* external;
        const char* internal;
    } steps[] = {
        {"B|12.6|3.55|", "12.60", "3.55"},
        {"B|12.6", "12.60", "3.55"},
        {"B|11.9|", "11.90", "3.55"},
        {"B|junk|", "11.90", "3.55"},
        {"B", "11.90", "3.55"},
        {"B|0|-1.5|", "0.00", "-1.50"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.reply);
        // A stale text in the boxes shows that they are rewritten every time.
        dlg.SetDlgItemText(IDC_EXTERNAL_VOLTS, "stale");
        Notify(LINK_REPLY, step.reply);
        EXPECT_EQ(Text(IDC_EXTERNAL_VOLTS), step.external);
        EXPECT_EQ(Text(IDC_INTERNAL_VOLTS), step.internal);
    }
    debug.Clear();
    Notify(LINK_REPLY, "B|12.6|03.5|");
    EXPECT_TRUE(debug.Contains("CZRNcomDlg/ProcessVoltageResponse: 12.6.03.5\r\n"));
}

TEST_F(DialogTest, StatusButtonsSendTheirQueryOnlyWhileALinkIsOpen) {
    CZRNcomDlg& dlg = Make();
    for (int id : {IDC_BUTTON_CLOCK, IDC_BUTTON_VOLTAGES, IDC_BUTTON_VERSION})
        dlg.SendMessage(id, BN_CLICKED);
    EXPECT_TRUE(LinkRecorder::sent.empty());

    dlg.link.bLinkOpen = 1;
    for (int id : {IDC_BUTTON_CLOCK, IDC_BUTTON_VOLTAGES, IDC_BUTTON_VERSION})
        QTest::mouseClick(dlg.GetDlgItem(id), Qt::LeftButton); // clipped, but still a button
    EXPECT_EQ(LinkRecorder::sent, (std::vector<std::string>{"C", "B", "F"}));
}

// The C library's numbers under a locale with a decimal comma, for one test.
class CommaLocale {
public:
    CommaLocale() : saved(std::setlocale(LC_NUMERIC, nullptr)) {
        active = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    }
    ~CommaLocale() { std::setlocale(LC_NUMERIC, saved.c_str()); }
    bool Active() const { return active; }

private:
    std::string saved;
    bool active = false;
};

// CI generates the locale (tools/deps.sh); there its absence is a failure.
#define REQUIRE_COMMA_LOCALE(locale)                                                               \
    do {                                                                                           \
        if (!(locale).Active()) {                                                                  \
            if (std::getenv("CI") != nullptr)                                                      \
                FAIL() << "de_DE.UTF-8 is missing: run tools/deps.sh as root";                     \
            GTEST_SKIP() << "de_DE.UTF-8 is missing: run tools/deps.sh as root";                   \
        }                                                                                          \
    } while (0)

TEST_F(DialogTest, VoltagesShowAPointUnderACommaLocale) {
    CommaLocale comma;
    REQUIRE_COMMA_LOCALE(comma);
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.2f", 12.6);
    ASSERT_STREQ(probe, "12,60") << "the locale is not one with a decimal comma";
    Make();
    Notify(LINK_REPLY, "B|12.6|3.55|");
    EXPECT_EQ(Text(IDC_EXTERNAL_VOLTS), "12.60");
    EXPECT_EQ(Text(IDC_INTERNAL_VOLTS), "3.55");
}

TEST_F(DialogTest, StartUpPutsTheCNumbersBackAfterQt) {
    CommaLocale comma;
    REQUIRE_COMMA_LOCALE(comma);
    KeepNumbersLocaleFree();
    EXPECT_STREQ(std::localeconv()->decimal_point, ".");
}

TEST_F(DialogTest, TheLogBoxKeepsTheNewestLinesOnly) {
    CZRNcomDlg& dlg = Make();
    const int extra = 25;
    for (int i = 0; i < LOG_LINES_KEPT + extra; ++i)
        dlg.AppendLog("line " + std::to_string(i));
    EXPECT_EQ(dlg.GetLineCount(IDC_LOG), LOG_LINES_KEPT);
    const std::string text = Text(IDC_LOG);
    EXPECT_TRUE(text.starts_with("line " + std::to_string(extra) + "\r\n")) << text.substr(0, 20);
    EXPECT_TRUE(text.ends_with("line " + std::to_string(LOG_LINES_KEPT + extra - 1)));
}
