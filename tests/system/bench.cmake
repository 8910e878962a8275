# Benchmarks, run by scripts/bench and never by ctest: Morvane.exe next to a
# bare program showing the same preview (tests/bench/CMakeLists.txt).
add_executable(morvane_bench ${CMAKE_SOURCE_DIR}/tests/bench/morvane_bench.cpp
    ${CMAKE_SOURCE_DIR}/tests/bench/host_process.cpp ${CMAKE_SOURCE_DIR}/tests/bench/start_trace.cpp
    ${CMAKE_SOURCE_DIR}/tests/win/device_list.cpp process_census.cpp program_view.cpp
    simulated_camera.cpp sound_meter.cpp)
morvane_test_target(morvane_bench)
target_link_libraries(morvane_bench PRIVATE system_harness camsim_client psapi ole32 strmiids winmm)
add_dependencies(morvane_bench bare_preview morvane morvane_strings camsim_dll camsim_tool)
