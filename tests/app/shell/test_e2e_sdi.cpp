// The SDI row and the identification dialog through the real link library
// against zrnsim as a process: typed values reach the device, come back into
// the boxes, and a fresh link afterwards reads them from the device itself.
#include "PanelTestAccess.h"
#include "Keyboard.h"
#include "LinkProbe.h"
#include "SimDialogTest.h"
#include "TestSupport.h"
#include "platform/Win.h"
#include "resources/Resource.h"
#include "settings/SdiInfoDlg.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using namespace win;

namespace {

constexpr const char* kState = "address = 3\n"
                               "delay = 15\n"
                               "valve = 60\n"
                               "hold = 60\n"
                               "pump = 60\n"
                               "sdi_version = 13\n"
                               "manufacturer = ZRNSIM\n"
                               "model = ZRN100\n"
                               "manufacturer_version = 207\n"
                               "optional = SIM0001\n";

class SdiEndToEnd : public SimDialogTest {
protected:
    void SetUp() override {
        SimDialogTest::SetUp();
        // Quick polling, so that every setting is read again within a few seconds.
        Write("ZRNcom.ini", "[SYSTEM]\nPollingTime=200\n");
        StartDevice(kState);
    }

    CZRNcomDlg& Start(const char* commandLine) {
        CZRNcomDlg& dlg = StartDialog(commandLine);
        dlg.show();
        QApplication::setActiveWindow(&dlg);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dlg));
        return dlg;
    }
    bool WaitForDebug(const std::string& piece, int ms = 15000) {
        return QTest::qWaitFor([&] { return debug.Contains(piece); }, ms);
    }
    QLineEdit* Box(int id) { return dialog->Item<QLineEdit>(id); }
    std::string Text(int id) { return dialog->GetDlgItemText(id); }
    void TypeIn(int id, const char* text) {
        ClickInto(Box(id));
        TypeOver(Box(id), text);
    }
    // Clicks a read-only box outside the row.
    void Leave(int id) { ClickAway(Box(id), Box(IDC_VERSION)); }
    // The device's answer to a query on a fresh link, after the program has gone.
    std::string DeviceReply(const std::string& query) {
        const auto exchanged = zrnsim::LinkProbe::Instance().Exchange(query, true);
        return exchanged && exchanged->reply ? *exchanged->reply : "(none)";
    }

    DebugCapture debug;
};

} // namespace

TEST_F(SdiEndToEnd, TypedSettingsReachTheDeviceAndComeBackIntoTheBoxes) {
    CZRNcomDlg& dlg = Start("ZRNcom");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return Text(IDC_SDI_ADDRESS) == "3" && Text(IDC_PUMP_SECS) == " 60"; }, 15000))
        << debug.Text();
    EXPECT_EQ(Text(IDC_SDI_DELAY), "15");

    const struct {
        int id;
        const char* typed;
        const char* shown; // once the device's reply is in
    } settings[] = {
        {IDC_SDI_ADDRESS, "5", "5"},  {IDC_SDI_DELAY, "120", "120"}, {IDC_VALVE_SECS, "90", " 90"},
        {IDC_HOLD_SECS, "45", " 45"}, {IDC_PUMP_SECS, "999", "999"},
    };
    for (const auto& s : settings) {
        TypeIn(s.id, s.typed);
        Leave(s.id);
    }
    for (const auto& s : settings) {
        SCOPED_TRACE(s.typed);
        EXPECT_TRUE(QTest::qWaitFor([&] { return Text(s.id) == s.shown; }, 10000)) << Text(s.id);
    }
    EXPECT_TRUE(WaitForDebug("CZRNcomDlg/ProcessSDIAddress: A5\r\n"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return PanelTestAccess::strSdiDelay(dlg.panels.settings) == "120"; }, 10000));

    // Typing while polling reads the delay again: the box keeps what is typed.
    TypeIn(IDC_SDI_DELAY, "77");
    debug.Clear();
    ASSERT_TRUE(WaitForDebug("RES L|120|")) << "no polling read of the delay";
    EXPECT_EQ(Text(IDC_SDI_DELAY), "77");
    Leave(IDC_SDI_DELAY);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return PanelTestAccess::strSdiDelay(dlg.panels.settings) == "77"; }, 10000));

    // A slip of the keyboard sets nothing; the device's value comes back.
    TypeIn(IDC_HOLD_SECS, "4x");
    Leave(IDC_HOLD_SECS);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Text(IDC_HOLD_SECS) == " 45"; }, 10000));

    dialog.reset();
    ASSERT_TRUE(zrnsim::LinkProbe::Instance().Open(sim->TerminalPath()));
    EXPECT_EQ(DeviceReply("A"), "A5");
    EXPECT_EQ(DeviceReply("L"), "L|077|");
    EXPECT_EQ(DeviceReply("S5V"), "S5V|00:01:30|");
    EXPECT_EQ(DeviceReply("S5H"), "S5H|00:00:45|");
    EXPECT_EQ(DeviceReply("S5P"), "S5P|00:16:39|");
    zrnsim::LinkProbe::Instance().Close();
}

TEST_F(SdiEndToEnd, EditSdiInfoWritesANewIdentificationThatTheDeviceThenReports) {
    CZRNcomDlg& dlg = Start("ZRNcom -EDIT_SDI_INFO");
    ASSERT_TRUE(WaitForDebug("CZRNcomDlg/ProcessSDIResponse: I|13  ZRNSIMZRN100207      SIM0001|"))
        << debug.Text();

    MessageBoxAnswer answer(IDOK);
    CSdiInfoDlg& info = PanelTestAccess::sdiInfoDlg(dlg.panels.settings);
    QTimer::singleShot(0, &dlg, [&info] {
        ASSERT_TRUE(QTest::qWaitForWindowActive(&info));
        for (auto [id, text] :
             {std::pair{IDC_MFG_NAME, "NEWMAKER"}, std::pair{IDC_MFG_MODEL, "X1"}})
            TypeInto(info.Item<QLineEdit>(id), text);
        QTest::mouseClick(info.Item<QPushButton>(IDC_SDI_INFO_OK), Qt::LeftButton);
    });
    dlg.SendMessage(kWindow, WM_SYSCOMMAND, IDM_SDI_INFO);
    ASSERT_EQ(answer.asked.size(), 1u);
    EXPECT_EQ(answer.asked[0].caption, "WARNING");
    const std::string written = "I|13NEWMAKER    X1207      SIM0001|";

    // The program reads it back as the device now reports it: queued behind
    // the set, the query is answered after it. (Not the set's own ACK: while
    // polling goes on, an ACK that comes later than one idle read is told with
    // the command written next.)
    dlg.SendCommand("I");
    ASSERT_TRUE(WaitForDebug("CZRNcomDlg/ProcessSDIResponse: " + written)) << debug.Text();
    EXPECT_EQ(info.strMfgName, "NEWMAKER");
    EXPECT_EQ(info.strMfgModel, "    X1");

    dialog.reset();
    ASSERT_TRUE(zrnsim::LinkProbe::Instance().Open(sim->TerminalPath()));
    EXPECT_EQ(DeviceReply("I"), written);
    zrnsim::LinkProbe::Instance().Close();
}
