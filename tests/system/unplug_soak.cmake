# The simulated camera unplugged and plugged again at random moments of the
# program's work: a short run in the default run; the long one, a thousand
# cycles, under the soak label.
morvane_system_test(unplug_soak_tests unplug_soak_test.cpp process_census.cpp sound_meter.cpp
    ${CMAKE_SOURCE_DIR}/tests/win/device_list.cpp)
target_link_libraries(unplug_soak_tests PRIVATE ole32 oleaut32 strmiids winmm)
add_test(NAME unplug_soak COMMAND unplug_soak_tests)
set_tests_properties(unplug_soak PROPERTIES ENVIRONMENT MORVANE_SOAK_CYCLES=1000
    LABELS "system;soak" RUN_SERIAL TRUE TIMEOUT 14400)
