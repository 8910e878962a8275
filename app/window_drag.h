// Moving a borderless window by dragging it with the mouse: the main window
// and the about box alike.
#ifndef MORVANE_APP_WINDOW_DRAG_H
#define MORVANE_APP_WINDOW_DRAG_H

#include <windows.h>

// A client point of a mouse message, as signed 16-bit values.
struct DragAnchor {
    short x;
    short y;
};

DragAnchor PointOfMessage(LPARAM point);

// Moves window, keeping its size, so that the client point pressed at anchor
// follows the mouse to point; only a press in the top strip drags.
void FollowDrag(HWND window, DragAnchor anchor, LPARAM point);

// Brings a window's top strip back onto the desktop when it lies partly or
// wholly off it (a smaller screen, a box opened near an edge); a window
// whose strip is on the desktop stays where it is.
void KeepTopStripReachable(HWND window);

#endif
