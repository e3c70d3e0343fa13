#pragma once
// The interval presets (15 min, 30 min, 1 hour, 24 hours, custom) and the
// custom timing pickers. A preset fills the selected schedule's interval,
// durations, start and stop; its durations come from the settings file.
#include "protocol/Panel.h"
#include "schedule/IntervalRules.h"

#include <cstdint>
#include <string>

// The selected schedule as the presets edit it; the schedule panel keeps it.
class SelectedSchedule {
public:
    virtual bool HasSelection() const = 0; // a row is selected
    // bEditPending follows whether the selected entry may take the panel's edits.
    virtual int PendIfEditable() = 0;
    virtual void SetEditPending() = 0;
    virtual bool SelectedNotActive() const = 0;
    // The start a preset counts from: the selected entry's, or the one Add proposed.
    virtual std::int64_t BaseStart() const = 0;
    virtual zrn::StartStop EditStartStop() const = 0;
    // The working start and stop, shown in their pickers.
    virtual void SetStartStop(const zrn::StartStop& shown) = 0;
    // A working span; ShowSpans puts all four in their pickers.
    virtual void SetSpan(zrn::CustomPicker which, std::int64_t ts) = 0;
    virtual void ShowSpans() = 0;
    virtual void SaveActiveEntry() = 0;
    virtual void ShowSelectedEntry(bool followRadio) = 0;
    virtual int SetZrnButtonProperly() = 0;

protected:
    ~SelectedSchedule() = default;
};

// The registered message "ZRNCOMDLGSETINTERVALS" (re-apply the current preset).
inline constexpr int WM_ZRNCOMDLGSETINTERVALS = 0xC000;

class IntervalPanel final : public PanelOf<IntervalPanel> {
public:
    IntervalPanel(PanelHost& host, SelectedSchedule& schedule, const std::string& iniFile);

    static Rows EventRows();
    void OnInitDialog() override; // custom pickers' formats, preset 0

    void SetRadioBoxParameters();
    // The radio of the selected schedule's interval; a custom choice stays.
    void SelectIntervalRadio();
    void ReapplyIntervalPreset(int index);
    void EnableCustomPickers(int flag);
    int IntervalPreset() const { return nIntervalPreset; }

private:
    friend struct PanelTestAccess;

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

    SelectedSchedule& schedule;
    const std::string& iniFile;
    int nIntervalPreset = 0;
};
