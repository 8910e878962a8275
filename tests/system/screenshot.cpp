#include "screenshot.h"

#include <cstdio>
#include <cstring>

namespace {

// How a skin bitmap looks: the checksum of its part that nothing is drawn
// over on screen.
struct FaceLook {
    int id;
    int width;
    int height;
    RECT clear;
    DWORD checksum;
};

const FaceLook kFaceLooks[] = {
#include "skin_faces.inc"
};

// 32-bit FNV-1a over the pixels of [left, right) x [top, bottom), as the
// skin generator computes it.
DWORD Checksum(const Screenshot& shot, int left, int top, int right, int bottom) {
    DWORD value = 0x811C9DC5u;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            value = (value ^ shot.At(x, y)) * 0x01000193u;
        }
    }
    return value;
}

} // namespace

int Screenshot::BitmapIdAt(int x, int y) const {
    for (const FaceLook& face : kFaceLooks) {
        int left = x + 1 - face.width;
        int top = y + 1 - face.height;
        if (left >= 0 && top >= 0 && x < width && y < height &&
            Checksum(*this, left + face.clear.left, top + face.clear.top, left + face.clear.right,
                     top + face.clear.bottom) == face.checksum) {
            return face.id;
        }
    }
    return -1;
}

bool Screenshot::SaveBitmap(const std::string& path) const {
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
    if (!out) {
        return false;
    }
    fwrite(&file, sizeof file, 1, out);
    fwrite(&info, sizeof info, 1, out);
    fwrite(pixels.data(), 4, pixels.size(), out);
    return fclose(out) == 0;
}

namespace {

// The pixels of a width x height area of source at (x, y).
Screenshot Capture(HDC source, int x, int y, int width, int height) {
    Screenshot shot;
    shot.width = width;
    shot.height = height;
    shot.pixels.resize(width * height);
    HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP target = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ previous = SelectObject(memory, target);
    BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
    GdiFlush();
    memcpy(shot.pixels.data(), bits, shot.pixels.size() * 4);
    SelectObject(memory, previous);
    DeleteObject(target);
    DeleteDC(memory);
    return shot;
}

} // namespace

Screenshot CaptureFromScreen(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    HDC screen = GetDC(NULL);
    Screenshot shot = Capture(screen, r.left, r.top, r.right - r.left, r.bottom - r.top);
    ReleaseDC(NULL, screen);
    return shot;
}

Screenshot CaptureClientArea(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    Screenshot shot = Capture(dc, 0, 0, client.right, client.bottom);
    ReleaseDC(window, dc);
    return shot;
}
