#pragma once
// The device's firmware version and battery voltages.
#include "protocol/Panel.h"

#include <string>

class StatusPanel final : public PanelOf<StatusPanel> {
public:
    using PanelOf::PanelOf;
    static Rows EventRows();
    void OnInitDialog() override;
    void RegisterReplies(ReplyTable& replies) override;

    // Replies "F|MM.mm|" and "B|external|internal|".
    void ProcessVersionResponse(const std::string& reply);
    void ProcessVoltageResponse(const std::string& reply);
    // What the journal names the device by: its firmware version once polled.
    std::string DeviceText() const;

private:
    friend struct PanelTestAccess;

    float fExternalVolts = 0;
    float fInternalVolts = 0;
    int nVersionMajor = 0;
    int nVersionMinor = 0;

    void ShowVoltages();
    void ShowVersion();
    void OnBnClickedButtonVoltages();
    void OnBnClickedButtonVersion();
};
