morvane_win_test(skin_tests SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/skin_harness.cpp
    ${CMAKE_CURRENT_LIST_DIR}/skin_button_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/skin_slider_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/font_spec_test.cpp
    LIBRARIES skin_screenshot)
