# The dialogs and panels: one set of sources for both backends of the platform
# layer, which each backend's library adds to its own.
set(ZRN_PANEL_SOURCES
    platform/PcClock.cpp
    shell/AboutBox.cpp
    shell/AccessibleNames.cpp
    resources/Resources.cpp
    shell/ZRNcomApp.cpp
    shell/ZRNcomDlg.cpp
    protocol/LinkApi.cpp
    shell/ChangeRecords.cpp
    shell/LinkHandlers.cpp
    shell/Polling.cpp
    protocol/StatusPanel.cpp
    clock/ClockPanel.cpp
    schedule/DetailsDialog.cpp
    schedule/IntervalPanel.cpp
    schedule/PlanFiles.cpp
    schedule/ScheduleTransfer.cpp
    schedule/ScheduleList.cpp
    schedule/ScheduleEditing.cpp
    schedule/StartStopEditing.cpp
    schedule/ScheduleEvents.cpp
    settings/SettingsPanel.cpp
    settings/SdiInfoDlg.cpp
    ports/OpenZrn.cpp
    ports/PortsPanel.cpp)
list(TRANSFORM ZRN_PANEL_SOURCES PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
