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

int ShownSkinFace(HWND control) {
    Screenshot shot = CaptureFromScreen(control);
    return shot.width > 0 ? shot.BitmapIdAt(shot.width - 1, shot.height - 1) : -1;
}

Screenshot CaptureClientArea(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    Canvas canvas(client.right, client.bottom);
    HDC dc = GetDC(window);
    BitBlt(canvas.Dc(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    return canvas.Read();
}

int ScreenColourTolerance() {
    HDC screen = GetDC(NULL);
    int bits = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(NULL, screen);
    return bits >= 24 ? 0 : bits >= 15 ? 8 : 26;
}

bool Alike(DWORD one, DWORD other, int tolerance) {
    for (int shift = 0; shift <= 16; shift += 8) {
        int difference =
            static_cast<int>((one >> shift) & 0xFF) - static_cast<int>((other >> shift) & 0xFF);
        if (difference > tolerance || difference < -tolerance) {
            return false;
        }
    }
    return true;
}

int ColourDistance(DWORD one, DWORD other) {
    int sum = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        int difference =
            static_cast<int>((one >> shift) & 0xFF) - static_cast<int>((other >> shift) & 0xFF);
        sum += difference < 0 ? -difference : difference;
    }
    return sum;
}
