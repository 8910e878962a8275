// Morvane.exe as a black box: its window, read back from the screen, shows
// every skinned control at its place and size.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "screenshot.h"
#include "res/resource_ids.h"
#include "system_test.h"

namespace {

struct ExpectedControl {
    int id;
    int x, y, width, height;
    std::vector<int> faces; // any of them may show, as the owner sets the flags
};

// What the screen shows of the window short of it painted, "" once painted:
// the part still unpainted, the window over its corner and the pointer.
std::string Unpainted(HWND main) {
    std::string part;
    POINT corner = {0, 0};
    if (CaptureFromScreen(main).BitmapIdAt(348, 559) != IDB_BACKGROUND) {
        RECT window; // the screenshot's point is the window's, not its client area's
        GetWindowRect(main, &window);
        part = "the background";
        corner = {window.left + 348, window.top + 559};
    }
    for (HWND c = GetWindow(main, GW_CHILD); part.empty() && c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (ClassOf(c) == "Button" && IsShown(c) && ShownSkinFace(c) < 0) {
            RECT r;
            GetWindowRect(c, &r);
            part = "button " + std::to_string(GetDlgCtrlID(c));
            corner = {r.right - 1, r.bottom - 1};
        }
    }
    if (part.empty()) {
        return part;
    }
    POINT cursor = {};
    GetCursorPos(&cursor);
    return part + ", its corner under a window of class " + ClassOf(WindowFromPoint(corner)) +
           ", the pointer at " + std::to_string(cursor.x) + "," + std::to_string(cursor.y);
}

// A new run of the program, once the screen shows its window painted (its
// background, and a skin face on every button shown).
class MainWindowSkin : public SystemTest {
  protected:
    void SetUp() override {
        SystemTest::SetUp();
        MarkSetupDone();
        // The pointer rests off the window: on a button it would show a tip.
        MovePointerAtXServer({0, 0});
        Start();
        std::string unpainted;
        if (!HoldsWithin([&] { return (unpainted = Unpainted(main)).empty(); },
                         kProgramBoundMs)) {
            CaptureFromScreen(main).SaveBitmap(ProgramFolder() + "\\main_window_unpainted.bmp");
            throw WaitRanOut("the window painted (still unpainted: " + unpainted + ")",
                             Bound(kProgramBoundMs));
        }
    }
};

} // namespace

TEST_F(MainWindowSkin, EveryControlIsDrawnAtItsPlaceAndSize) {

    const ExpectedControl controls[] = {
        {IDC_MINIMIZE, 290, 5, 28, 26, {159, 158, 160, 157}},
        {IDC_CLOSE, 316, 5, 28, 26, {155, 154, 156, 153}},
        {IDC_STOP, 14, 325, 29, 29, {116, 133, 111, 148}},
        {IDC_PLAY, 47, 325, 29, 29, {114, 131, 119, 141}},
        {IDC_PAUSE, 80, 325, 29, 29, {113, 130, 118, 140}},
        {IDC_REWIND, 126, 325, 29, 29, {115, 132, 120, 142}},
        {IDC_FORWARD, 159, 325, 29, 29, {112, 129, 117, 139}},
        {IDC_MUTE, 205, 325, 29, 29, {146, 145, 147, 144}},
        {IDC_VOLUME, 246, 325, 84, 26, {124}},
        {IDC_QUALITY, 22, 383, 187, 29, {126}},
        {IDC_BRIGHTNESS, 22, 383, 187, 29, {126}},
        {IDC_QUALITY_RESET, 216, 383, 116, 29, {151, 150, 152, 161}},
        {IDC_BRIGHTNESS_RESET, 216, 383, 116, 29, {151, 150, 152, 161}},
        {IDC_PREV, 72, 516, 84, 29, {122, 123, 128}},
        {IDC_NEXT, 163, 516, 84, 29, {122, 123, 128}},
        {IDC_CANCEL, 254, 516, 84, 29, {122, 123, 128}},
    };
    Screenshot shot = CaptureFromScreen(main);
    EXPECT_TRUE(shot.SaveBitmap(ProgramFolder() + "\\main_window_skin.bmp"));
    EXPECT_EQ(121, shot.BitmapIdAt(348, 559)); // the background fills the window

    for (const ExpectedControl& c : controls) {
        SCOPED_TRACE(c.id);
        HWND control = GetDlgItem(main, c.id);
        ASSERT_NE(nullptr, control);
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(NULL, main, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(c.x, r.left);
        EXPECT_EQ(c.y, r.top);
        EXPECT_EQ(c.width, r.right - r.left);
        EXPECT_EQ(c.height, r.bottom - r.top);
        if (IsWindowVisible(control)) {
            int face = shot.BitmapIdAt(r.right - 1, r.bottom - 1);
            EXPECT_NE(c.faces.end(), std::find(c.faces.begin(), c.faces.end(), face))
                << "face " << face;
        }
    }
    HWND combo = GetDlgItem(main, IDC_AUDIO_DEVICE);
    RECT r;
    GetWindowRect(combo, &r);
    MapWindowPoints(NULL, main, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(22, r.left);
    EXPECT_EQ(385, r.top);
    EXPECT_EQ(300, r.right - r.left);
}

// The faces cut from the background blend into it: their corners outside the
// rounded edge show the window's background as drawn, with no dot on them.
TEST_F(MainWindowSkin, FacesCutFromTheBackgroundShowItAtTheirCorners) {
    HMODULE art =
        LoadLibraryExA((BinFolder() + "\\Morvane.exe").c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, art);
    HBITMAP background = static_cast<HBITMAP>(
        LoadImageA(art, MAKEINTRESOURCEA(IDB_BACKGROUND), IMAGE_BITMAP, 0, 0, 0));
    ASSERT_NE(nullptr, background);
    HDC memory = CreateCompatibleDC(NULL);
    HGDIOBJ previous = SelectObject(memory, background);
    Screenshot shot = CaptureFromScreen(main);
    for (int id : {IDC_STOP, IDC_PLAY, IDC_PAUSE, IDC_REWIND, IDC_FORWARD, IDC_MUTE, IDC_VOLUME,
                   IDC_NEXT, IDC_CANCEL}) {
        SCOPED_TRACE(id);
        RECT r;
        GetWindowRect(GetDlgItem(main, id), &r);
        MapWindowPoints(NULL, main, reinterpret_cast<POINT*>(&r), 2);
        COLORREF drawn = GetPixel(memory, r.right - 1, r.bottom - 1);
        DWORD expected = (GetRValue(drawn) << 16) | (GetGValue(drawn) << 8) | GetBValue(drawn);
        EXPECT_EQ(expected, shot.At(r.right - 1, r.bottom - 1));
    }
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(background);
    FreeLibrary(art);
}
