# The Qt platform layer, the dialogs and the ZRNcom executable.
set(CMAKE_AUTOMOC ON)

# Everything of the program except main(), so the dialog tests build the real dialogs.
add_library(zrnapp_qt STATIC
    platform/Controls.cpp
    platform/DebugOutput.cpp
    platform/Dialog.cpp
    platform/LinkWindow.cpp
    platform/Menu.cpp
    platform/MessageBox.cpp
    platform/Shell.cpp
    shell/AboutBox.cpp
    shell/Art.cpp
    shell/DetailsDialog.cpp
    shell/Presets.cpp
    shell/Resources.cpp
    shell/ZRNcomApp.cpp
    shell/ZRNcomDlg.cpp
    protocol/LinkApi.cpp
    protocol/LinkHandlers.cpp
    protocol/Polling.cpp
    protocol/StatusReplies.cpp
    clock/ClockPanel.cpp
    schedule/ScheduleDialog.cpp
    settings/SdiSettings.cpp
    ports/PortConnect.cpp)
target_include_directories(zrnapp_qt PUBLIC ${CMAKE_CURRENT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/link/include)
target_link_libraries(zrnapp_qt PUBLIC zrnapp_logic Qt6::Widgets)
include(panels.cmake)

if(TARGET ZRNComDll)
    target_link_libraries(zrnapp_qt PUBLIC ZRNComDll)
else()
    # Until the link library lands: exports that open nothing.
    add_library(zrnlink_placeholder STATIC ${PROJECT_SOURCE_DIR}/app/protocol/LinkPlaceholder.cpp)
    target_include_directories(zrnlink_placeholder PUBLIC ${PROJECT_SOURCE_DIR}/link/include)
    target_link_libraries(zrnapp_qt PUBLIC zrnlink_placeholder)
endif()

add_executable(ZRNcom shell/main.cpp)
target_link_libraries(ZRNcom PRIVATE zrnapp_qt)

# tools/screenshot.sh renders the main window with this.
add_executable(zrncom_screenshot shell/Screenshot.cpp)
target_link_libraries(zrncom_screenshot PRIVATE zrnapp_qt)
