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
