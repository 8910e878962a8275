#include "screenshot.h"

#include <cstdio>
#include <cstring>

int Screenshot::BitmapIdAt(int x, int y) const {
    DWORD colour = At(x, y);
    int red = (colour >> 16) & 0xFF;
    if ((colour & 0xFF) != 0xC3 || red < 0x21) {
        return -1;
    }
    return ((red - 0x21) << 8) | ((colour >> 8) & 0xFF);
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

Canvas::Canvas(int width, int height) : width(width), height(height) {
    HDC screen = GetDC(NULL);
    memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    previous = SelectObject(memory, bitmap);
    ReleaseDC(NULL, screen);
}

Canvas::~Canvas() {
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

Screenshot Canvas::Read() const {
    GdiFlush();
    Screenshot shot;
    shot.width = width;
    shot.height = height;
    const DWORD* pixels = static_cast<const DWORD*>(bits);
    shot.pixels.assign(pixels, pixels + width * height);
    for (DWORD& pixel : shot.pixels) {
        pixel &= 0xFFFFFF;
    }
    return shot;
}

Screenshot CaptureFromScreen(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    Canvas canvas(r.right - r.left, r.bottom - r.top);
    HDC screen = GetDC(NULL);
    BitBlt(canvas.Dc(), 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
    ReleaseDC(NULL, screen);
    return canvas.Read();
}
