// A window read back from the screen, as the user sees it, and which skin
// bitmap is shown where.
#ifndef MORVANE_TESTS_SYSTEM_SCREENSHOT_H
#define MORVANE_TESTS_SYSTEM_SCREENSHOT_H

#include <windows.h>

#include <string>
#include <vector>

// A screenshot of a window, rows top first, as 0x00RRGGBB.
struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;

    DWORD At(int x, int y) const { return pixels[y * width + x]; }

    // The skin bitmap drawn with its bottom-right pixel at (x, y), told by
    // the skin generator's table of how each bitmap looks; -1 for none.
    int BitmapIdAt(int x, int y) const;

    // Writes a 32-bit .bmp file; false when it cannot be written.
    bool SaveBitmap(const std::string& path) const;
};

// Whether the screen has a palette: 256 colours.
bool ScreenHasPalette();

// The window as it shows on the screen.
Screenshot CaptureFromScreen(HWND window);

// The skin bitmap a skinned control shows on screen, or -1.
int ShownSkinFace(HWND control);

// A memory device context over a 32-bit top-down bitmap: a place to draw
// what a window should show, and to read it back.
class Canvas {
  public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return memory; }
    // What has been drawn so far, as 0x00RRGGBB.
    Screenshot Read() const;

  private:
    int width;
    int height;
    HDC memory;
    HBITMAP bitmap;
    HGDIOBJ previous;
    void* bits = nullptr;
};

// The window's client area as the window draws it.
Screenshot CaptureClientArea(HWND window);

// How far, in any channel, the screen may show a colour from what was drawn:
// nothing at 24 bits and more, a rounding at 16, the nearest of 256 at 8.
int ScreenColourTolerance();

// The differences of two colours' channels, added up.
int ColourDistance(DWORD one, DWORD other);

// Two colours alike within a tolerance in every channel.
bool Alike(DWORD one, DWORD other, int tolerance);

#endif
