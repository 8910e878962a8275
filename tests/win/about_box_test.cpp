// The about box run modally from its real template: a second thread plays
// the user while the box's own modal loop runs on the test's thread.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "app/about_box.h"
#include "app/startup.h"
#include "res/resource_ids.h"
#include "res/strings_en.h"
#include "skin_harness.h"

namespace {

const int kBoxWidth = 395;
const int kBoxHeight = 234;

BOOL CALLBACK TakeVisibleDialog(HWND window, LPARAM found) {
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, "#32770") == 0 && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForBox(DWORD thread) {
    for (int i = 0; i < 500; ++i) {
        HWND box = NULL;
        EnumThreadWindows(thread, TakeVisibleDialog, reinterpret_cast<LPARAM>(&box));
        if (box) {
            return box;
        }
        Sleep(10);
    }
    return NULL;
}

HWND CaptureOf(DWORD thread) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(thread, &info);
    return info.hwndCapture;
}

// Presses and releases a skinned button as the platform would deliver it.
void Click(HWND control) {
    SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
}

// Opens the box on this thread and runs script on another while it is open.
// The script ends with the box closed, or the helper clicks OK so that a
// failing test cannot hang. Answers the box's result.
INT_PTR RunAboutBox(const std::function<void(HWND box)>& script) {
    DWORD thread = GetCurrentThreadId();
    std::thread user([&] {
        HWND box = WaitForBox(thread);
        if (!box) {
            return;
        }
        script(box);
        if (IsWindow(box)) {
            Click(GetDlgItem(box, IDC_ABOUT_OK));
        }
    });
    INT_PTR result =
        DialogBoxParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_ABOUT), NULL, AboutBoxProc, 0);
    user.join();
    return result;
}

RECT ScreenRect(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return r;
}

class AboutBox : public testing::Test {
  protected:
    static void SetUpTestSuite() { resourceLibrary = LoadLibraryA("Morvane.dll"); }
};

} // namespace

TEST_F(AboutBox, TakesTheBackgroundsSizeAndPlacesItsSkinnedButtons) {
    RECT box{}, ok{}, close{};
    int okFace = -1, closeFace = -1;
    RunAboutBox([&](HWND window) {
        box = ScreenRect(window);
        ok = ScreenRect(GetDlgItem(window, IDC_ABOUT_OK));
        close = ScreenRect(GetDlgItem(window, IDC_CLOSE));
        okFace = ProbeCorner(GetDlgItem(window, IDC_ABOUT_OK));
        closeFace = ProbeCorner(GetDlgItem(window, IDC_CLOSE));
    });
    EXPECT_EQ(kBoxWidth, box.right - box.left);
    EXPECT_EQ(kBoxHeight, box.bottom - box.top);
    const struct {
        RECT rect;
        int x, y, width, height, face, shownFace;
    } buttons[] = {{ok, 290, 176, 84, 29, IDB_OK_NORMAL, okFace},
                   {close, 362, 5, 28, 26, IDB_CLOSE_NORMAL, closeFace}};
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.face);
        EXPECT_EQ(b.x, b.rect.left - box.left);
        EXPECT_EQ(b.y, b.rect.top - box.top);
        EXPECT_EQ(b.width, b.rect.right - b.rect.left);
        EXPECT_EQ(b.height, b.rect.bottom - b.rect.top);
        EXPECT_EQ(b.face, b.shownFace);
    }
}

TEST_F(AboutBox, EndsWithOneThroughOkOrCloseOnly) {
    for (int id : {IDC_ABOUT_OK, IDC_CLOSE}) {
        SCOPED_TRACE(id);
        bool openAfterEscape = false;
        INT_PTR result = RunAboutBox([&](HWND box) {
            // Escape reaches the box as IDCANCEL, the system close as
            // WM_CLOSE, Enter as IDOK: none of them ends it.
            PostMessageA(box, WM_KEYDOWN, VK_ESCAPE, 0);
            SendMessageA(box, WM_COMMAND, IDCANCEL, 0);
            SendMessageA(box, WM_COMMAND, IDOK, 0);
            SendMessageA(box, WM_CLOSE, 0, 0);
            Sleep(200);
            openAfterEscape = IsWindow(box) && IsWindowVisible(box);
            Click(GetDlgItem(box, id));
        });
        EXPECT_TRUE(openAfterEscape);
        EXPECT_EQ(1, result);
    }
}

TEST_F(AboutBox, DragsOnlyFromTheTopStrip) {
    POINT movedFromStrip{}, movedFromBelow{};
    bool capturedBelow = false, releasedAfter = false;
    RunAboutBox([&](HWND box) {
        DWORD thread = GetWindowThreadProcessId(box, NULL);
        auto dragBy = [&](int pressY) {
            RECT before = ScreenRect(box);
            SendMessageA(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, pressY));
            capturedBelow = CaptureOf(thread) == box;
            SendMessageA(box, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(120, pressY + 10));
            SendMessageA(box, WM_LBUTTONUP, 0, MAKELPARAM(120, pressY + 10));
            releasedAfter = CaptureOf(thread) == NULL;
            RECT after = ScreenRect(box);
            return POINT{after.left - before.left, after.top - before.top};
        };
        movedFromStrip = dragBy(34);
        movedFromBelow = dragBy(35);
    });
    EXPECT_EQ(20, movedFromStrip.x);
    EXPECT_EQ(10, movedFromStrip.y);
    EXPECT_EQ(0, movedFromBelow.x);
    EXPECT_EQ(0, movedFromBelow.y);
    EXPECT_TRUE(capturedBelow); // a press lower down still takes the mouse
    EXPECT_TRUE(releasedAfter);
}

TEST_F(AboutBox, TwentyOpeningsKeepNoBitmapsOrFonts) {
    auto open = [] { RunAboutBox([](HWND box) { ProbeCorner(GetDlgItem(box, IDC_ABOUT_OK)); }); };
    // Warm up: the buttons' faces and label stay between openings, and Wine
    // fills its caches of device contexts and fonts.
    open();
    open();
    int before = LiveGdiObjects();
    const int kOpenings = 20;
    for (int i = 0; i < kOpenings; ++i) {
        open();
    }
    // Wine's caches move the count by a few objects either way; keeping one
    // bitmap or font per opening would add twenty.
    EXPECT_LT(LiveGdiObjects() - before, kOpenings / 2);
}

namespace {

struct Extent {
    int left = 10000, top = 10000, right = -1, bottom = -1, count = 0;
    void Add(int x, int y) {
        left = x < left ? x : left;
        top = y < top ? y : top;
        right = x > right ? x : right;
        bottom = y > bottom ? y : bottom;
        ++count;
    }
};

// Saves a window's client area as a bitmap file, for a person to look at.
void SaveScreenshot(HWND window, int width, int height, const std::string& path) {
    HDC dc = GetDC(window);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP copy = CreateCompatibleBitmap(dc, width, height);
    HGDIOBJ previous = SelectObject(memory, copy);
    BitBlt(memory, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    int rowSize = (width * 3 + 3) & ~3;
    std::string pixels(rowSize * height, '\0');
    GetDIBits(memory, copy, 0, height, &pixels[0], reinterpret_cast<BITMAPINFO*>(&info),
              DIB_RGB_COLORS);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    FILE* out = fopen(path.c_str(), "wb");
    if (out) {
        fwrite(&file, sizeof file, 1, out);
        fwrite(&info, sizeof info, 1, out);
        fwrite(pixels.data(), 1, pixels.size(), out);
        fclose(out);
    }
    DeleteObject(copy);
    DeleteDC(memory);
    ReleaseDC(window, dc);
}

} // namespace

TEST_F(AboutBox, TitleIsDarkGreyOverAWhiteShadowOnePixelDownRight) {
    Extent grey, white;
    RunAboutBox([&](HWND box) {
        UpdateWindow(box);
        Sleep(200);
        char path[MAX_PATH];
        GetModuleFileNameA(NULL, path, sizeof path);
        std::string shot(path);
        shot = shot.substr(0, shot.find_last_of("\\/")) + "\\about_box.bmp";
        SaveScreenshot(box, kBoxWidth, kBoxHeight, shot);
        HDC dc = GetDC(box);
        for (int y = 10; y < 26; ++y) {
            for (int x = 10; x < 301; ++x) {
                COLORREF colour = GetPixel(dc, x, y);
                if (colour == RGB(63, 63, 63)) {
                    grey.Add(x, y);
                } else if (colour == RGB(255, 255, 255)) {
                    white.Add(x, y);
                }
            }
        }
        ReleaseDC(box, dc);
    });
    ASSERT_GT(grey.count, 20);
    ASSERT_GT(white.count, 20);
    // The shadow shows where the grey title leaves it uncovered: past its
    // right edge, never left of or above it. Both are clipped at y 25.
    EXPECT_EQ(grey.right + 1, white.right);
    EXPECT_GT(white.left, grey.left);
    EXPECT_GT(white.top, grey.top);
}
