# The wizard's page texts, loaded from a resource library into their fields.
morvane_win_test(wizard_tests SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/library_text_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/library_text_test.rc)
# The main window controller right after its construction, and its window
# registering and giving back the device notification.
morvane_win_test(streaming_wizard_tests SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/streaming_wizard_test.cpp
    LIBRARIES skin_screenshot)
# The same cuts of texts and device names under a double-byte code page:
# Wine takes it from the Japanese locale.
morvane_win_test(double_byte_tests SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/double_byte_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/double_byte_test.rc
    LIBRARIES ole32 oleaut32 ENVIRONMENT LC_ALL=ja_JP.UTF-8)
