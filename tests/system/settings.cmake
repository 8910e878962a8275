# The launcher stand-in: a hidden window that records the launcher's messages.
add_executable(launcher_standin WIN32 ${CMAKE_CURRENT_LIST_DIR}/launcher_standin.cpp)
morvane_test_target(launcher_standin)
target_include_directories(launcher_standin PRIVATE ${CMAKE_SOURCE_DIR})

morvane_system_test(settings_system_tests
    ${CMAKE_CURRENT_LIST_DIR}/settings_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/launcher_standin_client.cpp)
add_dependencies(settings_system_tests launcher_standin)
