# The wizard's page texts, loaded from a resource library into their fields.
morvane_win_test(wizard_tests SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/library_text_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/library_text_test.rc)
