#include "screenshot.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "tests/wait_until.h"

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

bool ScreenHasPalette() {
    HDC screen = GetDC(NULL);
    bool palette = (GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) != 0;
    ReleaseDC(NULL, screen);
    return palette;
}

namespace {

// Reads a binary PPM picture (P6, 255 levels) from the start of data.
bool ParsePpm(const std::string& data, Screenshot* shot) {
    int width = 0, height = 0, levels = 0, header = 0;
    if (sscanf(data.c_str(), "P6 %d %d %d%n", &width, &height, &levels, &header) != 3 ||
        levels != 255 || width <= 0 || height <= 0 ||
        data.size() < header + 1 + static_cast<size_t>(width) * height * 3) {
        return false;
    }
    const unsigned char* rgb = reinterpret_cast<const unsigned char*>(data.data()) + header + 1;
    shot->width = width;
    shot->height = height;
    shot->pixels.resize(static_cast<size_t>(width) * height);
    for (DWORD& pixel : shot->pixels) {
        pixel = (rgb[0] << 16) | (rgb[1] << 8) | rgb[2];
        rgb += 3;
    }
    return true;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// On a screen of 256 colours Wine gives each process a colormap of its own,
// so reading the screen through this process's palette would show another
// program's pixels in the wrong colours. The X server's picture of the
// top-level window, read through that window's own colormap by ImageMagick's
// import, is what the user sees. Wine starts the Unix program but gives no
// handle to wait on, nor its output through a pipe: the picture goes to a
// file, read once it is whole.
Screenshot CaptureXWindow(HWND top) {
    Screenshot shot;
    ULONG_PTR xWindow = reinterpret_cast<ULONG_PTR>(GetPropA(top, "__wine_x11_whole_window"));
    if (!xWindow) {
        ADD_FAILURE() << "the window has no X window to read";
        return shot;
    }
    static int captures = 0;
    const std::string name = "morvane-window-" + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(++captures) + ".ppm";
    const std::string file = "Z:\\tmp\\" + name; // Wine's Z: is the Unix root
    std::string command =
        "Z:\\usr\\bin\\import -window " + std::to_string(xWindow) + " -depth 8 ppm:/tmp/" + name;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        ADD_FAILURE() << "no picture of the window: cannot run " << command;
        return shot;
    }
    if (process.hProcess) { // Windows gives one, Wine none for a Unix program
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    WaitUntil([&] { return ParsePpm(ReadWholeFile(file), &shot); },
              "a picture of the window from " + command);
    DeleteFileA(file.c_str());
    return shot;
}

Screenshot Crop(const Screenshot& whole, int left, int top, int width, int height) {
    Screenshot part;
    if (whole.pixels.empty()) {
        return part; // the reading failed, and said so
    }
    if (left < 0 || top < 0 || left + width > whole.width || top + height > whole.height) {
        ADD_FAILURE() << "the part wanted lies outside the window read";
        return part;
    }
    part.width = width;
    part.height = height;
    for (int y = top; y < top + height; ++y) {
        const DWORD* row = &whole.pixels[static_cast<size_t>(y) * whole.width + left];
        part.pixels.insert(part.pixels.end(), row, row + width);
    }
    return part;
}

} // namespace

Screenshot CaptureFromScreen(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    if (ScreenHasPalette()) {
        HWND top = GetAncestor(window, GA_ROOT);
        RECT whole;
        GetWindowRect(top, &whole);
        return Crop(CaptureXWindow(top), r.left - whole.left, r.top - whole.top,
                    r.right - r.left, r.bottom - r.top);
    }
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
