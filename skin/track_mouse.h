// Hover and leave notifications for a skinned control, where the system has
// them: _TrackMouseEvent came with the common controls of Internet Explorer 3,
// so a plain Windows 95 or NT 4 runs without hover looks.
#ifndef MORVANE_SKIN_TRACK_MOUSE_H
#define MORVANE_SKIN_TRACK_MOUSE_H

#include <windows.h>

// Asks for one WM_MOUSEHOVER (after 1 ms) and one WM_MOUSELEAVE for the
// control. Returns 1 when the request was made, 0 when the system cannot track
// the mouse (the control then simply never sees hover).
int RequestHoverAndLeave(HWND control);

#endif
