# The preview's sound recorded from the sound server the tier starts.
morvane_system_test(sound_system_tests ${CMAKE_CURRENT_LIST_DIR}/sound_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sound_meter.cpp)
target_link_libraries(sound_system_tests PRIVATE winmm)

# The sound server dies while the preview plays (a server of its own).
add_test(NAME sound_loss COMMAND ${CMAKE_CURRENT_LIST_DIR}/sound_loss_test.sh
    ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
set_tests_properties(sound_loss PROPERTIES LABELS sound RUN_SERIAL TRUE TIMEOUT 120)
