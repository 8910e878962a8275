# Benchmarks, run by scripts/bench and never by ctest: Morvane.exe next to a
# bare program showing the same preview.
add_executable(bare_preview WIN32 ${CMAKE_SOURCE_DIR}/tests/bench/bare_preview.cpp
    ${CMAKE_SOURCE_DIR}/tests/win/camsim_fixture.cpp)
morvane_test_target(bare_preview)
target_include_directories(bare_preview PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(bare_preview PRIVATE camsim_client gtest ole32 oleaut32 strmiids uuid)

add_executable(morvane_bench ${CMAKE_SOURCE_DIR}/tests/bench/morvane_bench.cpp
    ${CMAKE_SOURCE_DIR}/tests/bench/host_process.cpp ${CMAKE_SOURCE_DIR}/tests/bench/start_trace.cpp
    program_view.cpp simulated_camera.cpp)
morvane_test_target(morvane_bench)
target_link_libraries(morvane_bench PRIVATE system_harness camsim_client psapi ole32 strmiids)
add_dependencies(morvane_bench bare_preview morvane morvane_strings camsim_dll camsim_tool)
