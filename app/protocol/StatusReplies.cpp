// Firmware version and battery voltages.
#include "platform/DebugOutput.h"
#include "model/Catalogue.h"
#include "shell/Resource.h"
#include "shell/ZRNcomDlg.h"

#include <cstdio>

namespace {

std::string Printf(const char* format, auto... values) {
    char text[64];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

} // namespace

void CZRNcomDlg::ProcessVersionResponse() {
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

void CZRNcomDlg::ProcessVoltageResponse() {
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

void CZRNcomDlg::ShowVoltages() {
    SetDlgItemText(IDC_EXTERNAL_VOLTS, zrn::VoltsText(fExternalVolts));
    SetDlgItemText(IDC_INTERNAL_VOLTS, zrn::VoltsText(fInternalVolts));
}

void CZRNcomDlg::ShowVersion() {
    SetDlgItemText(IDC_VERSION, Printf("%d:%02d", nVersionMajor, nVersionMinor));
}

void CZRNcomDlg::OnBnClickedButtonVoltages() {
    SendCommand(zrn::VoltageQuery());
}

void CZRNcomDlg::OnBnClickedButtonVersion() {
    SendCommand(zrn::VersionQuery());
}
