# Offscreen dialog and end-to-end tests of the program.
find_package(Qt6 REQUIRED COMPONENTS Test)

add_executable(test_dialog
    dialog/QtMain.cpp
    dialog/test_platform.cpp
    dialog/test_main_dialog.cpp
    dialog/test_link_dispatch.cpp
    dialog/test_button_rule.cpp
    dialog/test_event_table.cpp
    dialog/test_about.cpp
    dialog/test_accessible.cpp
    dialog/test_schedule_panel.cpp
    dialog/test_sdi_settings.cpp)
target_link_libraries(test_dialog PRIVATE zrnapp_qt Qt6::Test GTest::gtest)
gtest_discover_tests(test_dialog
    PROPERTIES LABELS dialog TIMEOUT 60 ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_STATE_HOME=${ZRN_TEST_STATE_HOME}")

# Interval presets, custom timing and the schedule details dialog.
add_executable(test_dialog_presets dialog/QtMain.cpp dialog/test_interval_presets.cpp)
target_link_libraries(test_dialog_presets PRIVATE zrnapp_qt Qt6::Test GTest::gtest)
gtest_discover_tests(test_dialog_presets
    PROPERTIES LABELS dialog TIMEOUT 60 ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_STATE_HOME=${ZRN_TEST_STATE_HOME}")

# The real link library on pseudo-terminals, with the real dialog.
add_executable(test_dialog_pty dialog/QtMain.cpp dialog/test_link_pty.cpp)
target_link_libraries(test_dialog_pty PRIVATE zrnapp_qt zrnlink_core Qt6::Test GTest::gtest util)
gtest_discover_tests(test_dialog_pty
    PROPERTIES LABELS pty TIMEOUT 60 ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_STATE_HOME=${ZRN_TEST_STATE_HOME}")

# The program as a process.
add_executable(test_program dialog/test_program.cpp)
target_link_libraries(test_program PRIVATE Qt6::Core GTest::gtest_main)
target_compile_definitions(test_program PRIVATE ZRNCOM_PROGRAM="$<TARGET_FILE:ZRNcom>")
add_dependencies(test_program ZRNcom)
gtest_discover_tests(test_program PROPERTIES LABELS e2e TIMEOUT 60)

# The registered message from another process, on a private session bus.
add_executable(test_dialog_bus dialog/QtMain.cpp dialog/test_message_bus.cpp)
target_link_libraries(test_dialog_bus PRIVATE zrnapp_qt Qt6::Test GTest::gtest)
add_test(NAME DialogTest.RegisteredMessageOverTheSessionBus
         COMMAND dbus-run-session -- $<TARGET_FILE:test_dialog_bus>)
set_tests_properties(DialogTest.RegisteredMessageOverTheSessionBus PROPERTIES
    LABELS dialog TIMEOUT 60 ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_STATE_HOME=${ZRN_TEST_STATE_HOME}")

# The main dialog through the platform layer's neutral calls only: the same
# source runs on the Win32 backend under wine (tests/app/win32).
add_executable(test_dialog_both dialog/QtMain.cpp shared/test_both_backends.cpp)
target_link_libraries(test_dialog_both PRIVATE zrnapp_qt Qt6::Test GTest::gtest)
gtest_discover_tests(test_dialog_both
    PROPERTIES LABELS dialog TIMEOUT 60 ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_STATE_HOME=${ZRN_TEST_STATE_HOME}")
