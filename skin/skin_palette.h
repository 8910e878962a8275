// The skin's colours on a screen of 256 colours. Without a palette of its own
// the program's bitmaps would be drawn in the 20 colours Windows keeps for
// itself; the skin's palette, made from the skin bitmaps' own colours, keeps
// them close to how they look on a deeper screen. Elsewhere all of it is
// skipped.
#ifndef MORVANE_SKIN_SKIN_PALETTE_H
#define MORVANE_SKIN_SKIN_PALETTE_H

#include <windows.h>

// Selects the skin's palette into dc as a background palette and realises
// it, when dc's device has a palette: a paint takes only the system
// palette's free entries and nearest colours, never entries another palette
// of the window (the preview's picture) holds. How many of its colours it
// mapped into the system palette, 0 where there is none.
UINT UseSkinPalette(HDC dc);

// Realises the skin's palette for a top-level window, in the foreground
// unless behindPicture (the window shows a preview, whose picture's palette
// comes first), and repaints the window and its controls when that changed
// the colours they get (a screen that now has a palette, another program's
// palette realised before). True when colours changed.
bool RealizeSkinPalette(HWND window, bool behindPicture);

// A dialog's answer to WM_QUERYNEWPALETTE (it is becoming active) and to
// WM_PALETTECHANGED (some window changed the system palette; one of its own
// changes is not answered, or the two would go on for ever): the dialog
// procedure's result. behindPicture as for RealizeSkinPalette.
INT_PTR AnswerPaletteMessage(HWND dialog, UINT message, WPARAM wParam, bool behindPicture);

#endif
