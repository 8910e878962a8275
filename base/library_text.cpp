#include "base/library_text.h"

#include "base/ansi_text.h"

HMODULE resourceLibrary = NULL;

void LoadLibraryText(HMODULE library, int stringId, char* field, int capacity) {
    // Loaded whole first: the heading note, for one, holds only 31 characters.
    // One byte more than a load delivers, so that a text too long for the load
    // is cut once, at a character boundary.
    char loaded[kLibraryTextSize + 1];
    loaded[0] = '\0';
    if (stringId != 0) {
        LoadStringA(library, stringId, loaded, sizeof loaded);
    }
    CopyAnsiText(field, capacity < kLibraryTextSize ? capacity : kLibraryTextSize, loaded);
}

void NameControl(HMODULE library, HWND window, int controlId, int nameId) {
    char name[kLibraryTextSize];
    LoadLibraryText(library, nameId, name, kLibraryTextSize);
    SetWindowTextA(GetDlgItem(window, controlId), name);
}
