# The Qt platform layer, the dialogs and the ZRNcom executable.
set(CMAKE_AUTOMOC ON)
find_package(Qt6 REQUIRED COMPONENTS DBus)

# Everything of the program except main(), so the dialog tests build the real dialogs.
add_library(zrnapp_qt STATIC
    platform/Controls.cpp
    platform/DebugOutput.cpp
    platform/Dialog.cpp
    platform/LinkWindow.cpp
    platform/Menu.cpp
    platform/qt/Application.cpp
    platform/qt/MessageBus.cpp
    platform/MessageBox.cpp
    platform/PanelSupport.cpp
    platform/Shell.cpp
    shell/AboutBox.cpp
    shell/AccessibleNames.cpp
    shell/Art.cpp
    schedule/DetailsDialog.cpp
    schedule/IntervalPresets.cpp
    shell/Resources.cpp
    shell/ZRNcomApp.cpp
    shell/ZRNcomDlg.cpp
    protocol/LinkApi.cpp
    protocol/LinkHandlers.cpp
    protocol/Polling.cpp
    protocol/StatusReplies.cpp
    clock/ClockPanel.cpp
    schedule/ScheduleTransfer.cpp
    schedule/ScheduleList.cpp
    schedule/ScheduleEditing.cpp
    schedule/StartStopEditing.cpp
    schedule/ScheduleEvents.cpp
    settings/SdiSettings.cpp
    settings/SdiInfoDlg.cpp
    ports/PortConnect.cpp)
target_include_directories(zrnapp_qt PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(zrnapp_qt PUBLIC zrnapp_logic ZRNComDll Qt6::Widgets Qt6::DBus)
include(panels.cmake)

add_executable(ZRNcom shell/main.cpp)
target_link_libraries(ZRNcom PRIVATE zrnapp_qt)

# tools/screenshot.sh renders the main window with this.
add_executable(zrncom_screenshot shell/Screenshot.cpp)
target_link_libraries(zrncom_screenshot PRIVATE zrnapp_qt)

# Windows' icon and bitmaps, rendered from the same artwork.
include(win32/images.cmake)
