// The few GDI steps every skinned control repeats: loading a skin bitmap,
// reading its size, copying it onto a device context and repainting.
#ifndef MORVANE_SKIN_SKIN_BITMAP_H
#define MORVANE_SKIN_SKIN_BITMAP_H

#include <windows.h>

// Loads bitmap resource id (its low 16 bits) from module; none for id 0 or a
// bitmap that cannot be loaded.
HBITMAP LoadSkinBitmap(HINSTANCE module, UINT id);

// The module that owns a window, where its skin bitmaps live.
HINSTANCE WindowModule(HWND window);

// Reads a bitmap's size; 0 x 0 and false for none.
bool ReadBitmapSize(HBITMAP bitmap, int* width, int* height);

// Copies bitmap to (x, y) of target through a compatible memory context, in
// the skin's palette on a screen of 256 colours.
void DrawBitmap(HDC target, HBITMAP bitmap, int x, int y, int width, int height);

// Deletes a GDI object if there is one and clears the handle.
template <typename Handle> void DeleteGdiObject(Handle& object) {
    if (object) {
        DeleteObject(object);
        object = NULL;
    }
}

// Repaints a control: its whole client area, without erasing.
void Repaint(HWND control);

// Window procedure plumbing of a control taken over by an object.
void InstallWindowProc(HWND control, WNDPROC proc, void* object);
void* WindowObject(HWND control);

// Gives the control its saved procedure back, if it still runs through
// object (the control may be gone, its handle even reused).
void RestoreWindowProc(HWND control, WNDPROC previousProc, void* object);

#endif
