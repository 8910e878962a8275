# The wizard's pages and settings controls with the simulated camera and the
# launcher stand-in.
morvane_system_test(wizard_system_tests ${CMAKE_CURRENT_LIST_DIR}/wizard_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/launcher_standin_client.cpp
    ${CMAKE_SOURCE_DIR}/tests/win/device_list.cpp)
target_link_libraries(wizard_system_tests PRIVATE ole32 oleaut32 strmiids)
add_dependencies(wizard_system_tests launcher_standin)

# Each page's texts and Next label, read back from the screen.
morvane_system_test(page_text_system_tests LABELS screens
    ${CMAKE_CURRENT_LIST_DIR}/page_text_test.cpp)
target_link_libraries(page_text_system_tests PRIVATE morvane_shell)
