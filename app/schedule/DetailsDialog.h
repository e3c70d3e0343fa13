#pragma once
// The schedule details dialog: every field of the selected entry as text,
// read-only, for one modal run.
#include "platform/Dialog.h"

#include <string>

class SchedulePanel;

inline constexpr int IDD_SCHEDULE_DETAILS = 161;
inline constexpr int IDC_PROP_START_DATE = 1036;
inline constexpr int IDC_PROP_STOP_DATE = 1072;
inline constexpr int IDC_PROP_START_TIME = 1073;
inline constexpr int IDC_PROP_STOP_TIME = 1074;
inline constexpr int IDC_PROP_INTERVAL = 1075;
inline constexpr int IDC_PROP_SAMPLE_HOLDING = 1076;
inline constexpr int IDC_PROP_OPEN_VALVE = 1077;
inline constexpr int IDC_PROP_PUMP_ON = 1078;
inline constexpr int IDC_PROP_STATUS = 1079;

class CZRNcomProp : public CDialog {
public:
    // Reads the panel's selected entry; the main dialog is the parent.
    explicit CZRNcomProp(SchedulePanel& schedule);

    std::string strStatus;
    std::string strStartDate;
    std::string strStartTime;
    std::string strStopDate;
    std::string strStopTime;
    std::string strInterval;
    std::string strOpenValve;
    std::string strSampleHolding;
    std::string strPumpOn;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;

private:
    SchedulePanel& schedule;
};
