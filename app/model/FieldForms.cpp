#include "model/FieldForms.h"

#include <algorithm>

namespace zrn {

namespace {
using E = ScheduleEntry;
using F = ScheduleField;
using K = ScheduleReplyKind;
} // namespace

// clang-format off
const std::array<FieldForm, FIELD_COUNT> kFieldForms{{
    {F::StartDate, K::StartDate, "BD", true, {&E::nStartMonth, &E::nStartDay, &E::nStartYear}},
    {F::StartTime, K::StartTime, "BT", false, {&E::nStartHour, &E::nStartMinute, &E::nStartSecond}},
    {F::StopDate, K::StopDate, "ED", true, {&E::nStopMonth, &E::nStopDay, &E::nStopYear}},
    {F::StopTime, K::StopTime, "ET", false, {&E::nStopHour, &E::nStopMinute, &E::nStopSecond}},
    {F::Interval, K::Interval, "I", false,
     {&E::nIntervalHours, &E::nIntervalMinutes, &E::nIntervalSeconds}},
    {F::Valve, K::Valve, "V", false, {nullptr, &E::nValveMinutes, &E::nValveSeconds}},
    {F::Hold, K::Hold, "H", false, {nullptr, &E::nHoldMinutes, &E::nHoldSeconds}},
    {F::Pump, K::Pump, "P", false, {nullptr, &E::nPumpMinutes, &E::nPumpSeconds}},
}};
// clang-format on

const FieldForm& FormOf(ScheduleField field) {
    return *std::find_if(kFieldForms.begin(), kFieldForms.end(),
                         [field](const FieldForm& form) { return form.field == field; });
}

const FieldForm* FormOf(ScheduleReplyKind kind) {
    for (const FieldForm& form : kFieldForms)
        if (form.kind == kind)
            return &form;
    return nullptr;
}

} // namespace zrn
