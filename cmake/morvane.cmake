# Shared compile settings of the three builds.

set(MORVANE_WARNINGS -Wall -Wextra -Werror)

# Product code: no exceptions, no RTTI, ANSI Win32 only.
function(morvane_product target)
    target_compile_options(${target} PRIVATE ${MORVANE_WARNINGS} -fno-exceptions -fno-rtti)
    morvane_platform(${target})
endfunction()

# Tests may use the whole C++ library but keep the warnings.
function(morvane_test_target target)
    target_compile_options(${target} PRIVATE ${MORVANE_WARNINGS})
    morvane_platform(${target})
endfunction()

function(morvane_platform target)
    if(WIN32)
        # dshow.h pulls in strsafe.h, which breaks lstrcpyA and wsprintfA.
        target_compile_definitions(${target} PRIVATE NO_DSHOW_STRSAFE NOMINMAX
            WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0500)
        target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
        if(MORVANE_TARGET STREQUAL "win32")
            target_compile_options(${target} PRIVATE -march=i586)
        endif()
    elseif(MORVANE_SANITIZE)
        target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer)
        target_link_options(${target} PRIVATE -fsanitize=address,undefined)
    endif()
endfunction()

# A GUI program of the Windows builds.
function(morvane_gui_program target)
    morvane_product(${target})
    target_link_options(${target} PRIVATE -mwindows)
endfunction()

# morvane_win_test(NAME SOURCES files... [LIBRARIES libs...] [DEPENDS targets...]
#                  [PREFIX prefix]): a test executable run under wine64, with the
# program's resources (dialogs, skin) linked in and the string library built.
function(morvane_win_test name)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "" "PREFIX" "SOURCES;LIBRARIES;DEPENDS")
    if(NOT ARG_PREFIX)
        set(ARG_PREFIX "win.")
    endif()
    add_executable(${name} ${ARG_SOURCES} $<TARGET_OBJECTS:morvane_resources>)
    morvane_test_target(${name})
    target_link_libraries(${name} PRIVATE morvane_shell gtest_main ${ARG_LIBRARIES})
    add_dependencies(${name} morvane_strings ${ARG_DEPENDS})
    gtest_discover_tests(${name} TEST_PREFIX "${ARG_PREFIX}" DISCOVERY_MODE PRE_TEST
        PROPERTIES LABELS win)
endfunction()
