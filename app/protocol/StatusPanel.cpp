// Firmware version and battery voltages.
#include "protocol/StatusPanel.h"

#include "model/Catalogue.h"
#include "platform/DebugOutput.h"
#include "platform/Win.h"
#include "protocol/ReplyTable.h"
#include "resources/Resource.h"

#include <cstdio>

using namespace win;

namespace {

std::string Printf(const char* format, auto... values) {
    char text[64];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

} // namespace

StatusPanel::Rows StatusPanel::EventRows() {
    using D = StatusPanel;
    static constexpr EventEntry<D> rows[] = {
        {IDC_BUTTON_VOLTAGES, BN_CLICKED, &D::OnBnClickedButtonVoltages},
        {IDC_BUTTON_VERSION, BN_CLICKED, &D::OnBnClickedButtonVersion},
    };
    return rows;
}

void StatusPanel::OnInitDialog() {
    ShowVoltages();
}

void StatusPanel::RegisterReplies(ReplyTable& replies) {
    replies.Add("F", [this](const std::string& reply) { ProcessVersionResponse(reply); });
    replies.Add("B", [this](const std::string& reply) { ProcessVoltageResponse(reply); });
}

void StatusPanel::ProcessVersionResponse(const std::string& strResponse) {
    const zrn::VersionReply reply = zrn::ParseVersionReply(strResponse);
    DebugTrace("CZRNcomDlg/ProcessVersionResponse: %.*s.%.*s\r\n",
               static_cast<int>(reply.strMajor.size()), reply.strMajor.data(),
               static_cast<int>(reply.strMinor.size()), reply.strMinor.data());
    if (!reply.bValid)
        return; // "F" alone: nothing to show
    nVersionMajor = reply.nMajor;
    nVersionMinor = reply.nMinor;
    ShowVersion();
}

void StatusPanel::ProcessVoltageResponse(const std::string& strResponse) {
    const std::string_view external = zrn::VoltageTraceExternal(strResponse);
    const std::string_view internal = zrn::VoltageTraceInternal(strResponse);
    DebugTrace("CZRNcomDlg/ProcessVoltageResponse: %.*s.%.*s\r\n",
               static_cast<int>(external.size()), external.data(),
               static_cast<int>(internal.size()), internal.data());
    // A value the reply does not carry keeps its previous number.
    const zrn::Voltages volts =
        zrn::ParseVoltageReply(strResponse, {fExternalVolts, fInternalVolts});
    fExternalVolts = volts.fExternalVolts;
    fInternalVolts = volts.fInternalVolts;
    ShowVoltages();
}

void StatusPanel::ShowVoltages() {
    Window().SetDlgItemText(IDC_EXTERNAL_VOLTS, zrn::VoltsText(fExternalVolts));
    Window().SetDlgItemText(IDC_INTERNAL_VOLTS, zrn::VoltsText(fInternalVolts));
}

void StatusPanel::ShowVersion() {
    Window().SetDlgItemText(IDC_VERSION, Printf("%d:%02d", nVersionMajor, nVersionMinor));
}

void StatusPanel::OnBnClickedButtonVoltages() {
    host.SendCommand(zrn::VoltageQuery());
}

void StatusPanel::OnBnClickedButtonVersion() {
    host.SendCommand(zrn::VersionQuery());
}

std::string StatusPanel::DeviceText() const {
    // The dialog reads no identification unless asked, so the firmware version it polls anyway.
    if (nVersionMajor == 0 && nVersionMinor == 0)
        return "ZRN";
    const std::string minor = std::to_string(nVersionMinor);
    return "ZRN firmware " + std::to_string(nVersionMajor) + "." +
           (minor.size() < 2 ? "0" + minor : minor);
}
