// The main window controller as it comes out of its construction, before the
// window sets itself up.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <new>

#include "app/streaming_wizard.h"

namespace {

const int kWidth = 349;
const int kHeight = 560;

} // namespace

// Built over storage that holds anything but zeroes, the controller draws
// what a fresh one shows: page 0's white bar and no text.
TEST(StreamingWizardConstruction, StartsOnPageZeroWithEmptyTextsWhateverTheStorageHeld) {
    HWND window = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, kWidth, kHeight, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, window);
    std::unique_ptr<unsigned char[]> storage(new unsigned char[sizeof(StreamingWizard)]);
    memset(storage.get(), 0xA5, sizeof(StreamingWizard));
    StreamingWizard* wizard = new (storage.get()) StreamingWizard(window);

    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP canvas = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(nullptr, canvas);
    HGDIOBJ previous = SelectObject(dc, canvas);
    PatBlt(dc, 0, 0, kWidth, kHeight, BLACKNESS);
    wizard->OnPaint(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    GdiFlush();

    const DWORD* pixels = static_cast<const DWORD*>(bits);
    int barPixels = 0;
    int strayPixels = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if ((pixels[y * kWidth + x] & 0xFFFFFF) == 0) {
                continue;
            }
            bool inBar = x >= 11 && x < 339 && y >= 418 && y < 421;
            ++(inBar ? barPixels : strayPixels);
        }
    }
    EXPECT_GT(barPixels, 300);
    EXPECT_EQ(0, strayPixels);

    SelectObject(dc, previous);
    DeleteObject(canvas);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    wizard->~StreamingWizard();
    DestroyWindow(window);
}
