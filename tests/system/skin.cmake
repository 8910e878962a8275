morvane_win_test(skin_system_tests PREFIX "system." DEPENDS morvane SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/main_window_skin_test.cpp)
