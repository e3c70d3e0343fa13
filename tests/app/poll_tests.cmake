# Port selection, polling and the clock panel.
add_executable(test_poll_unit poll/test_port_scan.cpp)
target_link_libraries(test_poll_unit PRIVATE zrnapp_logic GTest::gtest_main)
gtest_discover_tests(test_poll_unit PROPERTIES LABELS unit)

add_executable(test_poll_dialog
    dialog/QtMain.cpp
    poll/test_open_zrn.cpp)
target_include_directories(test_poll_dialog PRIVATE poll dialog)
target_link_libraries(test_poll_dialog PRIVATE zrnapp_qt Qt6::Test GTest::gtest)
gtest_discover_tests(test_poll_dialog
    PROPERTIES LABELS dialog ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

# ZRNcom as a child process, for the end-to-end tests and the benchmarks.
add_library(zrncom_process STATIC poll/ZrnComProcess.cpp)
target_include_directories(zrncom_process PUBLIC poll)
