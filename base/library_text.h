// Texts of the resource library, copied into the fixed fields that show them.
#ifndef MORVANE_BASE_LIBRARY_TEXT_H
#define MORVANE_BASE_LIBRARY_TEXT_H

#include <windows.h>

// The resource string library Morvane.dll, loaded once at start and never
// freed; null until then.
extern HMODULE resourceLibrary;

// A load delivers at most 259 characters and the terminating zero.
const int kLibraryTextSize = 260;

// Copies text stringId of library into a field of capacity bytes. Identifier
// 0 and a text the library lacks give the empty text; a text longer than the
// field is cut after its last whole character. The field always ends with a zero and nothing past
// it is written.
void LoadLibraryText(HMODULE library, int stringId, char* field, int capacity);

// Gives control controlId of window the name nameId of library as its window
// text, which a screen reader reads out; skinned controls never draw it.
void NameControl(HMODULE library, HWND window, int controlId, int nameId);

#endif
