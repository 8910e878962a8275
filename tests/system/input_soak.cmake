# The randomized input soak: real pointer and key input mixed with the
# simulated camera's events. About two minutes in the default run; the long
# one runs under the soak label.
add_executable(input_soak_tests input_soak_test.cpp)
morvane_test_target(input_soak_tests)
target_link_libraries(input_soak_tests PRIVATE system_fixture gtest_main)
add_dependencies(input_soak_tests morvane morvane_strings camsim_dll camsim_tool)
add_test(NAME input_soak_tests.InputSoak COMMAND input_soak_tests)
set_tests_properties(input_soak_tests.InputSoak PROPERTIES LABELS system RUN_SERIAL TRUE
    TIMEOUT 300)
add_test(NAME input_soak COMMAND input_soak_tests)
set_tests_properties(input_soak PROPERTIES ENVIRONMENT MORVANE_SOAK_BURSTS=150
    LABELS "system;soak" RUN_SERIAL TRUE TIMEOUT 2400)
