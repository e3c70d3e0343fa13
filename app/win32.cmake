# Windows: the program around the dialogs, native Win32 and comctl32, no Qt.

# The rules' Windows sources: the version resource, the traffic log's folder
# (the registry's serial ports are in app/device/device.cmake).
target_sources(zrnapp_logic PRIVATE
    platform/win32/LogPlace.cpp
    platform/win32/VersionResource.cpp)
target_link_libraries(zrnapp_logic PUBLIC advapi32 version)

# The platform pieces outside the dialog core.
add_library(zrnapp_win32_platform STATIC
    platform/DebugOutput.cpp
    platform/win32/Application.cpp
    platform/win32/Shell.cpp)
target_link_libraries(zrnapp_win32_platform PUBLIC zrnapp_logic comctl32 ole32 shell32)

# The dialog core.
include(win32_ui.cmake)

# Resources: version from project(), manifest, icon 128 and bitmaps 133, 134, 158.
set(ZRN_WIN32_RES ${CMAKE_CURRENT_SOURCE_DIR}/win32/res)
set(ZRN_WIN32_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/ZRNcom.manifest)
configure_file(win32/ZRNcom.manifest ${ZRN_WIN32_MANIFEST} @ONLY)
configure_file(win32/ZRNcom.rc.in ${CMAKE_CURRENT_BINARY_DIR}/ZRNcom.rc @ONLY)
set_property(SOURCE ${CMAKE_CURRENT_BINARY_DIR}/ZRNcom.rc APPEND PROPERTY OBJECT_DEPENDS
    ${ZRN_WIN32_MANIFEST} ${ZRN_WIN32_RES}/ZRNcom.ico ${ZRN_WIN32_RES}/row_active.bmp
    ${ZRN_WIN32_RES}/row_inactive.bmp ${ZRN_WIN32_RES}/banner.bmp)

# Everything but main(), so Windows dialog tests build the real dialogs:
# the panels (app/sources.cmake) with the resources' pictures in place of
# the Qt artwork.
include(sources.cmake)
add_library(zrnapp_win32 STATIC
    ${ZRN_PANEL_SOURCES}
    art/win32/Art.cpp
    platform/win32/MessageBus.cpp
    platform/win32/ResourceImages.cpp)
target_link_libraries(zrnapp_win32 PUBLIC
    zrnapp_win32_ui zrnapp_win32_platform zrnapp_logic ZRNComDll)
# The program: a desktop program, so starting it opens no console window;
# --help and --version write to the console it was started from.
add_executable(ZRNcom WIN32 shell/main.cpp ${CMAKE_CURRENT_BINARY_DIR}/ZRNcom.rc)
target_link_libraries(ZRNcom PRIVATE zrnapp_win32)
