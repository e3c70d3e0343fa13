# Sources of zrnapp_logic: the panels' pure rules, command line, version block,
# recent ports. Below it, zrnapp_device (app/device/device.cmake) and
# zrnapp_model (app/model/model.cmake).
target_sources(zrnapp_logic PRIVATE
    platform/CommandLine.cpp
    platform/VersionInfo.cpp
    ports/NetworkPort.cpp
    ports/PortAccess.cpp
    ports/RecentPortsFile.cpp
    protocol/ReplyTable.cpp
    protocol/ReplyTracker.cpp
    schedule/ButtonRule.cpp
    schedule/EntryDetails.cpp
    schedule/IntervalRules.cpp
    schedule/ScheduleLogic.cpp
    schedule/ScheduleState.cpp
    shell/LogNote.cpp
    shell/Usage.cpp)

# The version block takes its numbers from project(ZRNcom VERSION ...).
set_property(SOURCE platform/VersionInfo.cpp APPEND PROPERTY COMPILE_DEFINITIONS
    ZRN_VERSION_MAJOR=${ZRNcom_VERSION_MAJOR}
    ZRN_VERSION_MINOR=${ZRNcom_VERSION_MINOR}
    ZRN_VERSION_PATCH=${ZRNcom_VERSION_PATCH}
    ZRN_VERSION_TWEAK=${ZRNcom_VERSION_TWEAK})

# The log's place, by the link library's own rule (on Windows beside the
# library: app/win32.cmake).
if(NOT WIN32)
    target_link_libraries(zrnapp_logic PUBLIC zrnlink_logplace)
endif()

target_link_libraries(zrnapp_logic PUBLIC zrnapp_device zrnapp_model zrnapp_fleet)
target_link_libraries(zrnapp_logic PUBLIC zrnlink_core)
