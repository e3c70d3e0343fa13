#pragma once
// The SDI-12 settings: address, delay and the three durations of schedule
// number 5, each edited in its box and sent when the box is left; the
// identification dialog.
#include "protocol/Panel.h"
#include "settings/SdiInfoDlg.h"
#include "model/SdiRules.h"

#include <string>

class SettingsPanel final : public PanelOf<SettingsPanel> {
public:
    explicit SettingsPanel(PanelHost& host);
    static Rows EventRows();
    void DoDataExchange(DataExchange& dx) override;
    void RegisterReplies(ReplyTable& replies) override;

    // The window menu's "SDI Information...".
    void OnSdiInformation();
    // The identification dialog's boxes may be edited (-EDIT_SDI on the command line).
    void AllowSdiInfoEdit(bool editable) { sdiInfoDlg.bEditable = editable ? 1 : 0; }

private:
    friend struct PanelTestAccess;

    std::string strSdiAddress; // bound to the address box
    std::string strSdiDelay;   // bound to the delay box
    // The durations of schedule number 5 as last replied.
    zrn::SdiMinSec sdiValve;
    zrn::SdiMinSec sdiHold;
    zrn::SdiMinSec sdiPump;
    CSdiInfoDlg sdiInfoDlg;

    // Each box's value when it took the focus.
    char chAddressAtFocus = 0;
    int nDelayAtFocus = 0;
    std::string strValveAtFocus;
    std::string strHoldAtFocus;
    std::string strPumpAtFocus;

    struct DurationBox;
    static const DurationBox kDurationBoxes[3];
    static const DurationBox* DurationBoxOf(int id);
    static const DurationBox* DurationBoxOfLetter(char chLetter);

    void ProcessSDIAddress(const std::string& reply);
    void ProcessDelayResponse(const std::string& reply);
    void ProcessSDIResponse(const std::string& reply);
    // "S5V|mm|ss|", "S5H..." and "S5P...".
    void ProcessSdiDurationResponse(const std::string& reply);
    void OnSetfocusSdiSetting(Notify& n);
    void OnKillfocusSdiSetting(Notify& n);
};
