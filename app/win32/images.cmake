# The Windows program's icon and bitmaps are rendered here, from the same
# artwork, and committed: the mingw build cannot run Qt. The test fails when
# the artwork changes and the files were not rendered again
# (cmake --build --preset default --target zrncom_win32_images_update).
set(ZRN_WIN32_RES ${CMAKE_CURRENT_SOURCE_DIR}/win32/res)
add_executable(zrncom_win32_images art/qt/RenderWin32Images.cpp)
target_link_libraries(zrncom_win32_images PRIVATE zrnapp_qt)
add_custom_target(zrncom_win32_images_update
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
        $<TARGET_FILE:zrncom_win32_images> write ${ZRN_WIN32_RES}
    DEPENDS zrncom_win32_images VERBATIM)
add_test(NAME win32_images_match_artwork
    COMMAND zrncom_win32_images check ${ZRN_WIN32_RES})
set_tests_properties(win32_images_match_artwork PROPERTIES
    LABELS unit TIMEOUT 60 ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=0")
