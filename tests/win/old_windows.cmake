# The release's own runtime, tried under wine64 in a probe program linked the
# same way (no C runtime), and the run-time resolved mouse tracking.
add_executable(runtime_probe WIN32 ${CMAKE_SOURCE_DIR}/base/freestanding.cpp
    ${CMAKE_SOURCE_DIR}/base/freestanding_memory.cpp runtime_probe.cpp)
morvane_product(runtime_probe)
target_compile_options(runtime_probe PRIVATE -fno-threadsafe-statics -fcheck-new
    -fno-tree-loop-distribute-patterns)
target_include_directories(runtime_probe PRIVATE ${CMAKE_SOURCE_DIR})
morvane_freestanding(runtime_probe ProgramEntry)
target_link_libraries(runtime_probe PRIVATE user32 kernel32)

morvane_win_test(old_windows_tests
    SOURCES freestanding_runtime_test.cpp track_mouse_test.cpp LIBRARIES comctl32)
add_dependencies(old_windows_tests runtime_probe)
