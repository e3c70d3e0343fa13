#pragma once
// The schedule list and its editing: the four schedules as the device holds
// them, the selected one in the start, stop and timing pickers, the actions on
// it and their read-back. The interval presets and custom timing
// (IntervalPanel) edit the same selected schedule.
#include "clock/ClockPanel.h"
#include "model/DeviceSchedules.h"
#include "model/ScheduleRules.h"
#include "protocol/Panel.h"
#include "schedule/IntervalPanel.h"
#include "schedule/PlanFiles.h"
#include "schedule/ScheduleState.h"

#include <array>
#include <cstdint>
#include <string>

class SchedulePanel final : public PanelOf<SchedulePanel>, private SelectedSchedule {
public:
    // iniFile: the settings file the presets are read from, kept by the dialog.
    SchedulePanel(PanelHost& host, const ClockPanel& clock, const std::string& iniFile);

    static Rows EventRows();
    void OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    void RegisterReplies(ReplyTable& replies) override;
    void LinkClosed() override;
    void ReplyLost(const std::string& queryKey) override;

    // Every schedule is read again: a new device answered, or the operator asked.
    void QueryAllEntries();
    void QueryScheduleEntry(int index);
    void UploadScheduleEntry(int index);
    void RefreshSchedules();
    void RefreshScheduleList();
    void SetSelectedFields();
    void SaveActiveEntry() override;
    void SaveEntryAndUpload();
    void DiscardPendingEdit(); // the edited entry back to what the device holds
    // The panel back to the selected entry; the interval radio follows it unless
    // the operator has just chosen one.
    void ShowSelectedEntry(bool followRadio = true) override;
    // The entry whose panel edits are not on the device yet, -1 for none.
    int EditedEntry() const;
    // What the list shows of each entry: the edited one by its working values.
    zrn::ReadStates ListedStates() const;
    // The entry's status change, then the query whose answer confirms it.
    void SendStatusChange(const zrn::ScheduleEntry& entry);
    // Reads the parts of an entry after a change and checks that the device took it.
    void ReadBack(int index, std::uint16_t parts, const zrn::Expectation& expect);
    // Enables and disables the schedule and clock buttons after a change of state.
    int SetZrnButtonProperly() override;

    // What the device last reported of each entry.
    const zrn::DeviceSchedules& OnDevice() const { return onDevice; }
    // The device's daylight-saving flag, as the clock panel reads it.
    const int& DaylightFlag() const { return sched.nDaylightFlag; }
    IntervalPanel& Intervals() { return intervals; }
    // The window menu's export and import.
    void OnExportSchedules() { planFiles.OnExportSchedules(); }
    void OnImportSchedules() { planFiles.OnImportSchedules(); }
    bool Importing() const { return planFiles.Importing(); }

    PanelHost& Host() { return host; }

private:
    friend class CPlanFiles;
    friend class CZRNcomProp;
    friend struct PanelTestAccess;

    // What the interval presets may do to the selected schedule.
    bool HasSelection() const override;
    int PendIfEditable() override;
    void SetEditPending() override { sched.bEditPending = 1; }
    bool SelectedNotActive() const override;
    int64_t BaseStart() const override { return sched.selected.tStart; }
    zrn::StartStop EditStartStop() const override { return {sched.edit.tStart, sched.edit.tStop}; }
    void SetStartStop(const zrn::StartStop& shown) override;
    void SetSpan(zrn::CustomPicker which, int64_t ts) override;
    void ShowSpans() override;

    // The one rule for the start and stop being edited: they may be activated.
    bool StartStopValid();

    void InitScheduleList(); // the list's style, columns, images and table
    void InitScheduleTable();
    void ApplyDeviceOutcome(const zrn::DeviceSchedules::Outcome& outcome);
    void ProcessScheduleResponse(const std::string& reply);
    // A row chosen by click or key: the edited entry is left first, then the row
    // becomes the selection, in the panel and in the list; false when the
    // operator's answer ends the choice. row is updated when rows move.
    bool ChooseRow(int& row);
    // ChooseRow, then the chosen entry in the panel.
    bool ShowChosenRow(int& row);
    bool LeaveCurrentEntry();
    // The selected entry, read, that Activate or Deactivate may change, its
    // line logged; nullptr when there is none.
    zrn::ScheduleEntry* EntryToChange(const char* handler);
    void ShowEntryTimings(int row);  // the four timing pickers and the radio of the interval
    bool ShowTimingPickers(int row); // the pickers alone; false when the row shows no entry
    // The panel's values into the selected entry; false when none is selected.
    bool StoreEdit();
    // The entry's upload and the read-back that checks it, without a rebuild of the list.
    void SendEntry(int index);
    void BeginReadBack(int index, std::uint16_t parts, const zrn::Expectation& expect);
    // bEditPending, the buttons, then the entry itself.
    void CommitEdit();

    void OnBnClickedScheduleRefresh();
    void OnBnClickedButtonSchedule();
    void OnClickListCtrl(Notify& n);
    void OnRclickListCtrl(Notify& n);
    void OnNmDoubleClickListCtrl(Notify& n);
    void OnLvnItemActivateListCtrl(Notify& n);
    void OnKeySelectListCtrl(Notify& n);
    void OnBnClickedButtonAdd();
    void OnBnClickedButtonDelete();
    void OnBnClickedButtonEnable();
    void OnBnClickedButtonDisable();
    void OnBnClickedButtonSave();
    void OnBnClickedButtonClearAll();
    void OnBnClickedButtonProperties();
    void OnEntryTest();
    void OnStartDateSetfocus(Notify& n);
    void OnStartTimeChange(Notify& n);
    void OnStopTimeChange(Notify& n);
    // The start and the stop date picker, told apart by the control.
    void OnDateChange(Notify& n);
    void OnDateDropdown(Notify& n);
    void OnDateCloseup(Notify& n);
    struct DateEnd;
    static const DateEnd& EndOf(int dateId);

    // Per entry, the number of the first query of its latest read: replies to
    // queries sent before it tell of the entry as it was and are not counted.
    // The table is what the list shows; onDevice is what the device last reported.
    // sched.nDaylightFlag is the device's daylight-saving flag.
    zrn::ScheduleState sched;
    zrn::DeviceSchedules onDevice;
    IntervalPanel intervals;
    CPlanFiles planFiles{*this};

    // Values bound to controls
    int64_t tStartDatePicker = 0, tStartTimePicker = 0;
    int64_t tStopDatePicker = 0, tStopTimePicker = 0;
    double odtInterval = 0, odtOpenValve = 0, odtSampleHolding = 0, odtPumpOn = 0;

    const ClockPanel& clock;
    std::array<std::uint64_t, zrn::SCHEDULE_ENTRY_COUNT> readFrom{};
    // What each entry held when its change went out, for the journal.
    zrn::ScheduleTable heldBefore{};
    int bStartDropDown = 0;
    int bStopDropDown = 0;
    ImageList imageListNormal{Size(32, 32)};
    ImageList imageListSmall{Size(16, 16)};
};

namespace schedpanel {

// The format is always a literal of the program.
std::string Text(const char* format, ...) __attribute__((format(printf, 1, 2)));

zrn::LineSink LogSink(PanelHost& host); // the log box, through AppendLog
zrn::LineSink TraceSink();              // the debugger output only

} // namespace schedpanel
