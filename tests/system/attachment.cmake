# Following the simulated camera as it is plugged in and out.
morvane_system_test(attachment_tests attachment_test.cpp ${CMAKE_SOURCE_DIR}/tests/win/device_list.cpp)
target_link_libraries(attachment_tests PRIVATE ole32 oleaut32 strmiids)

# The long soak: a hundred unplug and plug cycles (the default run makes six).
add_test(NAME attachment_soak COMMAND attachment_tests
    --gtest_filter=Attachment.UnplugAndPlugCyclesEndAttachedWithoutGrowingMemory)
set_tests_properties(attachment_soak PROPERTIES ENVIRONMENT MORVANE_SOAK_CYCLES=100
    LABELS "system;soak" RUN_SERIAL TRUE TIMEOUT 900)

# Benchmark, from a camera's arrival to the first frame of its new preview: run
# by hand (MORVANE_BENCH=1 wine-run bin/attachment_tests.exe
# --gtest_filter=*Bench*); the test runs skip it.
