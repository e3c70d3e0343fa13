# The bottom of the program: the schedule entry and its checks, local time, the
# wire forms, the presets, the settings file. No other folder of app/ below it,
# no Qt, no <windows.h>.
add_library(zrnapp_model STATIC
    model/CalendarTime.cpp
    model/Catalogue.cpp
    model/CatalogueReplies.cpp
    model/DeviceSchedules.cpp
    model/ScheduleEntry.cpp
    model/ScheduleRules.cpp
    model/Settings.cpp
    model/Text.cpp)
target_include_directories(zrnapp_model PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
