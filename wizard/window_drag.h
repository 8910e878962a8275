// Moving a borderless window by dragging it with the mouse: the main window
// and the about box alike.
#ifndef MORVANE_WIZARD_WINDOW_DRAG_H
#define MORVANE_WIZARD_WINDOW_DRAG_H

#include <windows.h>

// A client point of a mouse message, as signed 16-bit values.
struct DragAnchor {
    short x;
    short y;
};

DragAnchor PointOfMessage(LPARAM point);

// Moves window, keeping its size, so that the client point pressed at anchor
// follows the mouse to point; only a press in the top strip drags, unless
// the window is higher than its work area (its screen less the taskbar):
// then any press does, and the window keeps spanning the work area's height.
void FollowDrag(HWND window, DragAnchor anchor, LPARAM point);

// Moves a window up or down the least that shows its client rows
// firstRow..lastRow (last excluded) in its work area.
void ShowClientRows(HWND window, int firstRow, int lastRow);

// Brings a window's top strip back into its work area when it lies partly or
// wholly off it (a smaller screen, a box opened near an edge); a window
// whose strip is in the work area stays where it is. A window higher than
// the work area is kept spanning it, so that all of it can be dragged into view.
void KeepWindowReachable(HWND window);

#endif
