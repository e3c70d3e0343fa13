# Port selection, polling and the clock panel.
add_executable(test_poll_unit poll/test_port_scan.cpp)
target_link_libraries(test_poll_unit PRIVATE zrnapp_logic GTest::gtest_main)
gtest_discover_tests(test_poll_unit PROPERTIES LABELS unit TIMEOUT 30)

# The connect dialog and the main dialog's ticks and clock panel, with the link
# replaced by a recorder and the PC clock set by hand.
add_executable(test_poll_dialog
    dialog/QtMain.cpp
    poll/test_open_zrn.cpp
    poll/test_polling.cpp
    poll/test_clock_panel.cpp
    poll/test_port_hint.cpp)
target_include_directories(test_poll_dialog PRIVATE poll dialog)
target_link_libraries(test_poll_dialog PRIVATE zrnapp_qt Qt6::Test GTest::gtest)
gtest_discover_tests(test_poll_dialog
    PROPERTIES LABELS dialog TIMEOUT 60 ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_STATE_HOME=${ZRN_TEST_STATE_HOME}")

# ZRNcom as a child process, for the end-to-end tests and the benchmarks.
add_library(zrncom_process STATIC poll/ZrnComProcess.cpp)
target_include_directories(zrncom_process PUBLIC poll)

# The program and the simulator as processes. The traffic log is named by the
# second it was opened in, beside the program: no two tests may start one in
# the same second.
add_executable(test_poll_e2e poll/test_e2e_scan.cpp)
target_link_libraries(test_poll_e2e PRIVATE zrncom_process zrnsim_harness GTest::gtest_main)
target_compile_definitions(test_poll_e2e PRIVATE
    ZRNCOM_PROGRAM="$<TARGET_FILE:ZRNcom>" ZRNSIM_PROGRAM="$<TARGET_FILE:zrnsim>")
add_dependencies(test_poll_e2e ZRNcom zrnsim)
gtest_discover_tests(test_poll_e2e
    PROPERTIES LABELS e2e TIMEOUT 60 RESOURCE_LOCK zrn_log_dir)

# Synchronising the clock through the real library against a simulator in the
# same process (one link per process: each test runs alone under CTest).
add_executable(test_poll_sync dialog/QtMain.cpp poll/test_e2e_sync.cpp)
target_include_directories(test_poll_sync PRIVATE poll)
target_link_libraries(test_poll_sync PRIVATE zrnapp_qt zrnsim_core Qt6::Test GTest::gtest)
gtest_discover_tests(test_poll_sync
    PROPERTIES LABELS e2e TIMEOUT 60 ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_STATE_HOME=${ZRN_TEST_STATE_HOME}")

# As a user without rights to a port and to the program's folder (run as root,
# which can act as that user).
add_executable(test_desktop_e2e poll/test_e2e_desktop.cpp)
target_link_libraries(test_desktop_e2e PRIVATE zrncom_process zrnsim_harness GTest::gtest_main)
target_compile_definitions(test_desktop_e2e PRIVATE
    ZRNCOM_PROGRAM="$<TARGET_FILE:ZRNcom>" ZRNSIM_PROGRAM="$<TARGET_FILE:zrnsim>")
add_dependencies(test_desktop_e2e ZRNcom zrnsim)
gtest_discover_tests(test_desktop_e2e PROPERTIES LABELS e2e TIMEOUT 60)

# The main dialog through the real link library against zrnsim as a process
# (poll/SimDialogTest.h).
function(add_sim_dialog_test name source timeout)
    add_executable(${name} dialog/QtMain.cpp ${source})
    target_include_directories(${name} PRIVATE poll dialog)
    target_link_libraries(${name} PRIVATE zrnapp_qt zrnsim_harness Qt6::Test GTest::gtest)
    target_compile_definitions(${name} PRIVATE ZRNSIM_PROGRAM="$<TARGET_FILE:zrnsim>")
    add_dependencies(${name} zrnsim)
    gtest_discover_tests(${name}
        PROPERTIES LABELS e2e TIMEOUT ${timeout} ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_STATE_HOME=${ZRN_TEST_STATE_HOME}")
endfunction()

# The SDI row and the identification dialog; a fresh link reads the device
# back afterwards.
add_sim_dialog_test(test_poll_sdi_e2e poll/test_e2e_sdi.cpp 60)
target_link_libraries(test_poll_sdi_e2e PRIVATE zrnsim_linkprobe)

# The schedule panel.
add_sim_dialog_test(test_schedule_e2e poll/test_e2e_schedules.cpp 60)

# The window menu's plan files, and zrnctl's export of the same device.
add_sim_dialog_test(test_plan_files_e2e poll/test_e2e_plan_files.cpp 90)
target_compile_definitions(test_plan_files_e2e PRIVATE ZRNCTL_PROGRAM="$<TARGET_FILE:zrnctl>")
add_dependencies(test_plan_files_e2e zrnctl)
