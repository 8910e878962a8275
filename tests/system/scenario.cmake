# The three roads of a user and the end of a run, and the random-fault soak.
morvane_system_test(scenario_tests scenario_test.cpp)

# The long soak: two hundred random events (the default run makes twelve).
add_test(NAME scenario_soak COMMAND scenario_tests
    --gtest_filter=Scenario.RandomFaultsAndUnplugsNeverLoseTheWindowOrASetting)
set_tests_properties(scenario_soak PROPERTIES ENVIRONMENT MORVANE_SOAK_EVENTS=200
    LABELS "system;soak" RUN_SERIAL TRUE TIMEOUT 1200)
