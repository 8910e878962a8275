# Every control within reach on any screen, with the mouse and the keyboard.
morvane_system_test(reach_system_tests LABELS screens
    ${CMAKE_CURRENT_LIST_DIR}/reach_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/program_view.cpp
    ${CMAKE_CURRENT_LIST_DIR}/simulated_camera.cpp
    ${CMAKE_CURRENT_LIST_DIR}/soak.cpp)
target_link_libraries(reach_system_tests PRIVATE camsim_client psapi oleacc ole32 oleaut32)
add_dependencies(reach_system_tests camsim_dll camsim_tool)
