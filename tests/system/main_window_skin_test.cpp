// Morvane.exe as a black box: its window, read back from the screen, shows
// every skinned control at its place and size.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "harness.h"
#include "res/resource_ids.h"

namespace {

// A screenshot of a window, rows top first, as 0x00RRGGBB.
struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;

    DWORD At(int x, int y) const { return pixels[y * width + x]; }

    // The skin bitmap whose bottom-right pixel lies at (x, y), or -1.
    int BitmapIdAt(int x, int y) const {
        DWORD colour = At(x, y);
        int red = (colour >> 16) & 0xFF;
        if ((colour & 0xFF) != 0xC3 || red < 0x21) {
            return -1;
        }
        return ((red - 0x21) << 8) | ((colour >> 8) & 0xFF);
    }

    void SaveBitmap(const std::string& path) const {
        BITMAPINFOHEADER info = {};
        info.biSize = sizeof info;
        info.biWidth = width;
        info.biHeight = -height;
        info.biPlanes = 1;
        info.biBitCount = 32;
        BITMAPFILEHEADER file = {};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof file + sizeof info;
        file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size() * 4);
        FILE* out = fopen(path.c_str(), "wb");
        ASSERT_NE(nullptr, out);
        fwrite(&file, sizeof file, 1, out);
        fwrite(&info, sizeof info, 1, out);
        fwrite(pixels.data(), 4, pixels.size(), out);
        fclose(out);
    }
};

Screenshot CaptureFromScreen(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    Screenshot shot;
    shot.width = r.right - r.left;
    shot.height = r.bottom - r.top;
    shot.pixels.resize(shot.width * shot.height);
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = shot.width;
    info.bmiHeader.biHeight = -shot.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP target = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ previous = SelectObject(memory, target);
    BitBlt(memory, 0, 0, shot.width, shot.height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    memcpy(shot.pixels.data(), bits, shot.pixels.size() * 4);
    SelectObject(memory, previous);
    DeleteObject(target);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
    return shot;
}

struct ExpectedControl {
    int id;
    int x, y, width, height;
    std::vector<int> faces; // any of them may show, as the owner sets the flags
};

} // namespace

TEST(MainWindowSkin, EveryControlIsDrawnAtItsPlaceAndSize) {
    ProgramRun program;
    ASSERT_TRUE(program.StartMorvane());
    HWND window = program.WaitForMainWindow();
    ASSERT_NE(nullptr, window);
    Sleep(500); // let it paint

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
    Screenshot shot = CaptureFromScreen(window);
    shot.SaveBitmap(BinFolder() + "\\main_window_skin.bmp");
    EXPECT_EQ(121, shot.BitmapIdAt(348, 559)); // the background fills the window

    for (const ExpectedControl& c : controls) {
        SCOPED_TRACE(c.id);
        HWND control = GetDlgItem(window, c.id);
        ASSERT_NE(nullptr, control);
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(NULL, window, reinterpret_cast<POINT*>(&r), 2);
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
    HWND combo = GetDlgItem(window, IDC_AUDIO_DEVICE);
    RECT r;
    GetWindowRect(combo, &r);
    MapWindowPoints(NULL, window, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(22, r.left);
    EXPECT_EQ(385, r.top);
    EXPECT_EQ(300, r.right - r.left);
}
