# The deck buttons following the simulated camera's deck.
morvane_system_test(transport_system_tests
    ${CMAKE_CURRENT_LIST_DIR}/transport_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/program_view.cpp
    ${CMAKE_CURRENT_LIST_DIR}/simulated_camera.cpp)
target_link_libraries(transport_system_tests PRIVATE camsim_client)
add_dependencies(transport_system_tests camsim_dll camsim_tool)
