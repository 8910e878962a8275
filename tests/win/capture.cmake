# The preview graph, the device catalogue and the camera link on real COM and
# DirectShow.
morvane_win_test(capture_tests SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/camera_link_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/device_catalogue_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/capture_graph_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/capture_probes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/resource_watch.cpp
    LIBRARIES ole32 oleaut32 strmiids uuid shlwapi psapi)
