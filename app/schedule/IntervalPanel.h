#pragma once
// The interval presets (15 min, 30 min, 1 hour, 24 hours, custom) and the
// custom timing pickers. A preset fills the selected schedule's interval,
// durations, start and stop; its durations come from the settings file.
#include "protocol/Panel.h"

#include <string>

class SchedulePanel;

namespace zrn {
struct IntervalPreset;
}

// The registered message "ZRNCOMDLGSETINTERVALS" (re-apply the current preset).
inline constexpr int WM_ZRNCOMDLGSETINTERVALS = 0xC000;

class IntervalPanel final : public PanelOf<IntervalPanel> {
public:
    IntervalPanel(PanelHost& host, SchedulePanel& schedule, const std::string& iniFile);

    static Rows EventRows();
    void OnInitDialog() override; // custom pickers' formats, preset 0

    void SetRadioBoxParameters();
    // The radio of the selected schedule's interval; a custom choice stays.
    void SelectIntervalRadio();
    void ReapplyIntervalPreset(int index);
    void EnableCustomPickers(int flag);

    int nIntervalPreset = 0;

private:
    void ApplyIntervalPreset(const zrn::IntervalPreset& preset);
    void CheckIntervalRadio(int id);
    void OnShowWindow(Notify& n);
    void OnSetIntervals(Notify& n);
    void OnBnClickedRadio15Min();
    void OnBnClickedRadio30Min();
    void OnBnClickedRadio1Hour();
    void OnBnClickedRadio24Hours();
    void OnBnClickedRadioCustom();
    void OnCustomTimingChange(Notify& n);

    SchedulePanel& schedule;
    const std::string& iniFile;
};
