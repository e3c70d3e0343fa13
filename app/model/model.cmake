# The bottom of the program: the schedule entry and its checks, local time, the
# wire forms, the presets, the settings file, the plan file. No other folder of
# app/ below it, no Qt, no <windows.h>; the plan file is JSON (nlohmann-json,
# header-only).
add_library(zrnapp_model STATIC
    model/CalendarTime.cpp
    model/Catalogue.cpp
    model/CatalogueReplies.cpp
    model/DeviceSchedules.cpp
    model/FieldForms.cpp
    model/PlanCheck.cpp
    model/PlanFile.cpp
    model/PlanRead.cpp
    model/PlanRules.cpp
    model/PlanText.cpp
    model/PlanWrite.cpp
    model/ScheduleRules.cpp
    model/SdiRules.cpp
    model/Settings.cpp)
target_include_directories(zrnapp_model PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
include(${PROJECT_SOURCE_DIR}/cmake/HeaderOnly.cmake)
zrn_header_only(zrn_json nlohmann nlohmann_json 3.10 nlohmann_json::nlohmann_json)
target_link_libraries(zrnapp_model PUBLIC zrn_json)
target_link_libraries(zrnapp_model PUBLIC zrnapp_base)
