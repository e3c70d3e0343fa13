# The Qt platform layer, the dialogs and the ZRNcom executable.
set(CMAKE_AUTOMOC ON)
find_package(Qt6 REQUIRED COMPONENTS DBus)
include(sources.cmake)

# Everything of the program except main(), so the dialog tests build the real dialogs.
add_library(zrnapp_qt STATIC
    ${ZRN_PANEL_SOURCES}
    platform/DebugOutput.cpp
    platform/qt/Application.cpp
    platform/qt/MessageBus.cpp
    platform/Shell.cpp
    platform/DialogShared.cpp
    platform/Prompts.cpp
    art/qt/Art.cpp
    platform/qt/Controls.cpp
    platform/qt/Dialog.cpp
    platform/qt/DialogEvents.cpp
    platform/qt/DialogItems.cpp
    platform/qt/FileDialog.cpp
    platform/qt/LinkWindow.cpp
    platform/qt/Menu.cpp
    platform/qt/MessageBox.cpp
    platform/qt/PanelSupport.cpp)
target_include_directories(zrnapp_qt PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(zrnapp_qt PUBLIC zrnapp_logic ZRNComDll Qt6::Widgets Qt6::DBus)

add_executable(ZRNcom shell/main.cpp)
target_link_libraries(ZRNcom PRIVATE zrnapp_qt)

# tools/screenshot.sh renders the main window with this.
add_executable(zrncom_screenshot art/qt/Screenshot.cpp)
target_link_libraries(zrncom_screenshot PRIVATE zrnapp_qt)

# Windows' icon and bitmaps, rendered from the same artwork.
include(win32/images.cmake)
