// The about box opens from the logo of the main window, owned by it, and
// ends through its OK button.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "res/resource_ids.h"
#include "system_test.h"

namespace {

using AboutBox = SystemTest;

// Clicks a button of the box and waits until the box has gone.
void ClickToClose(HWND box, int buttonId) {
    HWND button = GetDlgItem(box, buttonId);
    PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    WaitUntil([&] { return !IsWindow(box); }, "the about box to close");
}

} // namespace

TEST_F(AboutBox, OpensFromTheLogoAndClosesWithOk) {
    MarkSetupDone();
    Start();

    PostClick(main, 1, 1);
    HWND box = run->WaitForWindow("#32770", "");
    EXPECT_EQ(main, GetWindow(box, GW_OWNER));
    EXPECT_FALSE(IsWindowEnabled(main)) << "modal";
    RECT place;
    GetWindowRect(box, &place);
    EXPECT_EQ(395, place.right - place.left);
    EXPECT_EQ(234, place.bottom - place.top);

    ClickToClose(box, IDC_ABOUT_OK);
    EXPECT_TRUE(IsWindowEnabled(main));
}

namespace {

BOOL CALLBACK TakeLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR found) {
    *reinterpret_cast<WORD*>(found) = language;
    return FALSE;
}

// Spoils a bitmap of a program file, as in a damaged copy: its data is no
// bitmap any more, so it cannot be loaded.
bool SpoilBitmap(const std::string& program, int bitmapId) {
    HMODULE image = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!image) {
        return false;
    }
    WORD language = 0xFFFF;
    EnumResourceLanguagesA(image, MAKEINTRESOURCEA(2), MAKEINTRESOURCEA(bitmapId), TakeLanguage,
                           reinterpret_cast<LONG_PTR>(&language));
    FreeLibrary(image);
    char junk[4] = {0, 0, 0, 0};
    HANDLE update = BeginUpdateResourceA(program.c_str(), FALSE);
    if (language == 0xFFFF || !update ||
        !UpdateResourceA(update, MAKEINTRESOURCEA(2), MAKEINTRESOURCEA(bitmapId), language, junk,
                         sizeof junk) ||
        !EndUpdateResourceA(update, FALSE)) {
        return false;
    }
    image = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HBITMAP bitmap = image ? LoadBitmapA(image, MAKEINTRESOURCEA(bitmapId)) : nullptr;
    bool spoilt = image && !bitmap;
    DeleteObject(bitmap);
    FreeLibrary(image);
    return spoilt;
}

} // namespace

TEST_F(AboutBox, WithoutItsBitmapStillHoldsItsButtonsAndCloses) {
    MarkSetupDone();
    std::string folder = MakeScratchFolder("nobitmap");
    for (const char* file : {"Morvane.exe", "Morvane.dll"}) {
        ASSERT_TRUE(
            CopyFileA((BinFolder() + "\\" + file).c_str(), (folder + "\\" + file).c_str(), FALSE));
    }
    ASSERT_TRUE(SpoilBitmap(folder + "\\Morvane.exe", IDB_ABOUT_BACKGROUND));
    Launch(kPluggedIn, "", folder);
    WaitForSetUp();

    PostClick(main, 1, 1);
    HWND box = run->WaitForWindow("#32770", "");
    RECT place;
    GetWindowRect(box, &place);
    for (int id : {IDC_ABOUT_OK, IDC_CLOSE}) {
        RECT button;
        GetWindowRect(GetDlgItem(box, id), &button);
        RECT common;
        EXPECT_TRUE(IntersectRect(&common, &button, &place) && EqualRect(&common, &button))
            << "button " << id << " lies inside the box";
    }

    ClickToClose(box, IDC_CLOSE);
    EXPECT_TRUE(IsWindowEnabled(main));
}
