// The frame that shows which skinned control has the keyboard focus. It is
// drawn only once the keyboard has moved the focus, so a window used with the
// mouse alone looks as it always did.
#ifndef MORVANE_SKIN_FOCUS_CUE_H
#define MORVANE_SKIN_FOCUS_CUE_H

#include <windows.h>

// From now on the focused control shows its frame.
void ShowFocusCues();

// Draws the frame inside control's client area when it has the focus and
// the cues are shown.
void DrawFocusCue(HWND control, HDC target);

// What a skinned control answers to WM_GETDLGCODE: the push button's answer,
// and the arrows, which move a slider and leave a button where it is
// instead of wandering off in a different order from Tab's.
LRESULT DialogCodeWithArrows(LRESULT buttonCode);

#endif
