#pragma once
// The operator's actions as RapidCheck commands: each answers the boxes it
// raises with one of their buttons, and after each the rig's checks must hold.
// On a failure RapidCheck prints its seed and shrinks the steps to a short
// sequence that still fails.
#include "OperatorRig.h"
#include "resources/Resource.h"

#include <QDateTimeEdit>
#include <rapidcheck.h>
#include <rapidcheck/state.h>

#include <exception>
#include <iostream>
#include <optional>
#include <ostream>

namespace operator_steps {

// The device is the model: the rig compares the dialog with it after each step.
struct Model {};
using Step = rc::state::Command<Model, OperatorRig>;

struct Answered : Step {
    unsigned answer = *rc::gen::inRange(0u, 3u);
    void run(const Model&, OperatorRig& rig) const final {
        rig.AnswerWith(answer);
        Act(rig);
        std::string failures;
        for (const std::string& failure : rig.SettleAndCheck())
            failures += "\n  " + failure;
        if (!failures.empty()) {
            // RapidCheck replays a failing case to show it; a failure that
            // hangs on timing may not recur then, so it is written now too.
            std::cerr << "FAILED after this step:" << failures << std::endl;
            RC_FAIL("after this step:" + failures);
        }
    }
    void show(std::ostream& os) const final {
        Name(os);
        os << " (boxes answered with button " << answer << ")";
    }
    virtual void Act(OperatorRig& rig) const = 0;
    virtual void Name(std::ostream& os) const = 0;
};

struct ClickRow : Answered {
    int row = *rc::gen::inRange(-1, 4);
    void Act(OperatorRig& rig) const override { rig.ClickRow(row); }
    void Name(std::ostream& os) const override { os << "click row " << row; }
};

struct DoubleClickRow : Answered {
    int row = *rc::gen::inRange(0, 4);
    void Act(OperatorRig& rig) const override { rig.DoubleClickRow(row); }
    void Name(std::ostream& os) const override { os << "double-click row " << row; }
};

struct ArrowKey : Answered {
    bool down = *rc::gen::arbitrary<bool>();
    void Act(OperatorRig& rig) const override { rig.Arrow(down); }
    void Name(std::ostream& os) const override { os << (down ? "arrow down" : "arrow up"); }
};

struct PickerSection {
    int id;
    QDateTimeEdit::Section section;
    const char* name;
};
inline constexpr PickerSection kSections[] = {
    {IDC_START_DATE, QDateTimeEdit::MonthSection, "start month"},
    {IDC_START_DATE, QDateTimeEdit::DaySection, "start day"},
    {IDC_START_DATE, QDateTimeEdit::YearSection, "start year"},
    {IDC_START_DATE, QDateTimeEdit::YearSection, "start year"},
    {IDC_START_TIME, QDateTimeEdit::HourSection, "start hour"},
    {IDC_START_TIME, QDateTimeEdit::MinuteSection, "start minute"},
    {IDC_STOP_DATE, QDateTimeEdit::MonthSection, "stop month"},
    {IDC_STOP_DATE, QDateTimeEdit::DaySection, "stop day"},
    {IDC_STOP_DATE, QDateTimeEdit::YearSection, "stop year"},
    {IDC_STOP_DATE, QDateTimeEdit::YearSection, "stop year"},
    {IDC_STOP_TIME, QDateTimeEdit::HourSection, "stop hour"},
    {IDC_STOP_TIME, QDateTimeEdit::MinuteSection, "stop minute"},
    {IDC_INTERVAL, QDateTimeEdit::HourSection, "interval hours"},
    {IDC_INTERVAL, QDateTimeEdit::MinuteSection, "interval minutes"},
    {IDC_OPEN_VALVE, QDateTimeEdit::MinuteSection, "open valve minutes"},
    {IDC_SAMPLE_HOLDING, QDateTimeEdit::SecondSection, "sample holding seconds"},
    {IDC_PUMP_ON, QDateTimeEdit::MinuteSection, "pump minutes"},
};

struct StepPicker : Answered {
    std::size_t target = *rc::gen::inRange<std::size_t>(0, std::size(kSections));
    bool up = *rc::gen::arbitrary<bool>();
    // Years mostly a dozen at once: the last year the device holds is that far away.
    int times = kSections[target].section == QDateTimeEdit::YearSection
                    ? *rc::gen::element(2, 12, 12)
                    : *rc::gen::element(1, 2, 3, 12);
    void Act(OperatorRig& rig) const override {
        const PickerSection& s = kSections[target];
        rig.StepPicker(s.id, s.section, up, times);
    }
    void Name(std::ostream& os) const override {
        os << "step " << kSections[target].name << (up ? " up " : " down ") << times << "x";
    }
};

struct PickPreset : Answered {
    int radio = *rc::gen::element(IDC_RADIO_15MIN, IDC_RADIO_30MIN, IDC_RADIO_1HOUR,
                                  IDC_RADIO_24HOURS, IDC_RADIO_CUSTOM);
    void Act(OperatorRig& rig) const override { rig.Press(radio); }
    void Name(std::ostream& os) const override { os << "preset radio " << radio; }
};

struct PressButton : Answered {
    // Weighted towards the actions that change the device.
    int id = *rc::gen::element(IDC_BUTTON_ADD, IDC_BUTTON_ADD, IDC_BUTTON_SAVE, IDC_BUTTON_SAVE,
                               IDC_BUTTON_SAVE, IDC_BUTTON_DELETE, IDC_BUTTON_ENABLE,
                               IDC_BUTTON_ENABLE, IDC_BUTTON_DISABLE, IDC_BUTTON_DISCARD,
                               IDC_BUTTON_CLEAR_ALL, IDC_SCHEDULE_REFRESH);
    void Act(OperatorRig& rig) const override { rig.Press(id); }
    void Name(std::ostream& os) const override {
        const char* names[][2] = {{"1055", "Add"},        {"1041", "Save"},
                                  {"1056", "Delete"},     {"1043", "Activate"},
                                  {"1047", "Deactivate"}, {"1042", "Discard"},
                                  {"1045", "Clear All"},  {"1046", "Schedule Refresh"}};
        os << "press ";
        for (const auto& n : names)
            if (std::to_string(id) == n[0])
                os << n[1];
    }
};

// Not the operator's doing: the gateway at the device's site goes away for a
// few seconds of the timer, then comes back.
struct GatewayAway : Answered {
    int seconds = *rc::gen::inRange(1, 7);
    void Act(OperatorRig& rig) const override { rig.GatewayAway(seconds); }
    void Name(std::ostream& os) const override { os << "gateway away " << seconds << " s"; }
};

// Clicks and picker steps most often, as an operator's hands go.
inline auto Steps() {
    return rc::state::gen::execOneOfWithArgs<ClickRow, ClickRow, ArrowKey, DoubleClickRow,
                                             StepPicker, StepPicker, StepPicker, StepPicker,
                                             PickPreset, PressButton, PressButton, PressButton>();
}
// The same hands, now and then a gateway outage among them.
inline auto StepsBehindAGateway() {
    return rc::state::gen::execOneOfWithArgs<
        ClickRow, ClickRow, ArrowKey, DoubleClickRow, StepPicker, StepPicker, StepPicker,
        StepPicker, PickPreset, PressButton, PressButton, PressButton, GatewayAway>();
}

// One run: a device with line faults drawn from the case, then the steps.
inline void OperatorRun(bool viaGateway = false) {
    LineFaults faults;
    faults.viaGateway = viaGateway;
    faults.seed = *rc::gen::inRange<std::uint64_t>(1, 1u << 30);
    // A failure must be told when it happens: RapidCheck's replay of a case
    // whose faults hang on timing may pass.
    std::optional<OperatorRig> started;
    try {
        started.emplace(faults);
    } catch (const std::exception& e) {
        std::cerr << "FAILED to start: " << e.what() << std::endl;
        throw;
    }
    OperatorRig& rig = *started;
    std::string failures;
    for (const std::string& failure : rig.SettleAndCheck())
        failures += "\n  " + failure;
    if (!failures.empty()) {
        std::cerr << "FAILED after the first read:" << failures << std::endl;
        RC_FAIL("after the first read:" + failures);
    }
    if (viaGateway)
        rc::state::check(Model{}, rig, StepsBehindAGateway());
    else
        rc::state::check(Model{}, rig, Steps());
}

} // namespace operator_steps
