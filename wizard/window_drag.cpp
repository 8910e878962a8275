#include "wizard/window_drag.h"

#include "wizard/window_geometry.h"

DragAnchor PointOfMessage(LPARAM point) {
    DragAnchor anchor;
    anchor.x = static_cast<short>(LOWORD(point));
    anchor.y = static_cast<short>(HIWORD(point));
    return anchor;
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

void FollowDrag(HWND window, DragAnchor anchor, LPARAM point) {
    RECT place;
    GetWindowRect(window, &place);
    ScreenArea desktop = DesktopArea();
    int height = place.bottom - place.top;
    if (!DragMovesWindow(anchor.y, height, desktop)) {
        return; // a press lower down holds the capture but never moves the window
    }
    DragAnchor to = PointOfMessage(point);
    WindowOrigin pointed = {place.left + to.x - anchor.x, place.top + to.y - anchor.y};
    WindowOrigin destination = DragDestination(pointed, height, desktop);
    SetWindowPos(window, NULL, destination.x, destination.y, 0, 0, SWP_NOSIZE);
}

void ShowClientRows(HWND window, int firstRow, int lastRow) {
    RECT place;
    GetWindowRect(window, &place);
    int top = TopShowingRows(place.top, firstRow, lastRow, DesktopArea());
    if (top != place.top) {
        SetWindowPos(window, NULL, place.left, top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void KeepWindowReachable(HWND window) {
    RECT place;
    GetWindowRect(window, &place);
    WindowOrigin origin = {place.left, place.top};
    WindowOrigin kept = KeepWindowReachable(origin, place.right - place.left,
                                            place.bottom - place.top, DesktopArea());
    if (kept.x != origin.x || kept.y != origin.y) {
        SetWindowPos(window, NULL, kept.x, kept.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}
