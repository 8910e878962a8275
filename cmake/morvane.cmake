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
            # The release runs on a Pentium, Pentium MMX or K6: no cmov, fcomi
            # or SSE. It links no C runtime, so loops stay loops instead of
            # becoming calls to strlen or memset. Function-local statics need
            # no lock (one thread), and a failed new yields null for the
            # caller to check.
            target_compile_options(${target} PRIVATE
                "$<$<COMPILE_LANGUAGE:C,CXX>:-march=i586;-fno-asynchronous-unwind-tables;-fno-tree-loop-distribute-patterns>"
                "$<$<COMPILE_LANGUAGE:CXX>:-fno-threadsafe-statics;-fcheck-new>")
        endif()
    elseif(MORVANE_SANITIZE)
        target_compile_options(${target} PRIVATE -fsanitize=address,undefined
            -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
        target_link_options(${target} PRIVATE -fsanitize=address,undefined)
    endif()
endfunction()

# morvane_freestanding(TARGET ENTRY): links no C or C++ runtime, only the
# import libraries of the system DLLs; ENTRY is the linker's name of the
# module's own entry point. An object that still needs msvcrt or libstdc++
# fails the link with an undefined reference. The release's headers ask for
# Windows 4.0 (95 and NT 4), a GUI module, and it ships without symbols.
function(morvane_freestanding target entry)
    target_link_options(${target} PRIVATE -nostdlib -nostartfiles -Wl,--entry,${entry})
    if(MORVANE_TARGET STREQUAL "win32")
        target_link_options(${target} PRIVATE
            -s -Wl,--subsystem,windows:4.0,--major-os-version,4,--minor-os-version,0)
    endif()
endfunction()

# A GUI program of the Windows builds.
function(morvane_gui_program target)
    morvane_product(${target})
    target_link_options(${target} PRIVATE -mwindows)
endfunction()

# morvane_win_test(NAME SOURCES... [LIBRARIES libs...] [LABEL label]
# [ENVIRONMENT VAR=value]): a GoogleTest program of the win64 build, run
# under wine64 by ctest (with one more environment variable if given), with
# the program's resources linked in so that dialogs and bitmaps load as they
# do in Morvane.exe.
function(morvane_win_test name)
    cmake_parse_arguments(arg "" "LABEL;ENVIRONMENT" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${arg_SOURCES} $<TARGET_OBJECTS:morvane_resources>)
    morvane_test_target(${name})
    target_link_libraries(${name} PRIVATE morvane_shell ${arg_LIBRARIES} gtest_main)
    add_dependencies(${name} morvane_strings morvane_strings_ja)
    # One label per test: gtest_discover_tests cannot pass a list of them.
    if(NOT arg_LABEL)
        set(arg_LABEL win)
    endif()
    set(environment)
    if(arg_ENVIRONMENT)
        set(environment ENVIRONMENT ${arg_ENVIRONMENT})
    endif()
    gtest_discover_tests(${name} TEST_PREFIX "${name}." DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60 PROPERTIES LABELS ${arg_LABEL} ${environment})
endfunction()
