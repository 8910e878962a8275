# The about box on its real template, bitmaps and string library.
morvane_win_test(about_box_tests SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/about_box_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/skin_harness.cpp
    LIBRARIES skin_screenshot)
