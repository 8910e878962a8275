# The simulated camera's platform-free parts.
add_executable(camsim_unit_tests
    camsim_deck_test.cpp camsim_vendor_test.cpp camsim_picture_test.cpp camsim_tool_test.cpp)
morvane_test_target(camsim_unit_tests)
target_link_libraries(camsim_unit_tests PRIVATE camsim_core GTest::gtest_main)
gtest_discover_tests(camsim_unit_tests TEST_PREFIX "camsim_unit." DISCOVERY_MODE PRE_TEST)
