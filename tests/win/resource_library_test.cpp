// The built resource libraries hold every text, exactly as written.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "res/resource_ids.h"
#include "res/strings_en.h"
#include "res/strings_ja.h"
#include "res/text_list.h"

// This file is compiled with code page 932 as its execution character set:
// the Japanese texts below are the bytes LoadStringA must give on a Japanese
// system (the tests run under the ja_JP locale), converted by the compiler,
// not by the system under test.
namespace {

// A file beside this test program: ctest starts it in another folder.
std::string BesideProgram(const char* name) {
    char path[MAX_PATH];
    std::string program(path, GetModuleFileNameA(nullptr, path, sizeof path));
    return program.substr(0, program.find_last_of('\\') + 1) + name;
}

} // namespace

TEST(ResourceLibrary, BothLibrariesLoadEveryTextAsWritten) {
    ASSERT_EQ(932u, GetACP()) << "the Japanese library is read in code page 932";
    const struct {
        int id;
        const char* english;
        const char* japanese;
    } texts[] = {
#define LIBRARY_TEXT(name) {IDS_##name, TEXT_##name, TEXT_JA_##name},
        MORVANE_LIBRARY_TEXTS(LIBRARY_TEXT)
#undef LIBRARY_TEXT
    };
    for (bool japanese : {false, true}) {
        const char* path = japanese ? "ja\\Morvane.dll" : "Morvane.dll";
        HMODULE library = LoadLibraryA(BesideProgram(path).c_str());
        ASSERT_NE(nullptr, library) << path;
        for (const auto& entry : texts) {
            const char* text = japanese ? entry.japanese : entry.english;
            char buffer[260];
            int length = LoadStringA(library, entry.id, buffer, sizeof buffer);
            EXPECT_STREQ(text, buffer) << path << ", string " << entry.id;
            EXPECT_EQ(static_cast<int>(strlen(text)), length) << path << ", string " << entry.id;
        }
        FreeLibrary(library);
    }
}

TEST(ProgramResources, IconAndBackgroundLoadAtTheirSizes) {
    HMODULE program = GetModuleHandleA(nullptr);
    HICON icon = LoadIconA(program, MAKEINTRESOURCEA(IDI_APP));
    EXPECT_NE(nullptr, icon);
    HBITMAP background = LoadBitmapA(program, MAKEINTRESOURCEA(IDB_BACKGROUND));
    ASSERT_NE(nullptr, background);
    BITMAP size = {};
    GetObjectA(background, sizeof size, &size);
    EXPECT_EQ(349, size.bmWidth);
    EXPECT_EQ(560, size.bmHeight);
    DeleteObject(background);
}
