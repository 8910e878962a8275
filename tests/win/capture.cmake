# The preview graph, the device catalogue and the camera link on real COM and
# DirectShow, with probe filters and the simulated camera.
morvane_win_test(capture_tests SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/camera_link_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/device_catalogue_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/capture_graph_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/capture_camsim_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/capture_probes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/resource_watch.cpp
    ${CMAKE_CURRENT_LIST_DIR}/camsim_fixture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/device_list.cpp
    LIBRARIES camsim_client ole32 oleaut32 strmiids uuid shlwapi psapi)
add_dependencies(capture_tests camsim_dll camsim_tool)

# Benchmark: a preview rebuild next to a bare graph of the same devices. Run by
# hand (wine-run bin/capture_bench.exe); not a ctest test, so that the test
# runs never wait for it or fail on a busy machine's timings.
add_executable(capture_bench
    ${CMAKE_CURRENT_LIST_DIR}/capture_bench.cpp
    ${CMAKE_CURRENT_LIST_DIR}/resource_watch.cpp
    ${CMAKE_CURRENT_LIST_DIR}/camsim_fixture.cpp ${CMAKE_CURRENT_LIST_DIR}/device_list.cpp)
morvane_test_target(capture_bench)
target_link_libraries(capture_bench PRIVATE morvane_shell camsim_client ole32 oleaut32 strmiids
    uuid psapi gtest_main)
add_dependencies(capture_bench camsim_dll camsim_tool)
