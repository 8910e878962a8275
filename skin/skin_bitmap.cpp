#include "skin/skin_bitmap.h"

#include "skin/skin_palette.h"

HBITMAP LoadSkinBitmap(HINSTANCE module, UINT id) {
    if (id == 0) {
        return NULL;
    }
    // A DIB section keeps the bitmap's own pixels: under Wine it loads and
    // copies to the screen several times faster than a device-dependent
    // bitmap, and on a screen of fewer colours it is mapped when drawn
    // rather than reduced once when loaded.
    return static_cast<HBITMAP>(LoadImageA(module, MAKEINTRESOURCEA(LOWORD(id)), IMAGE_BITMAP, 0,
                                           0, LR_CREATEDIBSECTION));
}

HINSTANCE WindowModule(HWND window) {
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
}

bool ReadBitmapSize(HBITMAP bitmap, int* width, int* height) {
    BITMAP size;
    if (bitmap && GetObjectA(bitmap, sizeof size, &size)) {
        *width = size.bmWidth;
        *height = size.bmHeight;
        return true;
    }
    *width = 0;
    *height = 0;
    return false;
}

void DrawBitmap(HDC target, HBITMAP bitmap, int x, int y, int width, int height) {
    UseSkinPalette(target);
    HDC memory = CreateCompatibleDC(target);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(target, x, y, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
}

void Repaint(HWND control) {
    // A null window would mean every window of the desktop.
    if (control) {
        InvalidateRect(control, NULL, FALSE);
    }
}

void InstallWindowProc(HWND control, WNDPROC proc, void* object) {
    SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
    SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
}

void* WindowObject(HWND control) {
    return reinterpret_cast<void*>(GetWindowLongPtrA(control, GWLP_USERDATA));
}

void RestoreWindowProc(HWND control, WNDPROC previousProc, void* object) {
    if (control && previousProc && IsWindow(control) && WindowObject(control) == object) {
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc));
        SetWindowLongPtrA(control, GWLP_USERDATA, 0);
    }
}
