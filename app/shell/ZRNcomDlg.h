#pragma once
// The main dialog: every panel of the program is a group of its handlers,
// each group in its subsystem's folder.
#include "clock/ClockPanel.h"
#include "model/DeviceSchedules.h"
#include "model/ScheduleEntry.h"
#include "platform/Dialog.h"
#include "ports/PortsPanel.h"
#include "protocol/Panel.h"
#include "protocol/ReplyTable.h"
#include "protocol/ReplyTracker.h"
#include "protocol/StatusPanel.h"
#include "schedule/PlanFiles.h"
#include "settings/SettingsPanel.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zrn {
struct LocalDateTime;
struct IntervalPreset;
} // namespace zrn

// The registered message "ZRNCOMDLGSETINTERVALS" (re-apply the current preset).
inline constexpr int WM_ZRNCOMDLGSETINTERVALS = 0xC000;
// Lines the log box keeps; older ones are dropped.
inline constexpr int LOG_LINES_KEPT = 5000;

class CZRNcomDlg : public CDialog, public PanelHost {
public:
    explicit CZRNcomDlg(std::string_view commandLine, CWnd* parent = nullptr);
    ~CZRNcomDlg() override;

    // Shell
    CDialog& Window() override { return *this; }
    int SetZrnButtonProperly() override;
    // Link
    void SendCommand(std::string_view text) override;
    bool ReopenLink(const std::string& definition) override;
    void HoldCommands() override { bLinkOpen = 0; }
    void AppendLog(std::string_view text) override;
    // The port was closed (and maybe another opened): nothing queued will be answered.
    void LinkReopened();
    // Presets
    void SetRadioBoxParameters();
    // Schedules
    void InitScheduleTable();
    void InitScheduleList();  // start-up: the list's style, columns, images and table
    void InitIntervalPanel(); // start-up: custom pickers' formats, preset 0
    void QueryScheduleEntry(int index);
    void UploadScheduleEntry(int index);
    void RefreshSchedules();
    void RefreshScheduleList();
    void SetSelectedFields();
    void SaveActiveEntry();
    void SaveEntryAndUpload();
    void DiscardPendingEdit();       // the edited entry back to what the device holds
    void ShowEntryTimings(int row);  // the four timing pickers and the radio of the interval
    bool ShowTimingPickers(int row); // the pickers alone; false when the row shows no entry
    // The entry whose panel edits are not on the device yet, -1 for none.
    int EditedEntry() const;
    // What the list shows of each entry: the edited one by its working values.
    std::array<zrn::ReadState, zrn::SCHEDULE_ENTRY_COUNT> ListedStates() const;
    // Reads the parts of an entry after a change and checks that the device took it.
    void ReadBack(int index, std::uint16_t parts, const zrn::Expectation& expect);
    void ApplyDeviceOutcome(const zrn::DeviceSchedules::Outcome& outcome);
    // Tells the operator, in a box shortly after, what the device did not take.
    void ReportLater(const std::string& text);
    // Presets and custom timing
    void ApplyIntervalPreset(const zrn::IntervalPreset& preset);
    void SelectIntervalRadio();
    void CheckIntervalRadio(int id);
    void ReapplyIntervalPreset(int index);
    void EnableCustomPickers(int flag);
    // About box
    void ReadFileVersion();

    // Start-up settings
    bool bEditSdiInfo = false; // handed to the SDI identification dialog
    bool bLogComm = false;
    int bLogOpen = 0; // what the link library answered to the -LOG_COMM decision
    bool bNoScanCommPorts = false;
    std::string strIniFile;
    std::string strFileVersion;

    // Link
    int bLinkOpen = 0;
    int64_t tLastLinkMessage = 0;
    bool bPortScanning = false;
    std::string strResponse;
    zrn::ReplyTracker replyTracker; // queries whose replies are awaited

    // Polling and ports
    bool bPrevTickScanning = false;
    int nPollStep = 0;

    // Schedule table and editing state; sched.nDaylightFlag is the daylight-saving flag.
    // The table is what the list shows; onDevice is what the device last reported.
    zrn::ScheduleState sched;
    zrn::DeviceSchedules onDevice;
    std::vector<std::string> strReports; // waiting for their box
    CPlanFiles planFiles{*this};         // the window menu's export and import
    int bStartDropDown = 0;
    int bStopDropDown = 0;
    int nIntervalPreset = 0;

    // The panels, after the state they are handed.
    ClockPanel clock{*this, sched.nDaylightFlag};
    StatusPanel status{*this};
    SettingsPanel settings{*this};
    PortsPanel ports{*this};
    ReplyTable replies;
    // The panels, in the order they see messages.
    std::array<Panel*, 4> Panels() { return {&clock, &status, &settings, &ports}; }

    // Values bound to controls
    int64_t tStartDatePicker = 0, tStartTimePicker = 0;
    int64_t tStopDatePicker = 0, tStopTimePicker = 0;
    double odtInterval = 0, odtOpenValve = 0, odtSampleHolding = 0, odtPumpOn = 0;
    int nCheck = 0;
    int nSelectItem = 10;
    int nNumberOfItems = 0;

    ImageList imageListNormal{Size(32, 32)};
    ImageList imageListSmall{Size(16, 16)};

protected:
    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    bool OnMessage(Notify& n) override;
    Bitmap LoadImageResource(int id, Size size) const override;

private:
    friend struct CZRNcomDlgEvents;

    // Shell
    void OnOK() override {}     // Enter does not end the dialog
    void OnCancel() override {} // nor does Escape
    void OnSysCommand(Notify& n);
    void OnNotifyHandled(Notify& n);
    void OnBnClickedExit();
    void OnBnClickedCheck();
    void OnBnClickedClearLog();
    void OnBnClickedGetSelected();
    // Link
    void OnLinkNotify(Notify& n);
    void ProcessResponse();
    void RegisterReplies();
    void OnReplyLost(const std::string& queryKey);
    void ShowReports();
    // Polling
    void OnStartPollingTimer();
    void OnTimer(Notify& n);
    void OnTimerTick(uintptr_t timerId);
    // Schedules
    void ProcessScheduleResponse();
    void OnBnClickedScheduleRefresh();
    void OnBnClickedButtonSchedule();
    void OnClickListCtrl(Notify& n);
    void OnRclickListCtrl(Notify& n);
    void OnNmDoubleClickListCtrl(Notify& n);
    void OnLvnItemActivateListCtrl(Notify& n);
    void OnKeySelectListCtrl(Notify& n);
    // A row chosen by click or key: the edited entry is left first, then the row
    // becomes the selection, in the panel and in the list; false when the
    // operator's answer ends the choice. row is updated when rows move.
    bool ChooseRow(int& row);
    // The panel back to the selected entry; the interval radio follows it unless
    // the operator has just chosen one.
    void ShowSelectedEntry(bool followRadio = true);
    void OnBnClickedButtonAdd();
    void OnBnClickedButtonDelete();
    void OnBnClickedButtonEnable();
    void OnBnClickedButtonDisable();
    void OnBnClickedButtonSave();
    void OnBnClickedButtonClearAll();
    void OnEntryTest();
    void OnStartDateChange(Notify& n);
    void OnStopDateChange(Notify& n);
    void OnStartDateDropdown(Notify& n);
    void OnStopDateDropdown(Notify& n);
    void OnStartDateCloseup(Notify& n);
    void OnStopDateCloseup(Notify& n);
    void OnStartDateSetfocus(Notify& n);
    void OnStartTimeChange(Notify& n);
    void OnStopTimeChange(Notify& n);
    // Presets and custom timing
    void OnShowWindow(Notify& n);
    void OnSetIntervals(Notify& n);
    void OnBnClickedRadio15Min();
    void OnBnClickedRadio30Min();
    void OnBnClickedRadio1Hour();
    void OnBnClickedRadio24Hours();
    void OnBnClickedRadioCustom();
    void OnCustomTimingChange(Notify& n);
    // Schedule details
    void OnBnClickedButtonProperties();
    // SDI settings and identification
    // Ports
    // About box
    void OnAboutBox();
    void OnStnClickedBanner();

    Icon hIcon;
};

// The dialog's event table, a span of rows per panel, each defined in its
// panel's folder. The dialog walks them in the order of All().
struct CZRNcomDlgEvents {
    using Rows = std::span<const EventEntry<CZRNcomDlg>>;
    static Rows Shell();     // shell/ZRNcomDlg.cpp
    static Rows Protocol();  // shell/LinkHandlers.cpp: link, timers, status queries
    static Rows Schedule();  // schedule/ScheduleEvents.cpp: list, transfer, editing
    static Rows Intervals(); // schedule/IntervalPresets.cpp: presets and custom timing
    static std::span<const Rows> All();
};

// Trace of a handler whose panel comes later.
void TraceNotYet(const char* handler);
