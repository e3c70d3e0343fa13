// The SDI row: each box edits with the keyboard focus, sends what changed when
// the focus leaves, and keeps polling replies out while it is being typed in;
// and the "SDI Information" dialog behind window-menu command 17.
#include "PanelTestAccess.h"
#include "DialogFixture.h"
#include "Keyboard.h"
#include "settings/SdiInfoDlg.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using namespace win;

namespace {

using Commands = std::vector<std::string>;

class SdiRowTest : public DialogTest {
protected:
    CZRNcomDlg& Open() {
        CZRNcomDlg& dlg = Make();
        dlg.KillTimer(TIMER_ONE_SEC); // only the test sends
        dlg.KillTimer(TIMER_POLLING);
        dlg.link.bLinkOpen = 1;
        Show();
        return dlg;
    }
    QLineEdit* Box(int id) { return dialog->Item<QLineEdit>(id); }
    void Enter(int id) { ClickInto(Box(id)); }
    void Type(int id, const QString& text) { TypeOver(Box(id), text); }
    // The user clicks elsewhere (a read-only box outside the row), leaving the box.
    void Leave(int id) { ClickAway(Box(id), Box(IDC_VERSION)); }
    Commands Sent() { return std::exchange(LinkRecorder::sent, {}); }
    // A box as polling filled it.
    void Reply(const char* text) { Notify(LINK_REPLY, text); }
};

} // namespace

TEST_F(SdiRowTest, BoxesAreReadOnlyUntilFocusedAndSendWhatChangedWhenLeft) {
    Open();
    Reply("A3");
    Reply("L|012|");
    Reply("S5V|00:01:00|");
    Reply("S5H|00:01:00|");
    Reply("S5P|00:00:30|");
    EXPECT_EQ(Text(IDC_SDI_ADDRESS), "3");
    EXPECT_EQ(Text(IDC_SDI_DELAY), "12");
    EXPECT_EQ(Text(IDC_PUMP_SECS), " 30");
    Sent();

    const struct {
        int id;
        const char* typed;
        Commands sent;
    } cases[] = {
        {IDC_SDI_ADDRESS, "5", {"A5", "A"}},
        {IDC_SDI_ADDRESS, "x", {"A"}},
        {IDC_SDI_ADDRESS, "3", {}},
        {IDC_SDI_DELAY, "12", {}},
        {IDC_SDI_DELAY, "012", {}},
        {IDC_SDI_DELAY, "1000", {"L"}},
        {IDC_SDI_DELAY, "7", {"L|007|", "L"}},
        {IDC_SDI_DELAY, "abc", {"L"}}, // refused, not sent as 0
        {IDC_HOLD_SECS, "90", {"S5H|00:01:30|", "S5H"}},
        {IDC_VALVE_SECS, "999", {"S5V|00:16:39|", "S5V"}},
        {IDC_VALVE_SECS, "1000", {}},
        {IDC_PUMP_SECS, "30", {"S5P|00:00:30|", "S5P"}}, // " 30" was shown: the text differs
        {IDC_PUMP_SECS, "1:30", {"S5P"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        // Replies put the shown values back, as the queries would.
        Reply("A3");
        Reply("L|012|");
        Reply("S5V|00:01:00|");
        Reply("S5H|00:01:00|");
        Reply("S5P|00:00:30|");
        EXPECT_TRUE(Box(c.id)->isReadOnly());
        Enter(c.id);
        EXPECT_FALSE(Box(c.id)->isReadOnly());
        Type(c.id, c.typed);
        EXPECT_EQ(Text(c.id), c.typed);
        EXPECT_TRUE(Sent().empty()) << "nothing goes out while typing";
        Leave(c.id);
        EXPECT_EQ(Sent(), c.sent);
        EXPECT_TRUE(Box(c.id)->isReadOnly());
    }
}

TEST_F(SdiRowTest, FocusWithoutTypingAndAReadOnlyBoxSendNothing) {
    CZRNcomDlg& dlg = Open();
    Reply("S5H|00:01:00|");
    for (int id : {IDC_SDI_ADDRESS, IDC_SDI_DELAY, IDC_VALVE_SECS, IDC_HOLD_SECS, IDC_PUMP_SECS}) {
        Enter(id);
        Leave(id);
    }
    EXPECT_TRUE(Sent().empty());
    // Keys reach a box only while it has the focus, and then it is editable.
    QTest::keyClicks(Box(IDC_HOLD_SECS), "5");
    EXPECT_EQ(Text(IDC_HOLD_SECS), " 60");
    EXPECT_EQ(PanelTestAccess::strHoldAtFocus(dlg.panels.settings), " 60");
}

TEST_F(SdiRowTest, RepliesForABoxBeingTypedInChangeNothingAndShowOnceItIsLeft) {
    CZRNcomDlg& dlg = Open();
    const struct {
        int id;
        const char* reply;
        const char* shownAfter;
    } cases[] = {
        {IDC_SDI_ADDRESS, "A7", "7"},
        {IDC_SDI_DELAY, "L|044|", "44"},
        {IDC_VALVE_SECS, "S5V|00:02:00|", "120"},
        {IDC_HOLD_SECS, "S5H|00:00:05|", "  5"},
        {IDC_PUMP_SECS, "S5P|00:17:00|", "???"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply);
        Enter(c.id);
        Type(c.id, "12");
        debug.Clear();
        Reply(c.reply);
        EXPECT_EQ(Text(c.id), "12");
        EXPECT_EQ(debug.Lines().size(), 2u) << debug.Text(); // "RES" and the dispatch only
        Leave(c.id);
        Reply(c.reply);
        EXPECT_EQ(Text(c.id), c.shownAfter);
    }
    EXPECT_EQ(PanelTestAccess::strSdiAddress(dlg.panels.settings), "7");
    EXPECT_EQ(PanelTestAccess::strSdiDelay(dlg.panels.settings), "44");
    EXPECT_EQ(PanelTestAccess::sdiPump(dlg.panels.settings), (zrn::SdiMinSec{17, 0}));
    EXPECT_EQ(PanelTestAccess::sdiHold(dlg.panels.settings), (zrn::SdiMinSec{0, 5}));
}

TEST_F(SdiRowTest, RepliesFillTheBoxes) {
    CZRNcomDlg& dlg = Open();
    const struct {
        const char* reply;
        int id;
        const char* shown;
    } steps[] = {
        {"A5", IDC_SDI_ADDRESS, "5"},
        {"A", IDC_SDI_ADDRESS, ""},
        {"A?", IDC_SDI_ADDRESS, "?"},
        {"L|015|", IDC_SDI_DELAY, "15"},
        {"L|005|", IDC_SDI_DELAY, "05"},
        {"L|100|", IDC_SDI_DELAY, "100"}, // never shown before
        {"L", IDC_SDI_DELAY, "100"},
        {"L|abc|", IDC_SDI_DELAY, "100"},
        {"S5P|00:16:39|", IDC_PUMP_SECS, "999"},
        {"S5P|00:17:00|", IDC_PUMP_SECS, "???"},
        {"S5V|00:00:30|", IDC_VALVE_SECS, " 30"},
        {"S5H|07:01:30|", IDC_HOLD_SECS, " 90"}, // the hours are not read
        {"S5X|00:01:00|", IDC_HOLD_SECS, " 90"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.reply);
        Reply(step.reply);
        EXPECT_EQ(Text(step.id), step.shown);
    }
    EXPECT_EQ(PanelTestAccess::strSdiDelay(dlg.panels.settings), "100");
    debug.Clear();
    Reply("A9");
    EXPECT_TRUE(debug.Contains("CZRNcomDlg/ProcessSDIAddress: A9\r\n"));
}

// ---- SDI Information ---------------------------------------------------------

namespace {

class SdiInfoTest : public SdiRowTest {
protected:
    // Opens the dialog from the window menu and runs `user` once it is up.
    void RunDialog(std::function<void(CSdiInfoDlg&)> user) {
        CSdiInfoDlg& info = PanelTestAccess::sdiInfoDlg(dialog->panels.settings);
        QTimer::singleShot(0, dialog.get(), [&info, user] {
            ASSERT_TRUE(info.isVisible());
            ASSERT_TRUE(QTest::qWaitForWindowActive(&info));
            user(info);
            if (info.isVisible()) // the test forgot to end it
                info.SendMessage(IDC_SDI_INFO_CANCEL, BN_CLICKED);
        });
        dialog->SendMessage(kWindow, WM_SYSCOMMAND, IDM_SDI_INFO);
    }
    static void TypeInto(CSdiInfoDlg& info, int id, const char* text) {
        ::TypeInto(info.Item<QLineEdit>(id), text);
    }
    static void Press(CSdiInfoDlg& info, int id) {
        QTest::mouseClick(info.Item<QPushButton>(id), Qt::LeftButton);
    }
    static const char* Reply13() { return "I|13ABCDEFGHMODEL1001OPTIONALFIELD|"; }
    // Started to edit the identification, on an open link, holding Reply13's fields.
    void MakeEditable() {
        Make("ZRNcom -EDIT_SDI_INFO");
        dialog->link.bLinkOpen = 1;
        Reply(Reply13());
    }
};

} // namespace

TEST_F(SdiInfoTest, ReplyFillsTheMembersAndTheDialogShowsThemReadOnly) {
    Make();
    Reply(Reply13());
    EXPECT_TRUE(
        debug.Contains(std::string("CZRNcomDlg/ProcessSDIResponse: ") + Reply13() + "\r\n"));
    MessageBoxAnswer answer(IDOK);
    std::vector<std::string> shown;
    RunDialog([&](CSdiInfoDlg& info) {
        EXPECT_EQ(info.windowTitle(), "SDI Information");
        for (int id :
             {IDC_SDI_VERSION, IDC_MFG_NAME, IDC_MFG_MODEL, IDC_MFG_VERSION, IDC_MFG_OPTIONAL}) {
            shown.push_back(info.GetDlgItemText(id));
            EXPECT_TRUE(info.IsReadOnly(id));
        }
        Press(info, IDC_SDI_INFO_OK);
    });
    EXPECT_EQ(shown,
              (std::vector<std::string>{"13", "ABCDEFGH", "MODEL1", "001", "OPTIONALFIELD"}));
    EXPECT_TRUE(answer.asked.empty()) << "nothing could change";
    EXPECT_TRUE(Sent().empty());
}

TEST_F(SdiInfoTest, ChangedFieldsGoOutAsOne35CharacterCommandAfterTheWarning) {
    MakeEditable();
    MessageBoxAnswer answer(IDOK);
    RunDialog([](CSdiInfoDlg& info) {
        EXPECT_FALSE(info.IsReadOnly(IDC_MFG_MODEL));
        TypeInto(info, IDC_MFG_MODEL, "X1");
        Press(info, IDC_SDI_INFO_OK);
    });
    ASSERT_EQ(answer.asked.size(), 1u);
    EXPECT_EQ(answer.asked[0].text,
              "\"OK\"     changes ZRN SDI ID string\r\n\"CANCEL\" cancels changes\r\n");
    EXPECT_EQ(answer.asked[0].caption, "WARNING");
    EXPECT_EQ(answer.asked[0].flags, MB_OKCANCEL | MB_ICONWARNING);
    const Commands sent = Sent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], "I|13ABCDEFGH    X1001OPTIONALFIELD|");
    EXPECT_EQ(sent[0].size(), 35u);
    EXPECT_EQ(PanelTestAccess::sdiInfoDlg(dialog->panels.settings).strMfgModel, "X1");

    // All five emptied: spaces throughout.
    RunDialog([](CSdiInfoDlg& info) {
        for (int id :
             {IDC_SDI_VERSION, IDC_MFG_NAME, IDC_MFG_MODEL, IDC_MFG_VERSION, IDC_MFG_OPTIONAL})
            TypeInto(info, id, "");
        Press(info, IDC_SDI_INFO_OK);
    });
    EXPECT_EQ(Sent(), (Commands{"I|" + std::string(32, ' ') + "|"}));
}

TEST_F(SdiInfoTest, AReplyWhileTheWarningIsOpenDoesNotReplaceWhatTheOperatorTyped) {
    MakeEditable();
    // Polling goes on while the box waits: the device's old fields come in.
    const auto previous = SetMessageBoxHook([this](const MessageBoxRequest&) {
        Reply(Reply13());
        return IDOK;
    });
    RunDialog([](CSdiInfoDlg& info) {
        TypeInto(info, IDC_MFG_MODEL, "X1");
        Press(info, IDC_SDI_INFO_OK);
    });
    SetMessageBoxHook(previous);
    EXPECT_EQ(Sent(), (Commands{"I|13ABCDEFGH    X1001OPTIONALFIELD|"}));
}

TEST_F(SdiInfoTest, TypingStopsAtEachWidth) {
    Make("ZRNcom -EDIT_SDI_INFO");
    MessageBoxAnswer answer(IDCANCEL);
    RunDialog([](CSdiInfoDlg& info) {
        TypeInto(info, IDC_SDI_VERSION, "12345");
        TypeInto(info, IDC_MFG_OPTIONAL, "ABCDEFGHIJKLMNOP");
        EXPECT_EQ(info.GetDlgItemText(IDC_SDI_VERSION), "12");
        EXPECT_EQ(info.GetDlgItemText(IDC_MFG_OPTIONAL), "ABCDEFGHIJKLM");
        Press(info, IDC_SDI_INFO_CANCEL);
    });
}

TEST_F(SdiInfoTest, TooLongOrNonAsciiTextIsRefusedAndTheDialogStaysOpen) {
    MakeEditable();
    MessageBoxAnswer answer(IDOK);
    bool stayedOpen = false;
    RunDialog([&](CSdiInfoDlg& info) {
        // A box whose limit was lifted (the check on OK does not rely on it).
        TypeInto(info, IDC_MFG_MODEL, "Y2");
        info.LimitText(IDC_MFG_NAME, 100);
        info.SetDlgItemText(IDC_MFG_NAME, "ABCDEFGHI");
        Press(info, IDC_SDI_INFO_OK);
        bool open = info.isVisible();
        EXPECT_TRUE(info.Item<QLineEdit>(IDC_MFG_NAME)->hasFocus());
        // One accented letter fits the box but is two bytes the device cannot show.
        TypeInto(info, IDC_MFG_NAME, "Caf");
        QTest::sendKeyEvent(QTest::Click, info.Item<QLineEdit>(IDC_MFG_NAME), Qt::Key_Eacute,
                            QString::fromUtf8("\xc3\xa9"), Qt::NoModifier);
        EXPECT_EQ(info.GetDlgItemText(IDC_MFG_NAME), "Caf\xc3\xa9");
        Press(info, IDC_SDI_INFO_OK);
        stayedOpen = open && info.isVisible();
        TypeInto(info, IDC_MFG_NAME, "Cafe");
        Press(info, IDC_SDI_INFO_OK);
    });
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(answer.asked.size(), 3u);
    EXPECT_EQ(answer.asked[0].text, "Please enter no more than 8 characters.");
    EXPECT_NE(answer.asked[1].text.find("printable ASCII"), std::string::npos);
    EXPECT_EQ(answer.asked[2].caption, "WARNING");
    EXPECT_EQ(Sent(), (Commands{"I|13    Cafe    Y2001OPTIONALFIELD|"}));
}

TEST_F(SdiInfoTest, CancelInTheDialogOrInTheWarningKeepsTheMembers) {
    MakeEditable();
    {
        MessageBoxAnswer answer(IDCANCEL);
        RunDialog([](CSdiInfoDlg& info) {
            TypeInto(info, IDC_SDI_VERSION, "99");
            Press(info, IDC_SDI_INFO_OK);
        });
        EXPECT_EQ(answer.asked.size(), 1u);
    }
    {
        MessageBoxAnswer answer(IDOK);
        RunDialog([](CSdiInfoDlg& info) {
            TypeInto(info, IDC_SDI_VERSION, "77");
            // A refusal stores nothing, not even the boxes before the refused one.
            info.LimitText(IDC_MFG_NAME, 100);
            info.SetDlgItemText(IDC_MFG_NAME, "TOO LONG NAME");
            Press(info, IDC_SDI_INFO_OK);
            Press(info, IDC_SDI_INFO_CANCEL);
        });
        EXPECT_EQ(answer.asked.size(), 1u) << "the refusal only";
    }
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(PanelTestAccess::sdiInfoDlg(dialog->panels.settings).Ident(),
              (zrn::SdiIdent{"13", "ABCDEFGH", "MODEL1", "001", "OPTIONALFIELD"}));
}

TEST_F(SdiInfoTest, AReplyWhileTheDialogIsOpenLeavesItsBoxesAndOkStoresThem) {
    MakeEditable();
    MessageBoxAnswer answer(IDOK);
    std::string nameShown;
    RunDialog([&](CSdiInfoDlg& info) {
        Reply("I|14NEWNAME1MODEL2002NEWOPTIONAL12|");
        EXPECT_EQ(info.strMfgName, "NEWNAME1");
        nameShown = info.GetDlgItemText(IDC_MFG_NAME);
        Press(info, IDC_SDI_INFO_OK);
    });
    EXPECT_EQ(nameShown, "ABCDEFGH");
    // The boxes went back over the new members, unchanged against the snapshot.
    EXPECT_TRUE(answer.asked.empty());
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(PanelTestAccess::sdiInfoDlg(dialog->panels.settings).strMfgName, "ABCDEFGH");
}
