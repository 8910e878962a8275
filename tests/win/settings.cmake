morvane_win_test(settings_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/registry_store_test.cpp
    LIBRARIES shlwapi)
