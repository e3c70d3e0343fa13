// The registered message from another process, over a private session bus
// (CTest runs this under dbus-run-session).
#include "PanelTestAccess.h"
#include "DialogFixture.h"

#include "platform/MessageBus.h"

#include <QProcess>

namespace {

// Runs gdbus as the other process would; the dialog's loop keeps serving meanwhile.
QString SendFromOtherProcess(const char* name) {
    QProcess gdbus;
    gdbus.start(QStringLiteral("gdbus"),
                {"call", "--session", "--dest", kBusService, "--object-path", kBusPath, "--method",
                 "org.quorvanex.ZRNcom.WindowMessages.SendMessage", name});
    if (!QTest::qWaitFor([&] { return gdbus.state() == QProcess::NotRunning; }, 10000))
        gdbus.kill();
    gdbus.waitForFinished(1000);
    return QString::fromUtf8(gdbus.readAllStandardOutput()).trimmed();
}

} // namespace

TEST_F(DialogTest, AnotherProcessMakesTheDialogReapplyThePreset) {
    CZRNcomDlg& dlg = Make();
    WindowMessageBus bus(dlg);
    bus.Register("ZRNCOMDLGSETINTERVALS", WM_ZRNCOMDLGSETINTERVALS);
    ASSERT_TRUE(bus.Listening());

    WriteIni("[Interval15Min]\nPumpOnMin=5\n");
    EXPECT_EQ(SendFromOtherProcess("ZRNCOMDLGSETINTERVALS"), "(0,)");
    EXPECT_EQ(Text(IDC_PUMP_ON), "05:00");

    // With the custom preset current the message only traces.
    PanelTestAccess::nIntervalPreset(dlg.panels.schedule.Intervals()) = 5;
    WriteIni("[Interval15Min]\nPumpOnMin=7\n");
    EXPECT_EQ(SendFromOtherProcess("ZRNCOMDLGSETINTERVALS"), "(0,)");
    EXPECT_EQ(Text(IDC_PUMP_ON), "05:00");
    EXPECT_TRUE(debug.Contains("ZRNcom/SetRadioBoxParameters; Invalid Radio Box Parameters\n"));

    EXPECT_EQ(SendFromOtherProcess("NOSUCHMESSAGE"), "(-1,)");
}
