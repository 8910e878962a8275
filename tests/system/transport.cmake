# The deck buttons following the simulated camera's deck.
morvane_system_test(transport_system_tests ${CMAKE_CURRENT_LIST_DIR}/transport_test.cpp)
