# Offscreen dialog and end-to-end tests of the program.
find_package(Qt6 REQUIRED COMPONENTS Test)
add_executable(test_dialog
    dialog/QtMain.cpp
    dialog/test_platform.cpp
    dialog/test_main_dialog.cpp
    dialog/test_link_dispatch.cpp
    dialog/test_button_rule.cpp)
target_link_libraries(test_dialog PRIVATE zrnapp_qt Qt6::Test GTest::gtest)
gtest_discover_tests(test_dialog
    PROPERTIES LABELS dialog ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
