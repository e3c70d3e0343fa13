# Sources of zrnapp_logic: wire forms, schedule rules, profile, command line.
target_sources(zrnapp_logic PRIVATE
    protocol/Catalogue.cpp
    protocol/CatalogueReplies.cpp
    schedule/CalendarTime.cpp
    schedule/ScheduleEntry.cpp
    schedule/ScheduleRules.cpp)
