# The Qt platform layer, the dialogs and the ZRNcom executable.
set(CMAKE_AUTOMOC ON)
set(CMAKE_AUTORCC ON)

# Everything of the program except main(), so the dialog tests build the real dialogs.
add_library(zrnapp_qt STATIC
    platform/Controls.cpp
    platform/DebugOutput.cpp
    platform/Dialog.cpp
    platform/LinkWindow.cpp
    platform/Menu.cpp
    platform/MessageBox.cpp)
target_include_directories(zrnapp_qt PUBLIC ${CMAKE_CURRENT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/link/include)
target_link_libraries(zrnapp_qt PUBLIC zrnapp_logic Qt6::Widgets)
include(panels.cmake)
