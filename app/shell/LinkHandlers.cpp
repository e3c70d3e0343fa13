// The program's end of the link: sending, the link notification, dispatch of
// replies by their first letter, and the log box.
#include "platform/DebugOutput.h"
#include "platform/LinkWindow.h"
#include "platform/MessageBox.h"
#include "platform/PcClock.h"
#include "platform/Win.h"
#include "protocol/LinkApi.h"
#include "resources/Resource.h"
#include "shell/ZRNcomDlg.h"

#include <string>
#include <utility>

using namespace win;

void CZRNcomDlg::SendCommand(std::string_view text) {
    // Without an open port the command is dropped: polling asks again later.
    if (!bLinkOpen)
        return;
    Link().send(std::string(text).c_str());
    replyTracker.Sent(text);
}

bool CZRNcomDlg::ReopenLink(const std::string& definition) {
    Link().close();
    LinkReopened();
    bLinkOpen = Link().open(LinkTarget(*this), definition.c_str());
    return bLinkOpen != 0;
}

void CZRNcomDlg::LinkReopened() {
    replyTracker.Clear();
    for (const zrn::DeviceSchedules::Outcome& outcome : onDevice.LinkClosed())
        ApplyDeviceOutcome(outcome);
}

void CZRNcomDlg::OnReplyLost(const std::string& queryKey) {
    DebugTrace("ZRNcom/OnReplyLost; %s\r\n", queryKey.c_str());
    // Values that polling asks for anyway wait for their next turn.
    ApplyDeviceOutcome(onDevice.Lost(queryKey));
}

void CZRNcomDlg::OnLinkNotify(Notify& n) {
    // Any notification proves that a device answers on the open port.
    tLastLinkMessage = PcTime();
    bPortScanning = false;

    // The text belongs to the library and is freed when this returns: copy what is kept.
    const auto* text = reinterpret_cast<const char*>(n.lParam);
    switch (n.wParam) {
    case LINK_ACK:
        if (text)
            DebugTrace("ACK %s\r\n", text);
        break;
    case LINK_NAK:
        if (text)
            DebugTrace("NAK %s\r\n", text);
        break;
    case LINK_REPLY:
        if (text) {
            DebugTrace("RES %s\r\n", text);
            strResponse = text;
            for (const std::string& lost : replyTracker.Arrived(strResponse))
                OnReplyLost(lost);
            ProcessResponse();
        } else {
            strResponse.clear();
        }
        break;
    default: // LINK_DATA and anything else
        break;
    }
}

void CZRNcomDlg::ProcessResponse() {
    DebugTrace("Processing Response: %.1s\r\n", strResponse.c_str());
    replies.Dispatch(strResponse);
}

// The handlers that are the dialog's own; panels register theirs.
void CZRNcomDlg::RegisterReplies() {
    const auto add = [this](const char* prefix, void (CZRNcomDlg::*handler)()) {
        replies.Add(prefix, [this, handler](const std::string&) { (this->*handler)(); });
    };
    add("S", &CZRNcomDlg::ProcessScheduleResponse);
    for (Panel* panel : Panels())
        panel->RegisterReplies(replies);
}

void CZRNcomDlg::AppendLog(std::string_view text) {
    DebugTrace("%.*s\n", static_cast<int>(text.size()), text.data());
    // The same text as reading the box, adding "\r\n" and the line, and writing it
    // back, without copying a log that grows all day on every line.
    AppendLine(IDC_LOG, text);
    LineScroll(IDC_LOG, GetLineCount(IDC_LOG)); // keep the newest line in view
}

void CZRNcomDlg::ReportLater(const std::string& text) {
    AppendLog(text);
    strReports.push_back(text);
    SetTimer(TIMER_REPORT, win::USER_TIMER_MINIMUM);
}

void CZRNcomDlg::ShowReports() {
    KillTimer(TIMER_REPORT);
    // An import tells its schedules in one box, with its own report.
    if (strReports.empty() || planFiles.Importing())
        return;
    std::string text;
    for (const std::string& report : std::exchange(strReports, {}))
        text += (text.empty() ? "" : "\n\n") + report;
    MessageBox(this, text, {}, win::MB_OK | win::MB_ICONWARNING);
}

// The link notification, the timers and the status queries below the visible area.
CZRNcomDlgEvents::Rows CZRNcomDlgEvents::Protocol() {
    using D = CZRNcomDlg;
    static constexpr EventEntry<D> rows[] = {
        {kWindow, WM_TIMER, &D::OnTimer},
        {kWindow, WM_ZRN_LINK, &D::OnLinkNotify},
    };
    return rows;
}
