# The simulated camera driver under wine64, used the way the program uses it.
morvane_win_test(camsim_tests
    SOURCES camsim_fixture.cpp device_list.cpp camsim_graph_test.cpp camsim_control_test.cpp
        camsim_pin_test.cpp
    LIBRARIES camsim_client strmiids uuid ole32 oleaut32)
add_dependencies(camsim_tests camsim_dll camsim_tool)
