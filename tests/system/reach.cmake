# Every control within reach on any screen, with the mouse and the keyboard.
morvane_system_test(reach_system_tests LABELS screens ${CMAKE_CURRENT_LIST_DIR}/reach_test.cpp)
target_link_libraries(reach_system_tests PRIVATE oleacc ole32 oleaut32)
