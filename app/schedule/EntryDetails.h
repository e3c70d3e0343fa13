#pragma once
// The texts of the schedule details dialog, from the selected entry's copies.

#include "schedule/ScheduleState.h"

#include <string>

namespace zrn {

struct EntryDetailsTexts {
    std::string strStatus;    // "Active" or "Inactive"
    std::string strStartDate; // "%m/%d/%Y", local time
    std::string strStartTime; // "%I:%M:%S %p"
    std::string strStopDate;
    std::string strStopTime;
    std::string strInterval;      // "%H:%M:%S", hours within the last day
    std::string strOpenValve;     // "00:%M:%S": any hours are dropped
    std::string strSampleHolding; // "00:%M:%S"
    std::string strPumpOn;        // "00:%M:%S"
};

EntryDetailsTexts FormatEntryDetails(const SelectedEntryView& view);

} // namespace zrn
