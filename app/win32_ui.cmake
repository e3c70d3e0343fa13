# The platform layer's Win32 backend: dialogs from the template tables,
# controls, menus, message boxes and timers on user32 and comctl32, no Qt.
if(TARGET zrnapp_win32_ui)
    return()
endif()
set(ZRN_WIN32_UI_DIR ${CMAKE_CURRENT_LIST_DIR}/platform/win32)
add_library(zrnapp_win32_ui STATIC
    ${CMAKE_CURRENT_LIST_DIR}/platform/DialogShared.cpp
    ${CMAKE_CURRENT_LIST_DIR}/platform/Prompts.cpp
    ${ZRN_WIN32_UI_DIR}/Controls.cpp
    ${ZRN_WIN32_UI_DIR}/Dialog.cpp
    ${ZRN_WIN32_UI_DIR}/DialogItems.cpp
    ${ZRN_WIN32_UI_DIR}/DialogMessages.cpp
    ${ZRN_WIN32_UI_DIR}/FileDialog.cpp
    ${ZRN_WIN32_UI_DIR}/LinkWindow.cpp
    ${ZRN_WIN32_UI_DIR}/Menu.cpp
    ${ZRN_WIN32_UI_DIR}/MessageBox.cpp
    ${ZRN_WIN32_UI_DIR}/PanelSupport.cpp
    ${ZRN_WIN32_UI_DIR}/Types.cpp)
target_include_directories(zrnapp_win32_ui PUBLIC ${CMAKE_CURRENT_LIST_DIR})
# The link library's header: LinkTarget hands it the dialog's window.
target_link_libraries(zrnapp_win32_ui PUBLIC zrnapp_logic ZRNComDll comctl32 comdlg32 gdi32 user32 oleacc ole32 uuid)
