# Unit tests of zrnapp_logic.
add_executable(test_app_logic
    logic/test_button_states.cpp
    logic/test_calendar_time.cpp
    logic/test_catalogue_commands.cpp
    logic/test_catalogue_replies.cpp
    logic/test_command_line.cpp
    logic/test_desktop.cpp
    logic/test_device_schedules.cpp
    logic/test_interval_rules.cpp
    logic/test_network_port.cpp
    logic/test_port_list.cpp
    logic/test_profile.cpp
    logic/test_schedule_panel_logic.cpp
    logic/test_schedule_rules.cpp
    logic/test_sdi_rules.cpp
    logic/test_version_info.cpp)
target_link_libraries(test_app_logic PRIVATE zrnapp_logic zrnsim_core GTest::gtest_main)
gtest_discover_tests(test_app_logic PROPERTIES LABELS unit TIMEOUT 30)
