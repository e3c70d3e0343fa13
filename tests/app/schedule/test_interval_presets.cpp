// The interval presets, the custom timing pickers and the schedule details
// dialog, in a zone with daylight saving.
#include "PanelTestAccess.h"
#include "DialogFixture.h"
#include "TimeZone.h"
#include "model/CalendarTime.h"
#include "resources/Resources.h"
#include "schedule/DetailsDialog.h"
#include "schedule/IntervalRules.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <map>
#include <optional>

using namespace win;

namespace {

int64_t Local(int year, int month, int day, int hour, int minute, int second) {
    return zrn::MakeLocalTime({year, month, day, hour, minute, second}).value();
}

constexpr int kRadios[] = {IDC_RADIO_15MIN, IDC_RADIO_30MIN, IDC_RADIO_1HOUR, IDC_RADIO_24HOURS,
                           IDC_RADIO_CUSTOM};
constexpr int kCustomPickers[] = {IDC_INTERVAL, IDC_OPEN_VALVE, IDC_SAMPLE_HOLDING, IDC_PUMP_ON};

// The base of the proposals in most tests: 10 June 2026 10:07:30, summer time
// (computed once the zone is set).
int64_t Base() {
    return Local(2026, 6, 10, 10, 7, 30);
}

class IntervalPanel : public DialogTest {
protected:
    void SetUp() override {
        zone.emplace();
        DialogTest::SetUp();
    }
    void TearDown() override {
        DialogTest::TearDown();
        zone.reset();
    }

    // Entry 0 shown in row 0 and selected, as the list selection leaves it.
    void SelectEntry(char status, int64_t start) {
        zrn::ScheduleState& s = PanelTestAccess::sched(dialog->panels.schedule);
        zrn::ScheduleEntry& e = s.table[0];
        zrn::SetEntryStart(e, start);
        zrn::SetEntryStop(e, start + 86400);
        zrn::SetEntryInterval(e, 900);
        zrn::SetEntryOpenValve(e, 60);
        zrn::SetEntrySampleHolding(e, 60);
        zrn::SetEntryPumpOn(e, 60);
        e.chStatus = static_cast<uint8_t>(status);
        ListView* list = dialog->Item<ListView>(IDC_LIST_CTRL);
        list->InsertItem(0, status == 'A' ? "Active" : "Inactive", status == 'A' ? 0 : 1);
        list->SetItemData(0, 0);
        list->SetItemState(0, true, false);
        s.nRowEntry[0] = 0;
        s.nSelectedRow = 0;
        s.selected.bActive = status == 'A' ? 1 : 0;
        s.selected.tStart = start;
        s.selected.tStop = start + 86400;
    }
    // A click on the radio button's circle, as the operator makes it.
    void ClickRadio(int id) {
        QWidget* radio = dialog->GetDlgItem(id);
        QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(5, radio->height() / 2));
    }
    std::vector<int> CheckedRadios() {
        std::vector<int> checked;
        for (int id : kRadios)
            if (dialog->IsDlgButtonChecked(id))
                checked.push_back(id);
        return checked;
    }
    bool PickersEnabled() {
        int enabled = 0;
        for (int id : kCustomPickers)
            enabled += dialog->IsItemEnabled(id) ? 1 : 0;
        EXPECT_TRUE(enabled == 0 || enabled == 4) << enabled << " of the four pickers enabled";
        return enabled == 4;
    }
    // The operator sets a custom picker to a time of day.
    void SetPicker(int id, int hour, int minute, int second) {
        dialog->Item<DateTimePicker>(id)->setTime(QTime(hour, minute, second));
    }
    std::string LastLogLine() {
        const std::string log = Text(IDC_LOG);
        const size_t end = log.rfind("\r\n");
        return end == std::string::npos ? log : log.substr(end + 2);
    }

    std::optional<BerlinZone> zone;
};

TEST_F(IntervalPanel, FixedPresetsFillThePickersAndProposeStartAndStop) {
    struct Case {
        int radio;
        int preset;
        const char* section;
        const char* interval;
        int64_t tsInterval;
        const char *startDate, *startTime, *stopDate, *stopTime;
    };
    const Case cases[] = {
        {IDC_RADIO_15MIN, 0, "Interval15Min", "0:15:00", 900, "6/10/2026", "10:15:00 AM",
         "6/17/2026", "10:14:59 AM"},
        {IDC_RADIO_30MIN, 1, "Interval30Min", "0:30:00", 1800, "6/10/2026", "10:30:00 AM",
         "6/17/2026", "10:29:59 AM"},
        {IDC_RADIO_1HOUR, 3, "Interval1Hr", "1:00:00", 3600, "6/10/2026", "11:00:00 AM",
         "6/17/2026", "10:59:59 AM"},
        {IDC_RADIO_24HOURS, 4, "Interval24Hr", "23:59:59", 86399, "6/11/2026", "10:00:00 AM",
         "6/18/2026", "9:59:59 AM"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.section);
        CZRNcomDlg& dlg = Make();
        SelectEntry('D', Base());
        dlg.CheckDlgButton(IDC_RADIO_CUSTOM, 1);
        PanelTestAccess::nIntervalPreset(dlg.panels.schedule.Intervals()) = zrn::PRESET_CUSTOM;
        debug.Clear();

        ClickRadio(c.radio);

        EXPECT_EQ(CheckedRadios(), std::vector<int>{c.radio});
        EXPECT_EQ(PanelTestAccess::nIntervalPreset(dlg.panels.schedule.Intervals()), c.preset);
        EXPECT_TRUE(debug.Contains(std::string("SetRadioBoxParameters: ") + c.section + "\n"));
        EXPECT_EQ(Text(IDC_INTERVAL), c.interval);
        EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).edit.tsInterval, c.tsInterval);
        EXPECT_FALSE(PickersEnabled());

        EXPECT_EQ(Text(IDC_START_DATE), c.startDate);
        EXPECT_EQ(Text(IDC_START_TIME), c.startTime);
        EXPECT_EQ(Text(IDC_STOP_DATE), c.stopDate);
        EXPECT_EQ(Text(IDC_STOP_TIME), c.stopTime);
        EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).edit.tStop -
                      PanelTestAccess::sched(dlg.panels.schedule).edit.tStart,
                  604799);
        for (int id : {IDC_START_DATE, IDC_START_TIME})
            EXPECT_EQ(dlg.Item<DateTimePicker>(id)->Value().toSecsSinceEpoch(),
                      PanelTestAccess::sched(dlg.panels.schedule).edit.tStart);
        for (int id : {IDC_STOP_DATE, IDC_STOP_TIME})
            EXPECT_EQ(dlg.Item<DateTimePicker>(id)->Value().toSecsSinceEpoch(),
                      PanelTestAccess::sched(dlg.panels.schedule).edit.tStop);
        // The entry is not active: the edit is pending until saved or discarded.
        EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).bEditPending, 1);
    }
}

TEST_F(IntervalPanel, OnAnActiveEntryAPresetWaitsForAddAndThePanelShowsTheEntry) {
    CZRNcomDlg& dlg = Make();
    SelectEntry('A', Base());
    const zrn::ScheduleEntry before = PanelTestAccess::sched(dlg.panels.schedule).table[0];
    PanelTestAccess::sched(dlg.panels.schedule).bEditPending = 1;

    ClickRadio(IDC_RADIO_1HOUR);

    EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).bEditPending, 0);
    EXPECT_EQ(PanelTestAccess::nIntervalPreset(dlg.panels.schedule.Intervals()), zrn::PRESET_1HOUR)
        << "the choice for the next Add";
    EXPECT_EQ(CheckedRadios(), std::vector<int>{IDC_RADIO_1HOUR});
    // The panel never shows times the selected schedule does not have.
    EXPECT_EQ(Text(IDC_START_TIME), "10:07:30 AM");
    EXPECT_EQ(Text(IDC_INTERVAL), "0:15:00");
    EXPECT_EQ(0, std::memcmp(&before, &PanelTestAccess::sched(dlg.panels.schedule).table[0],
                             sizeof before))
        << "nothing stored";
    EXPECT_TRUE(dlg.IsItemEnabled(IDC_BUTTON_DISABLE));
    EXPECT_FALSE(dlg.IsItemEnabled(IDC_BUTTON_SAVE));
}

TEST_F(IntervalPanel, WithoutASelectedRowPresetsFillTheTimingsButNeverADateBefore2000) {
    CZRNcomDlg& dlg = Make();
    for (int pending : {0, 1}) {
        PanelTestAccess::sched(dlg.panels.schedule).bEditPending = pending;
        ClickRadio(IDC_RADIO_30MIN);
        EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).bEditPending, pending)
            << "not changed without a row";
        EXPECT_EQ(Text(IDC_INTERVAL), "0:30:00");
        // The base is 0 until an entry is selected or added: a proposal in 1970,
        // which no entry can hold, so start and stop stay and the pickers offer
        // nothing before 2000.
        EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).edit.tStart, 0);
        EXPECT_EQ(Text(IDC_START_DATE), "1/1/2000");
        EXPECT_EQ(Text(IDC_STOP_DATE), "1/1/2000");
        EXPECT_NE(Text(IDC_LOG).find("The ZRN holds dates from 01/01/2000 to 12/31/2037 only"),
                  std::string::npos);
    }
}

TEST_F(IntervalPanel, EveryPresetReadsItsOwnSectionAndDefaultsWithoutAFile) {
    struct Case {
        int radio;
        const char *valve, *hold, *pump;
        int64_t tsValve, tsHold, tsPump;
    };
    {
        CZRNcomDlg& dlg = Make();
        for (int radio : {IDC_RADIO_15MIN, IDC_RADIO_30MIN, IDC_RADIO_1HOUR, IDC_RADIO_24HOURS}) {
            PanelTestAccess::sched(dlg.panels.schedule).edit.tsOpenValve =
                PanelTestAccess::sched(dlg.panels.schedule).edit.tsSampleHolding =
                    PanelTestAccess::sched(dlg.panels.schedule).edit.tsPumpOn = 7;
            ClickRadio(radio);
            EXPECT_EQ(Text(IDC_OPEN_VALVE), "02:00") << radio;
            EXPECT_EQ(Text(IDC_SAMPLE_HOLDING), "01:00") << radio;
            EXPECT_EQ(Text(IDC_PUMP_ON), "01:00") << radio;
            EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).edit.tsOpenValve, 120) << radio;
            EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).edit.tsSampleHolding, 60)
                << radio;
            EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).edit.tsPumpOn, 60) << radio;
        }
    }
    WriteIni("[Interval15Min]\nPumpOnMin=3\n"
             "[Interval30Min]\nPumpOnMin=4\nSampleHoldingMin=2\n"
             "[Interval1Hr]\nPumpOnMin=6\nOpenValveMin=5\nOpenValveSec=5\n"
             "[Interval24Hr]\nPumpOnMin=0\nPumpOnSec=30\nSampleHoldingSec=15\n");
    const Case cases[] = {
        {IDC_RADIO_15MIN, "02:00", "01:00", "03:00", 120, 60, 180},
        {IDC_RADIO_30MIN, "02:00", "02:00", "04:00", 120, 120, 240},
        {IDC_RADIO_1HOUR, "05:05", "01:00", "06:00", 305, 60, 360},
        {IDC_RADIO_24HOURS, "02:00", "01:15", "00:30", 120, 75, 30},
    };
    CZRNcomDlg& dlg = Make();
    for (const Case& c : cases) {
        ClickRadio(c.radio);
        EXPECT_EQ(Text(IDC_OPEN_VALVE), c.valve) << c.radio;
        EXPECT_EQ(Text(IDC_SAMPLE_HOLDING), c.hold) << c.radio;
        EXPECT_EQ(Text(IDC_PUMP_ON), c.pump) << c.radio;
        EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).edit.tsOpenValve, c.tsValve)
            << c.radio;
        EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).edit.tsSampleHolding, c.tsHold)
            << c.radio;
        EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).edit.tsPumpOn, c.tsPump) << c.radio;
    }
}

TEST_F(IntervalPanel, CustomOnAnInactiveEntryResetsToFifteenMinutesAndOpensThePickers) {
    CZRNcomDlg& dlg = Make();
    SelectEntry('D', Base());
    ClickRadio(IDC_RADIO_24HOURS);
    debug.Clear();

    ClickRadio(IDC_RADIO_CUSTOM);

    EXPECT_EQ(CheckedRadios(), std::vector<int>{IDC_RADIO_CUSTOM});
    EXPECT_EQ(PanelTestAccess::nIntervalPreset(dlg.panels.schedule.Intervals()),
              zrn::PRESET_CUSTOM);
    EXPECT_TRUE(PickersEnabled());
    EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).bEditPending, 1);
    EXPECT_EQ(Text(IDC_INTERVAL), "0:15:00");
    EXPECT_EQ(Text(IDC_OPEN_VALVE), "02:00");
    EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).edit.tsInterval, 900);
    EXPECT_EQ(Text(IDC_START_TIME), "10:15:00 AM");
    EXPECT_EQ(Text(IDC_STOP_TIME), "10:14:59 AM");
    EXPECT_TRUE(debug.Contains("SetRadioBoxParameters: Interval15Min\n"));
    EXPECT_TRUE(debug.Contains("ZRNcom/SetRadioBoxParameters; Invalid Radio Box Parameters\n"));
    // The start and stop are valid, so the pending edit may be saved or discarded.
    EXPECT_TRUE(dlg.IsItemEnabled(IDC_BUTTON_SAVE));
    EXPECT_TRUE(dlg.IsItemEnabled(IDC_BUTTON_DISCARD));
}

TEST_F(IntervalPanel, CustomKeepsThePickersClosedOnAnActiveEntryOrWithoutASelection) {
    CZRNcomDlg& dlg = Make();
    PanelTestAccess::sched(dlg.panels.schedule).bEditPending = 1;
    ClickRadio(IDC_RADIO_CUSTOM);
    EXPECT_FALSE(PickersEnabled());
    EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).bEditPending, 1)
        << "not changed without a row";
    EXPECT_EQ(PanelTestAccess::nIntervalPreset(dlg.panels.schedule.Intervals()),
              zrn::PRESET_CUSTOM);

    SelectEntry('A', Base());
    ClickRadio(IDC_RADIO_CUSTOM);
    EXPECT_FALSE(PickersEnabled());
    EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).bEditPending, 0);
    EXPECT_EQ(PanelTestAccess::nIntervalPreset(dlg.panels.schedule.Intervals()),
              zrn::PRESET_CUSTOM);
    EXPECT_TRUE(dlg.IsItemEnabled(IDC_BUTTON_DISABLE));
}

TEST_F(IntervalPanel, PickerChangesLogTheirValueAndSetTheWorkingField) {
    struct Case {
        int id;
        int hour, minute, second;
        const char* log;
        int64_t zrn::EntryTimes::*field;
        double& (*bound)(SchedulePanel&);
        int64_t ts;
    };
    const Case cases[] = {
        {IDC_INTERVAL, 2, 30, 15, "OnChange/Time Interval: 2:30", &zrn::EntryTimes::tsInterval,
         &PanelTestAccess::odtInterval, 9015},
        {IDC_OPEN_VALVE, 0, 5, 30, "OnChange/Open Valve: 0:5", &zrn::EntryTimes::tsOpenValve,
         &PanelTestAccess::odtOpenValve, 330},
        {IDC_SAMPLE_HOLDING, 0, 0, 45, "OnChange/Sample Holding: 0:0",
         &zrn::EntryTimes::tsSampleHolding, &PanelTestAccess::odtSampleHolding, 45},
        {IDC_PUMP_ON, 0, 12, 0, "OnChange/Pump On: 0:12", &zrn::EntryTimes::tsPumpOn,
         &PanelTestAccess::odtPumpOn, 720},
    };
    CZRNcomDlg& dlg = Make();
    SelectEntry('D', Base());
    ClickRadio(IDC_RADIO_CUSTOM);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.log);
        PanelTestAccess::sched(dlg.panels.schedule).bEditPending = 0;
        dlg.panels.schedule.SetZrnButtonProperly();
        SetPicker(c.id, c.hour, c.minute, c.second);
        EXPECT_EQ(LastLogLine(), c.log);
        EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).edit.*c.field, c.ts);
        EXPECT_EQ(zrn::TimeOfDayFromOle(c.bound(dlg.panels.schedule)), c.ts)
            << "bound controls re-read";
        EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).bEditPending, 1);
        EXPECT_TRUE(dlg.IsItemEnabled(IDC_BUTTON_SAVE));
        EXPECT_TRUE(dlg.IsItemEnabled(IDC_BUTTON_DISCARD));
    }
    // The notification's result is 0.
    ::Notify n;
    n.id = IDC_PUMP_ON;
    n.code = DTN_DATETIMECHANGE;
    n.minute = 3;
    n.result = 99;
    EXPECT_TRUE(dlg.Deliver(n));
    EXPECT_EQ(n.result, 0);
    EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).edit.tsPumpOn, 180);
}

TEST_F(IntervalPanel, AnOpenValveChangeWaitsForTheNextSave) {
    CZRNcomDlg& dlg = Make();
    SelectEntry('D', Base());
    ClickRadio(IDC_RADIO_CUSTOM);
    const uint8_t minutes = PanelTestAccess::sched(dlg.panels.schedule).table[0].nValveMinutes;
    const uint8_t seconds = PanelTestAccess::sched(dlg.panels.schedule).table[0].nValveSeconds;
    PanelTestAccess::sched(dlg.panels.schedule).bEditPending = 0;
    debug.Clear();
    SetPicker(IDC_OPEN_VALVE, 0, 9, 9);
    EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).edit.tsOpenValve, 549);
    EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).bEditPending, 1);
    EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).table[0].nValveMinutes, minutes);
    EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).table[0].nValveSeconds, seconds);
    EXPECT_FALSE(debug.Contains("SaveActiveEntry"));
}

TEST_F(IntervalPanel, SelectIntervalRadioChecksTheButtonOfTheShownInterval) {
    struct Case {
        int64_t interval;
        char status;
        bool customChecked;
        std::vector<int> checked;
        bool pickers;
    };
    const Case cases[] = {
        {900, 'D', false, {IDC_RADIO_15MIN}, false},
        {1800, 'D', false, {IDC_RADIO_30MIN}, false},
        {2700, 'D', false, {}, false}, // 45 minutes has no button
        {3600, 'D', false, {IDC_RADIO_1HOUR}, false},
        {86399, 'D', false, {IDC_RADIO_24HOURS}, false},
        {5400, 'D', false, {IDC_RADIO_CUSTOM}, true},
        {5400, 'A', false, {IDC_RADIO_CUSTOM}, false},
        {0, 'D', false, {IDC_RADIO_CUSTOM}, true},
        // Custom chosen stays custom, whatever the interval.
        {900, 'D', true, {IDC_RADIO_CUSTOM}, true},
        {900, 'A', true, {IDC_RADIO_CUSTOM}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.interval) + " " + c.status);
        CZRNcomDlg& dlg = Make();
        SelectEntry(c.status, Base());
        PanelTestAccess::nIntervalPreset(dlg.panels.schedule.Intervals()) = zrn::PRESET_1HOUR;
        PanelTestAccess::odtInterval(dlg.panels.schedule) = zrn::OleTimeOfDay(c.interval);
        dlg.UpdateData(false);
        for (int id : kRadios)
            dlg.CheckDlgButton(id, id == IDC_RADIO_CUSTOM ? c.customChecked : 1);

        dlg.panels.schedule.Intervals().SelectIntervalRadio();

        EXPECT_EQ(CheckedRadios(), c.checked);
        EXPECT_EQ(PickersEnabled(), c.pickers);
        EXPECT_EQ(PanelTestAccess::nIntervalPreset(dlg.panels.schedule.Intervals()),
                  zrn::PRESET_1HOUR)
            << "the preset is not changed";
    }
}

TEST_F(IntervalPanel, RegisteredMessageWithCustomCurrentOnlyTraces) {
    CZRNcomDlg& dlg = Make();
    SelectEntry('D', Base());
    ClickRadio(IDC_RADIO_CUSTOM);
    SetPicker(IDC_PUMP_ON, 0, 7, 0);
    WriteIni("[Interval15Min]\nPumpOnMin=9\n");
    const std::string log = Text(IDC_LOG);
    debug.Clear();

    EXPECT_EQ(dlg.SendMessage(kWindow, WM_ZRNCOMDLGSETINTERVALS), 0);

    EXPECT_EQ(debug.Text(), "ZRNcom/SetRadioBoxParameters; Invalid Radio Box Parameters\n");
    EXPECT_EQ(Text(IDC_LOG), log);
    EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).edit.tsPumpOn, 420);
    EXPECT_EQ(Text(IDC_PUMP_ON), "07:00");
    EXPECT_TRUE(PickersEnabled());
}

TEST_F(IntervalPanel, RegisteredMessageRereadsTheFileButKeepsStartAndStop) {
    CZRNcomDlg& dlg = Make();
    SelectEntry('D', Base());
    ClickRadio(IDC_RADIO_30MIN);
    const int64_t start = PanelTestAccess::sched(dlg.panels.schedule).edit.tStart,
                  stop = PanelTestAccess::sched(dlg.panels.schedule).edit.tStop;
    const std::string startText = Text(IDC_START_TIME), stopText = Text(IDC_STOP_TIME);
    WriteIni("[Interval30Min]\nPumpOnMin=8\n");

    EXPECT_EQ(dlg.SendMessage(kWindow, WM_ZRNCOMDLGSETINTERVALS), 0);

    EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).edit.tsPumpOn, 480);
    EXPECT_EQ(Text(IDC_PUMP_ON), "08:00");
    EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).edit.tStart, start);
    EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).edit.tStop, stop);
    EXPECT_EQ(Text(IDC_START_TIME), startText);
    EXPECT_EQ(Text(IDC_STOP_TIME), stopText);
}

TEST_F(IntervalPanel, ReapplyIntervalPresetKeepsStartAndStop) {
    CZRNcomDlg& dlg = Make();
    SelectEntry('D', Base());
    ClickRadio(IDC_RADIO_CUSTOM);
    const int64_t start = PanelTestAccess::sched(dlg.panels.schedule).edit.tStart;
    PanelTestAccess::sched(dlg.panels.schedule).bEditPending = 0;

    dlg.panels.schedule.Intervals().ReapplyIntervalPreset(zrn::PRESET_24HOURS);
    EXPECT_EQ(PanelTestAccess::nIntervalPreset(dlg.panels.schedule.Intervals()),
              zrn::PRESET_24HOURS);
    EXPECT_EQ(Text(IDC_INTERVAL), "23:59:59");
    EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).edit.tStart, start);
    EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).bEditPending, 1);
    EXPECT_FALSE(PickersEnabled());

    // Custom keeps the panel's values and opens the pickers again.
    dlg.panels.schedule.Intervals().ReapplyIntervalPreset(zrn::PRESET_CUSTOM);
    EXPECT_EQ(PanelTestAccess::nIntervalPreset(dlg.panels.schedule.Intervals()),
              zrn::PRESET_CUSTOM);
    EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).edit.tsInterval, 86399);
    EXPECT_TRUE(PickersEnabled());

    PanelTestAccess::sched(dlg.panels.schedule).table[0].chStatus = 'A';
    dlg.panels.schedule.Intervals().ReapplyIntervalPreset(zrn::PRESET_CUSTOM);
    EXPECT_FALSE(PickersEnabled());
    EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).bEditPending, 0);
}

TEST_F(IntervalPanel, EnableCustomPickersNeedsTheFlagAndASelectedRow) {
    CZRNcomDlg& dlg = Make();
    dlg.panels.schedule.Intervals().EnableCustomPickers(1);
    EXPECT_FALSE(PickersEnabled());
    SelectEntry('D', Base());
    dlg.panels.schedule.Intervals().EnableCustomPickers(1);
    EXPECT_TRUE(PickersEnabled());
    dlg.panels.schedule.Intervals().EnableCustomPickers(0);
    EXPECT_FALSE(PickersEnabled());
}

// ---- The schedule details dialog ----------------------------------------------

struct DetailsSeen {
    bool opened = false;
    QString title;
    std::map<int, std::string> texts;
};

constexpr int kDetailEdits[] = {IDC_PROP_STATUS,     IDC_PROP_START_DATE,     IDC_PROP_START_TIME,
                                IDC_PROP_STOP_DATE,  IDC_PROP_STOP_TIME,      IDC_PROP_INTERVAL,
                                IDC_PROP_OPEN_VALVE, IDC_PROP_SAMPLE_HOLDING, IDC_PROP_PUMP_ON};

class DetailsDialog : public IntervalPanel {
protected:
    // Runs `open`, reads the modal dialog it shows, then `close`s it.
    DetailsSeen Open(const std::function<void()>& open,
                     const std::function<void(CZRNcomProp&)>& close,
                     const std::function<void(CZRNcomProp&)>& inspect = {}) {
        DetailsSeen result;
        QTimer::singleShot(0, [&] {
            (void)QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; },
                                  3000);
            auto* details = dynamic_cast<CZRNcomProp*>(QApplication::activeModalWidget());
            if (details == nullptr) {
                if (QWidget* other = QApplication::activeModalWidget())
                    other->close();
                return;
            }
            result.opened = true;
            result.title = details->windowTitle();
            for (int id : kDetailEdits)
                result.texts[id] = details->GetDlgItemText(id);
            if (inspect)
                inspect(*details);
            close(*details);
        });
        open();
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the dialog has closed";
        return result;
    }
    static void Escape(CZRNcomProp& d) { QTest::keyClick(&d, Qt::Key_Escape); }
    void ClickProperties() { dialog->SendMessage(IDC_BUTTON_PROPERTIES, BN_CLICKED); }
};

TEST_F(DetailsDialog, ShowsEveryFieldOfTheSelectedEntry) {
    struct Case {
        const char* name;
        int active;
        int64_t start, stop, interval, valve, hold, pump;
        std::vector<std::string> texts; // in the order of kDetailEdits
    };
    const Case cases[] = {
        {"active",
         1,
         Local(2026, 7, 1, 8, 0, 0),
         Local(2026, 7, 8, 13, 14, 59),
         86399,
         120,
         3900,
         75,
         {"Active", "07/01/2026", "08:00:00 AM", "07/08/2026", "01:14:59 PM", "23:59:59",
          "00:02:00", "00:05:00", "00:01:15"}},
        {"inactive, into winter time",
         0,
         Local(2026, 10, 20, 0, 30, 0),
         Local(2026, 10, 27, 12, 0, 0),
         90000,
         59,
         60,
         3599,
         {"Inactive", "10/20/2026", "12:30:00 AM", "10/27/2026", "12:00:00 PM", "01:00:00",
          "00:00:59", "00:01:00", "00:59:59"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CZRNcomDlg& dlg = Make();
        zrn::SelectedEntryView& v = PanelTestAccess::sched(dlg.panels.schedule).selected;
        v.bActive = c.active;
        v.tStart = c.start;
        v.tStop = c.stop;
        v.tsInterval = c.interval;
        v.tsOpenValve = c.valve;
        v.tsSampleHolding = c.hold;
        v.tsPumpOn = c.pump;
        debug.Clear();

        const DetailsSeen seen = Open([&] { ClickProperties(); }, Escape);

        ASSERT_TRUE(seen.opened);
        EXPECT_EQ(seen.title, "Dialog");
        for (size_t i = 0; i < std::size(kDetailEdits); ++i)
            EXPECT_EQ(seen.texts.at(kDetailEdits[i]), c.texts[i]) << kDetailEdits[i];
        EXPECT_TRUE(debug.Contains("ZRNcom/OnBnClickedButtonProperties; entry\n"));
    }
}

TEST_F(DetailsDialog, BeforeAnySelectionShowsTheFirstSecondOf1970InLocalTime) {
    Make();
    const DetailsSeen seen = Open([&] { ClickProperties(); }, Escape);
    ASSERT_TRUE(seen.opened);
    const std::vector<std::string> expected = {"Inactive",   "01/01/1970",  "01:00:00 AM",
                                               "01/01/1970", "01:00:00 AM", "00:00:00",
                                               "00:00:00",   "00:00:00",    "00:00:00"};
    for (size_t i = 0; i < std::size(kDetailEdits); ++i)
        EXPECT_EQ(seen.texts.at(kDetailEdits[i]), expected[i]) << kDetailEdits[i];
}

TEST_F(DetailsDialog, OpensFromTheContextMenuCommand) {
    CZRNcomDlg& dlg = Make();
    PanelTestAccess::sched(dlg.panels.schedule).selected.bActive = 1;
    PanelTestAccess::sched(dlg.panels.schedule).selected.tsInterval = 1800;
    PopupMenuAnswer choose(ID_ENTRY_PROPERTIES);
    const DetailsSeen seen =
        Open([&] { dlg.TrackMenu(*LoadMenu(IDR_MENU_ENTRY_ENABLED), QPoint(0, 0)); }, Escape);
    ASSERT_TRUE(seen.opened);
    EXPECT_EQ(seen.texts.at(IDC_PROP_STATUS), "Active");
    EXPECT_EQ(seen.texts.at(IDC_PROP_INTERVAL), "00:30:00");
    ASSERT_EQ(choose.asked.size(), 1u);
}

TEST_F(DetailsDialog, LayoutIsTheTemplatesAndEveryEditIsReadOnly) {
    Make();
    struct Place {
        int id;
        int x, y, cx, cy;
    };
    const Place places[] = {
        {IDOK, 180, 17, 50, 14},
        {IDC_PROP_STATUS, 85, 18, 60, 14},
        {IDC_PROP_START_DATE, 84, 44, 60, 14},
        {IDC_PROP_START_TIME, 166, 44, 60, 14},
        {IDC_PROP_STOP_DATE, 84, 61, 60, 14},
        {IDC_PROP_STOP_TIME, 166, 61, 60, 14},
        {IDC_PROP_INTERVAL, 68, 93, 50, 14},
        {IDC_PROP_SAMPLE_HOLDING, 68, 115, 50, 14},
        {IDC_PROP_OPEN_VALVE, 174, 94, 44, 14},
        {IDC_PROP_PUMP_ON, 174, 115, 44, 14},
    };
    auto inspect = [&](CZRNcomProp& d) {
        EXPECT_EQ(d.size(), d.MapDialogRect(QRect(0, 0, 242, 142)).size());
        for (const Place& p : places) {
            EXPECT_EQ(d.TemplateRect(p.id), QRect(p.x, p.y, p.cx, p.cy)) << p.id;
            EXPECT_EQ(d.GetDlgItem(p.id)->geometry(), d.MapDialogRect(QRect(p.x, p.y, p.cx, p.cy)))
                << p.id;
        }
        for (int id : kDetailEdits) {
            auto* edit = d.Item<QLineEdit>(id);
            ASSERT_NE(edit, nullptr) << id;
            EXPECT_TRUE(edit->isReadOnly()) << id;
        }
        auto* ok = d.Item<QPushButton>(IDOK);
        ASSERT_NE(ok, nullptr);
        EXPECT_EQ(ok->text(), "OK");
        EXPECT_TRUE(ok->isDefault());
        QStringList labels;
        for (const QLabel* label : d.findChildren<QLabel*>())
            labels << label->text();
        for (const char* label :
             {"Start Date:", "Stop Date:", "Interval", "Sample Holding", "Open Valve", "Pump ON"})
            EXPECT_TRUE(labels.contains(label)) << label;
        bool group = false;
        for (const QGroupBox* box : d.findChildren<QGroupBox*>())
            group = group || box->title() == "Schedule Details";
        EXPECT_TRUE(group);
    };
    const DetailsSeen seen = Open([&] { ClickProperties(); }, Escape, inspect);
    EXPECT_TRUE(seen.opened);
}

TEST_F(DetailsDialog, OkEnterEscapeAndTheCloseCommandEndIt) {
    const std::pair<const char*, std::function<void(CZRNcomProp&)>> ways[] = {
        {"OK", [](CZRNcomProp& d) { QTest::mouseClick(d.GetDlgItem(IDOK), Qt::LeftButton); }},
        {"Enter", [](CZRNcomProp& d) { QTest::keyClick(&d, Qt::Key_Return); }},
        {"Escape", [](CZRNcomProp& d) { QTest::keyClick(&d, Qt::Key_Escape); }},
        {"close", [](CZRNcomProp& d) { d.SendMessage(kWindow, WM_SYSCOMMAND, SC_CLOSE); }},
    };
    CZRNcomDlg& dlg = Make();
    for (const auto& [name, close] : ways) {
        SCOPED_TRACE(name);
        const DetailsSeen seen = Open([&] { ClickProperties(); }, close);
        EXPECT_TRUE(seen.opened);
    }
    // Nothing of the main dialog changed.
    EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).selected.tStart, 0);
    EXPECT_EQ(PanelTestAccess::sched(dlg.panels.schedule).bEditPending, 0);
}

} // namespace
