// The built resource library holds every text, exactly as written.
#include <windows.h>

#include <gtest/gtest.h>

#include "res/resource_ids.h"
#include "res/strings_en.h"

TEST(ResourceLibrary, LoadsEveryTextAsWritten) {
    HMODULE library = LoadLibraryA("Morvane.dll");
    ASSERT_NE(nullptr, library);
    const struct {
        int id;
        const char* text;
    } texts[] = {
        {IDS_PAGE1_HEADING, TEXT_PAGE1_HEADING}, {IDS_PAGE2_HEADING, TEXT_PAGE2_HEADING},
        {IDS_PAGE3_HEADING, TEXT_PAGE3_HEADING}, {IDS_PAGE4_HEADING, TEXT_PAGE4_HEADING},
        {IDS_PAGE1_BODY, TEXT_PAGE1_BODY},       {IDS_PAGE2_BODY, TEXT_PAGE2_BODY},
        {IDS_PAGE3_BODY, TEXT_PAGE3_BODY},       {IDS_PAGE4_BODY, TEXT_PAGE4_BODY},
        {IDS_PAGE1_CAPTION, TEXT_PAGE1_CAPTION}, {IDS_PAGE2_CAPTION, TEXT_PAGE2_CAPTION},
        {IDS_PAGE3_CAPTION, TEXT_PAGE3_CAPTION}, {IDS_NEXT, TEXT_NEXT},
        {IDS_PREV, TEXT_PREV},                   {IDS_FINISH, TEXT_FINISH},
        {IDS_CANCEL, TEXT_CANCEL},               {IDS_RESET, TEXT_RESET},
        {IDS_PAGE0_HEADING, TEXT_PAGE0_HEADING}, {IDS_PAGE0_BODY, TEXT_PAGE0_BODY},
        {IDS_PAGE1_NOTE, TEXT_PAGE1_NOTE},       {IDS_PAGE2_NOTE, TEXT_PAGE2_NOTE},
        {IDS_PAGE3_NOTE, TEXT_PAGE3_NOTE},       {IDS_ABOUT_OK, TEXT_ABOUT_OK},
        {IDS_ABOUT_TITLE, TEXT_ABOUT_TITLE},
        {IDS_NAME_PLAY, TEXT_NAME_PLAY},
        {IDS_NAME_PAUSE, TEXT_NAME_PAUSE},
        {IDS_NAME_STOP, TEXT_NAME_STOP},
        {IDS_NAME_FORWARD, TEXT_NAME_FORWARD},
        {IDS_NAME_REWIND, TEXT_NAME_REWIND},
        {IDS_NAME_MUTE, TEXT_NAME_MUTE},
        {IDS_NAME_VOLUME, TEXT_NAME_VOLUME},
        {IDS_NAME_QUALITY, TEXT_NAME_QUALITY},
        {IDS_NAME_BRIGHTNESS, TEXT_NAME_BRIGHTNESS},
        {IDS_NAME_CLOSE, TEXT_NAME_CLOSE},
        {IDS_NAME_MINIMIZE, TEXT_NAME_MINIMIZE},
    };
    for (const auto& entry : texts) {
        char buffer[260];
        int length = LoadStringA(library, entry.id, buffer, sizeof buffer);
        EXPECT_STREQ(entry.text, buffer) << "string " << entry.id;
        EXPECT_EQ(static_cast<int>(strlen(entry.text)), length);
    }
    FreeLibrary(library);
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
