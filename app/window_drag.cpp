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

namespace {

// The whole desktop; Windows 95 and NT 4 know only the one screen.
ScreenArea DesktopArea() {
    ScreenArea desktop = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                          GetSystemMetrics(SM_CXVIRTUALSCREEN),
                          GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    if (desktop.width <= 0 || desktop.height <= 0) {
        ScreenArea screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        return screen;
    }
    return desktop;
}

} // namespace

void KeepTopStripReachable(HWND window) {
    RECT place;
    GetWindowRect(window, &place);
    WindowOrigin origin = {place.left, place.top};
    WindowOrigin kept = KeepTopStripOnScreen(origin, place.right - place.left, DesktopArea());
    if (kept.x != origin.x || kept.y != origin.y) {
        SetWindowPos(window, NULL, kept.x, kept.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}
