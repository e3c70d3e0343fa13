#pragma once
// The main dialog: it holds the panels, routes messages and replies to them,
// and owns the link, the timers and the log box they share.
#include "clock/ClockPanel.h"
#include "platform/Dialog.h"
#include "ports/PortsPanel.h"
#include "protocol/Panel.h"
#include "protocol/ReplyTable.h"
#include "protocol/ReplyTracker.h"
#include "protocol/StatusPanel.h"
#include "schedule/SchedulePanel.h"
#include "settings/SettingsPanel.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Lines the log box keeps; older ones are dropped.
inline constexpr int LOG_LINES_KEPT = 5000;

// What the command line and the program's files decide at start-up.
struct DialogOptions {
    bool bEditSdiInfo = false; // handed to the SDI identification dialog
    bool bLogComm = false;
    int bLogOpen = 0; // what the link library answered to the -LOG_COMM decision
    bool bNoScanCommPorts = false;
    std::string strIniFile;
    std::string strFileVersion;
};

// The link as the dialog drives it: the port, the scan and the polling rotation.
struct LinkState {
    int bLinkOpen = 0;
    int64_t tLastLinkMessage = 0;
    bool bPortScanning = false;
    bool bPrevTickScanning = false;
    int nPollStep = 0;
    std::string strResponse;             // the last reply
    std::string strOpenPort;             // the port open now, or empty
    std::string strOpenFailure;          // why the last open failed, in the link's words
    std::string strPortInUse;            // shown: the open port once a device answered on it
    zrn::ReplyTracker replyTracker;      // queries whose replies are awaited
    std::vector<std::string> strReports; // waiting for their box
    bool bBackedUp = false;              // this connection's backup is written
};

// The controls of the log area that belong to no panel.
struct ShellControls {
    int nCheck = 0;
    int nSelectItem = 10;
    int nNumberOfItems = 0;
};

// The panels, in the order they see messages and start up. The schedule panel
// comes first: the clock reads its daylight-saving flag.
struct DialogPanels {
    DialogPanels(PanelHost& host, const std::string& iniFile)
        : schedule(host, clock, iniFile), clock(host, schedule.DaylightFlag()), status(host),
          settings(host), ports(host) {}

    std::array<Panel*, 6> All() {
        return {&schedule, &clock, &status, &settings, &ports, &schedule.Intervals()};
    }

    SchedulePanel schedule;
    ClockPanel clock;
    StatusPanel status;
    SettingsPanel settings;
    PortsPanel ports;
};

class CZRNcomDlg : public CDialog, public PanelHost {
public:
    explicit CZRNcomDlg(std::string_view commandLine, CWnd* parent = nullptr);
    ~CZRNcomDlg() override;

    // What the panels ask of the dialog
    CDialog& Window() override { return *this; }
    void SendCommand(std::string_view text) override;
    bool ReopenLink(const std::string& definition) override;
    std::string OpenFailure() const override { return link.strOpenFailure; }
    void HoldCommands() override { link.bLinkOpen = 0; }
    bool LinkOpen() const override { return link.bLinkOpen != 0; }
    bool DeviceConnected() const override { return link.bLinkOpen && !link.bPortScanning; }
    void AppendLog(std::string_view text) override;
    void ReportLater(const std::string& text) override;
    std::uint64_t NextQuery() const override { return link.replyTracker.NextQuery(); }
    std::optional<std::uint64_t> AnsweredQuery() const override {
        return link.replyTracker.LastAnswered();
    }
    void BeforeChange() override;
    void ChangeDone(const std::string& what, const zrn::Json& before, const zrn::Json& after,
                    zrn::ChangeResult result) override;

    DialogOptions options;
    LinkState link;
    ShellControls controls;
    DialogPanels panels{*this, options.strIniFile};

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
    void OnBnClickedExit();
    void OnBnClickedCheck();
    void OnBnClickedClearLog();
    void OnBnClickedGetSelected();
    void ReadFileVersion();
    void OnAboutBox();
    void OnStnClickedBanner();
    // Link
    void OnLinkNotify(Notify& n);
    void ShowPortInUse(const std::string& port);
    void ShowReports();
    // Polling
    void OnStartPollingTimer();
    void OnTimer(Notify& n);
    void OnTimerTick();

    ReplyTable replies;
    Icon hIcon;
};

// The dialog's own rows of the event table; the panels hold theirs.
struct CZRNcomDlgEvents {
    using Rows = std::span<const EventEntry<CZRNcomDlg>>;
    static Rows All();
};
