# What must outlive a run, shared by the program and zrnctl: the state folder,
# the device backups before a write, and the journal of changes. Above the
# model (it writes plan files), below everything that changes a device.
add_library(zrnapp_fleet STATIC
    fleet/Backup.cpp
    fleet/Journal.cpp)
if(WIN32)
    target_sources(zrnapp_fleet PRIVATE fleet/StateFilesWin.cpp)
else()
    target_sources(zrnapp_fleet PRIVATE fleet/StateFilesPosix.cpp)
endif()
target_include_directories(zrnapp_fleet PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(zrnapp_fleet PUBLIC zrnapp_model)
