# The randomized operator: the real dialog and library against zrnsim with line
# faults, RapidCheck choosing the steps from a fixed seed (RC_PARAMS overrides
# it); bench/operator_soak runs the same steps far longer.
find_package(rapidcheck REQUIRED)
add_library(zrn_operator STATIC operator/OperatorRig.cpp)
target_include_directories(zrn_operator PUBLIC operator poll dialog)
target_link_libraries(zrn_operator PUBLIC zrnapp_qt zrnsim_harness Qt6::Test rapidcheck)
target_compile_definitions(zrn_operator PRIVATE ZRNSIM_PROGRAM="$<TARGET_FILE:zrnsim>")
add_dependencies(zrn_operator zrnsim)

add_executable(test_operator dialog/QtMain.cpp operator/test_operator.cpp)
target_link_libraries(test_operator PRIVATE zrn_operator rapidcheck_gtest GTest::gtest)
gtest_discover_tests(test_operator
    PROPERTIES LABELS e2e TIMEOUT 240
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_STATE_HOME=${ZRN_TEST_STATE_HOME}")

add_executable(test_operator_gateway dialog/QtMain.cpp operator/test_operator_gateway.cpp)
target_link_libraries(test_operator_gateway PRIVATE zrn_operator rapidcheck_gtest GTest::gtest)
gtest_discover_tests(test_operator_gateway
    PROPERTIES LABELS e2e TIMEOUT 240
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_STATE_HOME=${ZRN_TEST_STATE_HOME}")
