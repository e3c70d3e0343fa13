// The tick routine as a state machine: searching, probing, found, polling.
#include "PanelTestAccess.h"
#include "DialogHarness.h"
#include "PortRights.h"
#include "TestSupport.h"

#include <QDir>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

using Calls = std::vector<std::string>;

namespace {

Calls FullRead() {
    Calls calls{"F", "B", "I", "L", "A", "S5V", "S5H", "S5P", "C"};
    for (int n = 1; n <= 4; ++n)
        for (const char* field : {"?", "BD", "BT", "ED", "ET", "I", "V", "H", "P"})
            calls.push_back("S" + std::to_string(n) + field);
    return calls;
}

// Scans port A and lets the device answer the probe.
void FindDeviceOnFirstPort(DialogHarness& h) {
    h.Tick();
    ASSERT_EQ(h.Take(), (Calls{"close", "open /dev/zrnA:9600,N,8,1", "?"}));
    h.LinkNotify(LINK_ACK, "?");
}

// Found on port A and read in full: polling from here on.
void PollDeviceOnFirstPort(DialogHarness& h) {
    FindDeviceOnFirstPort(h);
    h.Tick();
    h.Take();
}

// The next second, in which both timers fire.
void BothTimersInTheNextSecond(DialogHarness& h) {
    ++h.now;
    h.Tick(TIMER_ONE_SEC);
    h.Tick(TIMER_POLLING);
}

} // namespace

TEST(Polling, FirstTickOpensTheFirstPortAndProbesIt) {
    DialogHarness h;
    h.Tick();
    EXPECT_EQ(h.Take(), (Calls{"close", "open /dev/zrnA:9600,N,8,1", "?"}));
    EXPECT_TRUE(h.dlg().link.bPortScanning);
    EXPECT_EQ(h.dlg().link.tLastLinkMessage, h.now);
}

TEST(Polling, ASilentPortGetsOneToTwoSecondsThenTheNextIsTriedInListOrder) {
    DialogHarness h;
    std::vector<std::string> opened;
    for (int second = 0; second <= 6; ++second) {
        h.Tick();
        for (const auto& call : h.Take())
            if (call.starts_with("open "))
                opened.push_back(call.substr(5, 9) + "@" + std::to_string(second));
        ++h.now;
    }
    // Steps at 0, 2, 4, 6: a tick one second after a step only waits.
    EXPECT_EQ(opened, (Calls{"/dev/zrnA@0", "/dev/zrnB@2", "/dev/zrnC@4", "/dev/zrnA@6"}));
}

TEST(Polling, APortThatDoesNotOpenSendsNoProbeAndTheScanMovesOn) {
    DialogHarness h;
    LinkRecorder::openResult = 0;
    h.Tick();
    EXPECT_EQ(h.Take(), (Calls{"close", "open /dev/zrnA:9600,N,8,1"}));
    EXPECT_EQ(h.dlg().link.bLinkOpen, 0);
    h.now += 2;
    LinkRecorder::openResult = 1;
    h.Tick();
    EXPECT_EQ(h.Take(), (Calls{"close", "open /dev/zrnB:9600,N,8,1", "?"}));
}

TEST(Polling, AnsweredProbeGivesOneFullReadThenTheRotation) {
    DialogHarness h;
    FindDeviceOnFirstPort(h);
    ++h.now;
    h.Tick();
    EXPECT_EQ(h.Take(), FullRead());
    // The device keeps answering: every later tick is a normal one.
    std::vector<Calls> ticks;
    for (int i = 0; i < 9; ++i) {
        h.LinkNotify(LINK_ACK, "C");
        h.Tick();
        ticks.push_back(h.Take());
        ++h.now;
    }
    EXPECT_EQ(ticks, (std::vector<Calls>{{"C", "L"},
                                         {"C", "A"},
                                         {"C", "S5V"},
                                         {"C", "S5H"},
                                         {"C", "S5P"},
                                         {"C", "B"},
                                         {"C"},
                                         {"C", "L"},
                                         {"C", "A"}}));
}

TEST(Polling, ProbeAnsweredWithinTheSameSecondStillReadsEverythingOnce) {
    DialogHarness h;
    FindDeviceOnFirstPort(h); // no time passes at all
    h.Tick();
    EXPECT_EQ(h.Take(), FullRead());
    h.Tick();
    EXPECT_EQ(h.Take(), (Calls{"C", "L"}));
}

TEST(Polling, AProbeNotYetAnsweredKeepsTheTickQuiet) {
    DialogHarness h;
    h.Tick();
    h.Take();
    BothTimersInTheNextSecond(h);
    EXPECT_TRUE(h.Take().empty());
}

TEST(Polling, BothTimersInOneSecondEachAdvanceTheRotation) {
    DialogHarness h;
    PollDeviceOnFirstPort(h);
    BothTimersInTheNextSecond(h);
    EXPECT_EQ(h.Take(), (Calls{"C", "L", "C", "A"}));
}

TEST(Polling, SilenceWhilePollingSendsTheProgramBackToScanning) {
    DialogHarness h;
    PollDeviceOnFirstPort(h);
    ++h.now; // the last notification is now one second old
    h.Tick();
    EXPECT_EQ(h.Take(), (Calls{"C", "L"}));
    ++h.now; // two seconds
    h.Tick();
    EXPECT_EQ(h.Take(), (Calls{"close", "open /dev/zrnB:9600,N,8,1", "?"}));
    // Found again: a new full read, and the rotation goes on where it was.
    h.LinkNotify(LINK_REPLY, "C|12/07/26|06:30:00|");
    h.Tick();
    EXPECT_EQ(h.Take(), FullRead());
    h.Tick();
    EXPECT_EQ(h.Take(), (Calls{"C", "A"}));
}

TEST(Polling, APcClockSetBackwardsStartsNoScanUntilItCatchesUp) {
    DialogHarness h;
    PollDeviceOnFirstPort(h);
    const int64_t lastHeard = h.now;
    h.now -= 3600;
    for (int i = 0; i < 3; ++i) {
        h.Tick();
        for (const auto& call : h.Take())
            EXPECT_FALSE(call.starts_with("open")) << call;
    }
    h.now = lastHeard + 2;
    h.Tick();
    EXPECT_EQ(h.Take().at(1), "open /dev/zrnB:9600,N,8,1");
}

TEST(Polling, WithoutScanningNothingIsOpenedOrSentUntilTheOperatorConnects) {
    DialogHarness h("ZRNcom -NO_SCAN_COMM_PORTS");
    for (int i = 0; i < 5; ++i) {
        h.Tick();
        h.now += 3;
    }
    EXPECT_TRUE(h.Take().empty());
    EXPECT_EQ(h.dlg().link.bLinkOpen, 0);
}

TEST(Polling, AnEmptyPortListOpensNothingButKeepsProbingState) {
    DialogHarness h;
    EnvGuard none("ZRNCOM_PORTS", "");
    h.Tick();
    EXPECT_TRUE(h.Take().empty());
    EXPECT_TRUE(h.dlg().link.bPortScanning);
}

TEST(PollingTimer, MissingSettingGivesAFiveSecondTimerBesideTheOneSecondOne) {
    DebugCapture debug;
    CZRNcomDlg dialog("ZRNcom");
    dialog.options.strIniFile = "/nonexistent/ZRNcom.ini";
    dialog.Create();
    EXPECT_EQ(dialog.TimerInterval(TIMER_POLLING), 5000);
    EXPECT_EQ(dialog.TimerInterval(TIMER_ONE_SEC), 1000);
    EXPECT_TRUE(debug.Contains("ZRNcom/OnStartPollingTimer; 5000\n"));
}

// Below the floor the link could not keep up: the timer runs at the floor.
TEST(PollingTimer, APeriodTheLinkCannotCarryIsRaisedToTheFloorWithATrace) {
    const struct {
        const char* value;
        int period;
    } cases[] = {{"0", 500},   {"1", 500},   {"9", 500},     {"-20", 500},  {"abc", 500},
                 {"499", 500}, {"500", 500}, {"1000", 1000}, {"5000", 5000}};
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string ini = (dir.path() + "/ZRNcom.ini").toStdString();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        {
            std::ofstream file(ini);
            file << "[SYSTEM]\nPollingTime=" << c.value << "\n";
        }
        DebugCapture debug;
        CZRNcomDlg dialog("ZRNcom");
        dialog.options.strIniFile = ini;
        dialog.Create();
        EXPECT_EQ(dialog.TimerInterval(TIMER_POLLING), c.period);
        EXPECT_TRUE(
            debug.Contains("ZRNcom/OnStartPollingTimer; " + std::to_string(c.period) + "\n"));
        EXPECT_EQ(debug.Contains("is below 500 ms\n"),
                  c.period == 500 && std::string(c.value) != "500");
    }
}

namespace {

// Answers the connect dialog once it is up: picks a row (or none) and presses a button.
void AnswerConnect(DialogHarness& h, int row, int button) {
    QTimer::singleShot(0, &h.dlg(), [&h, row, button] {
        COpenZrn& open = PanelTestAccess::openZrn(h.dlg().panels.ports);
        if (row >= 0) {
            open.Item<QListWidget>(IDC_PORT_LIST)->setCurrentRow(row);
            open.SendMessage(IDC_PORT_LIST, win::LBN_SELCHANGE);
        }
        open.SendMessage(button, win::BN_CLICKED);
    });
    h.dlg().SendMessage(kWindow, win::WM_SYSCOMMAND, IDM_ZRN_CONNECT);
}

} // namespace

TEST(ZrnConnect, ChosenPortIsReopenedAndAskedForEveryStatusValue) {
    DialogHarness h;
    EnvGuard ports("ZRNCOM_PORTS", "COM1:COM3:COM10");
    AnswerConnect(h, 2, win::IDOK); // COM1, COM10, COM3
    EXPECT_EQ(h.Take(), (Calls{"close", "open COM3:9600,N,8,1", "F", "B", "I", "L", "A", "S5V",
                               "S5H", "S5P", "C"}));
    EXPECT_EQ(h.dlg().link.bLinkOpen, 1);
}

TEST(ZrnConnect, CancelLeavesTheLinkAloneAndAFailedOpenSendsNothing) {
    DialogHarness h;
    AnswerConnect(h, -1, win::IDCANCEL);
    EXPECT_TRUE(h.Take().empty());
    LinkRecorder::openResult = 0;
    AnswerConnect(h, -1, win::IDOK);
    EXPECT_EQ(h.Take(), (Calls{"close", "open /dev/zrnA:9600,N,8,1"}));
    EXPECT_EQ(h.dlg().link.bLinkOpen, 0);
}

// The operator chose the port: why it did not open is told in a box, in the
// link's words.
TEST(ZrnConnect, APortThatDoesNotOpenIsExplainedInABox) {
    DialogHarness h;
    LinkRecorder::openResult = 0;
    LinkRecorder::openFailure = "/dev/zrnA: connection refused";
    MessageBoxAnswer boxes(win::IDOK);
    AnswerConnect(h, -1, win::IDOK);
    ASSERT_EQ(boxes.asked.size(), 1u);
    EXPECT_EQ(boxes.asked[0].text, "/dev/zrnA: connection refused");
    EXPECT_EQ(h.dlg().OpenFailure(), "/dev/zrnA: connection refused");
    LinkRecorder::openResult = 1;
    AnswerConnect(h, -1, win::IDOK);
    EXPECT_EQ(h.dlg().OpenFailure(), "");
    EXPECT_EQ(boxes.asked.size(), 1u);
}

TEST(ZrnConnect, WithoutScanningAManualConnectionIsPolledAndNeverLeft) {
    DialogHarness h("ZRNcom -NO_SCAN_COMM_PORTS");
    AnswerConnect(h, 1, win::IDOK);
    h.Take();
    h.now += 10; // a silent device is not left: there is no scan
    h.Tick();
    h.Tick();
    EXPECT_EQ(h.Take(), (Calls{"C", "L", "C", "A"}));
}

// A network port picked from the list moves to the front of the remembered
// ones only once it opens.
TEST(ZrnConnect, APickedNetworkPortIsRememberedWhenItOpens) {
    DialogHarness h;
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    EnvGuard configHome("XDG_CONFIG_HOME", config.path().toUtf8().constData());
    const std::string file = config.filePath("ZRNcom/recent-ports").toStdString();
    ASSERT_TRUE(QDir(config.path()).mkpath("ZRNcom"));
    std::ofstream(file) << "tcp://a:1\nrfc2217://[::1]:7000\n";
    auto recent = [&file] {
        std::ifstream in(file);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    EnvGuard ports("ZRNCOM_PORTS", "COM1");

    LinkRecorder::openResult = 0;
    AnswerConnect(h, 2, win::IDOK); // COM1, tcp://a:1, rfc2217://[::1]:7000
    EXPECT_EQ(h.Take(), (Calls{"close", "open rfc2217://[::1]:7000:9600,N,8,1"}));
    EXPECT_EQ(recent(), "tcp://a:1\nrfc2217://[::1]:7000\n");

    LinkRecorder::openResult = 1;
    AnswerConnect(h, 2, win::IDOK);
    EXPECT_EQ(h.Take().at(1), "open rfc2217://[::1]:7000:9600,N,8,1");
    EXPECT_EQ(recent(), "rfc2217://[::1]:7000\ntcp://a:1\n");
}

// The window shows the port once a device answers on it, and nothing while it
// looks for one; the log box names the port once per find.
TEST(PortInUse, ShownWhenADeviceAnswersAndEmptyWhileScanning) {
    DialogHarness h;
    auto shown = [&h] { return h.dlg().GetDlgItemText(IDC_PORT_IN_USE); };
    auto log = [&h] { return h.dlg().GetDlgItemText(IDC_LOG); };
    h.Tick();
    EXPECT_EQ(h.Take().at(1), "open /dev/zrnA:9600,N,8,1");
    EXPECT_EQ(shown(), "") << "tried, not answered";
    h.LinkNotify(LINK_ACK, "?");
    h.LinkNotify(LINK_REPLY, "A3");
    EXPECT_EQ(shown(), "/dev/zrnA");
    EXPECT_EQ(Count(log(), "Device answers on /dev/zrnA"), 1u);
    h.now += 3; // silent: the scan goes on to the next port
    h.Tick();
    EXPECT_EQ(h.Take().at(1), "open /dev/zrnB:9600,N,8,1");
    EXPECT_EQ(shown(), "");
    LinkRecorder::openResult = 0;
    h.now += 3;
    h.Tick();
    h.LinkNotify(LINK_ACK, "?"); // late news of a port that did not open
    EXPECT_EQ(shown(), "");
}

TEST(PortInUse, ANetworkPortTypedIntoZrnConnectIsShownOnceItAnswers) {
    DialogHarness h("ZRNcom -NO_SCAN_COMM_PORTS");
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    EnvGuard configHome("XDG_CONFIG_HOME", config.path().toUtf8().constData());
    QTimer::singleShot(0, &h.dlg(), [&h] {
        COpenZrn& open = PanelTestAccess::openZrn(h.dlg().panels.ports);
        open.SetDlgItemText(IDC_NETWORK_PORT, "rfc2217://127.0.0.1:7000");
        open.SendMessage(win::IDOK, win::BN_CLICKED);
    });
    h.dlg().SendMessage(kWindow, win::WM_SYSCOMMAND, IDM_ZRN_CONNECT);
    EXPECT_EQ(h.Take().at(1), "open rfc2217://127.0.0.1:7000:9600,N,8,1");
    EXPECT_EQ(h.dlg().GetDlgItemText(IDC_PORT_IN_USE), "");
    h.LinkNotify(LINK_REPLY, "A3");
    EXPECT_EQ(h.dlg().GetDlgItemText(IDC_PORT_IN_USE), "rfc2217://127.0.0.1:7000");
    EXPECT_NE(h.dlg().GetDlgItemText(IDC_LOG).find("Device answers on rfc2217://127.0.0.1:7000"),
              std::string::npos);
    EXPECT_EQ(h.dlg().windowTitle(), "QUORVANEX") << "the title stays";
}
