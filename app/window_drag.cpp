#include "app/window_drag.h"

#include "app/window_geometry.h"

DragAnchor PointOfMessage(LPARAM point) {
    DragAnchor anchor;
    anchor.x = static_cast<short>(LOWORD(point));
    anchor.y = static_cast<short>(HIWORD(point));
    return anchor;
}

void FollowDrag(HWND window, DragAnchor anchor, LPARAM point) {
    if (!IsInDragStrip(anchor.y)) {
        return; // a press lower down holds the capture but never moves the window
    }
    RECT place;
    GetWindowRect(window, &place);
    DragAnchor to = PointOfMessage(point);
    SetWindowPos(window, NULL, place.left + to.x - anchor.x, place.top + to.y - anchor.y, 0, 0,
                 SWP_NOSIZE);
}
