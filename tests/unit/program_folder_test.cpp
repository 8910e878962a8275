#include "base/program_folder.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/unit/shift_jis.h"

TEST(ProgramFolder, TheLibraryIsNamedInTheProgramsOwnFolderOnly) {
    const struct {
        const char* program;
        int capacity;
        bool found;
        const char* path;
    } cases[] = {
        {"C:\\Program Files\\Morvane\\Morvane.exe", 260, true,
         "C:\\Program Files\\Morvane\\Morvane.dll"},
        {"C:\\Morvane.exe", 260, true, "C:\\Morvane.dll"},
        {"\\\\server\\share\\Morvane.exe", 260, true, "\\\\server\\share\\Morvane.dll"},
        // "\x95\x5C" is one character whose trail byte looks like a backslash.
        {"C:\\\x95\x5C\\Morvane.exe", 260, true, "C:\\\x95\x5C\\Morvane.dll"},
        {"C:\\\x95\x5CMorvane.exe", 260, true, "C:\\Morvane.dll"},
        {"Morvane.exe", 260, false, ""}, // no folder: never the search path
        {"C:\\Tools\\Morvane.exe", 21, true, "C:\\Tools\\Morvane.dll"},
        {"C:\\Tools\\Morvane.exe", 20, false, ""}, // never cut
    };
    for (const auto& c : cases) {
        char path[260];
        std::memset(path, '#', sizeof path);
        EXPECT_EQ(c.found, PathInFolderOf(path, c.capacity, c.program, "Morvane.dll", ShiftJisLead))
            << c.program;
        EXPECT_STREQ(c.path, path) << c.program;
    }
}
