// The program's end of the link: sending, the link notification, dispatch of
// replies to the panels, the log box and the reports.
#include "platform/DebugOutput.h"
#include "platform/LinkWindow.h"
#include "platform/MessageBox.h"
#include "platform/PcClock.h"
#include "platform/Win.h"
#include "ports/PortAccess.h"
#include "protocol/LinkApi.h"
#include "resources/Resource.h"
#include "shell/ZRNcomDlg.h"

#include <string>
#include <utility>

using namespace win;

void CZRNcomDlg::SendCommand(std::string_view text) {
    // Without an open port the command is dropped: polling asks again later.
    if (!link.bLinkOpen)
        return;
    Link().send(std::string(text).c_str());
    link.replyTracker.Sent(text);
}

bool CZRNcomDlg::ReopenLink(const std::string& definition) {
    Link().close();
    ShowPortInUse({});
    // Nothing asked on the old port will be answered.
    link.replyTracker.Clear();
    link.bBackedUp = false; // another connection, perhaps another device
    for (Panel* panel : panels.All())
        panel->LinkClosed();
    link.bLinkOpen = Link().open(LinkTarget(*this), definition.c_str());
    link.strOpenPort = link.bLinkOpen ? zrn::DevicePath(definition) : std::string();
    link.strOpenFailure.clear();
    ZrnOpenError error{};
    if (!link.bLinkOpen && Link().openError != nullptr && Link().openError(&error) != ZRN_OK)
        link.strOpenFailure = error.message;
    return link.bLinkOpen != 0;
}

// Shown once a device has answered, so the scan's tries do not flicker through it.
void CZRNcomDlg::ShowPortInUse(const std::string& port) {
    if (port == link.strPortInUse)
        return;
    link.strPortInUse = port;
    SetDlgItemText(IDC_PORT_IN_USE, port);
    if (!port.empty())
        AppendLog("Device answers on " + port);
}

void CZRNcomDlg::OnLinkNotify(Notify& n) {
    // Any notification proves that a device answers on the open port.
    link.tLastLinkMessage = PcTime();
    link.bPortScanning = false;
    ShowPortInUse(link.strOpenPort);

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
            link.strResponse = text;
            for (const std::string& lost : link.replyTracker.Arrived(link.strResponse)) {
                DebugTrace("ZRNcom/OnReplyLost; %s\r\n", lost.c_str());
                for (Panel* panel : panels.All())
                    panel->ReplyLost(lost);
            }
            DebugTrace("Processing Response: %.1s\r\n", link.strResponse.c_str());
            replies.Dispatch(link.strResponse);
        } else {
            link.strResponse.clear();
        }
        break;
    default: // LINK_DATA and anything else
        break;
    }
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
    link.strReports.push_back(text);
    SetTimer(TIMER_REPORT, win::USER_TIMER_MINIMUM);
}

void CZRNcomDlg::ShowReports() {
    KillTimer(TIMER_REPORT);
    // An import tells its schedules in one box, with its own report.
    if (link.strReports.empty() || panels.schedule.Importing())
        return;
    std::string text;
    for (const std::string& report : std::exchange(link.strReports, {}))
        text += (text.empty() ? "" : "\n\n") + report;
    MessageBox(this, text, {}, win::MB_OK | win::MB_ICONWARNING);
}
