#include "wizard/window_drag.h"

#include "wizard/window_geometry.h"

DragAnchor PointOfMessage(LPARAM point) {
    DragAnchor anchor;
    anchor.x = static_cast<short>(LOWORD(point));
    anchor.y = static_cast<short>(HIWORD(point));
    return anchor;
}

namespace {

typedef HMONITOR(WINAPI* MonitorFromWindowProc)(HWND, DWORD);
typedef BOOL(WINAPI* GetMonitorInfoProc)(HMONITOR, LPMONITORINFO);

// What the window can be brought into: its monitor less the taskbar and the
// other bars docked at its edges. Windows 95 and NT 4 know only the one
// screen, and have no monitor functions: the system's work area is that
// screen's.
ScreenArea WorkArea(HWND window) {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    MonitorFromWindowProc monitorFromWindow = reinterpret_cast<MonitorFromWindowProc>(
        reinterpret_cast<void*>(GetProcAddress(user32, "MonitorFromWindow")));
    GetMonitorInfoProc getMonitorInfo = reinterpret_cast<GetMonitorInfoProc>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetMonitorInfoA")));
    MONITORINFO monitor;
    monitor.cbSize = sizeof monitor;
    bool known = monitorFromWindow && getMonitorInfo &&
                 getMonitorInfo(monitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    if (!known && !SystemParametersInfoA(SPI_GETWORKAREA, 0, &monitor.rcWork, 0)) {
        SetRect(&monitor.rcWork, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                GetSystemMetrics(SM_CYSCREEN));
    }
    const RECT& work = monitor.rcWork;
    ScreenArea area = {work.left, work.top, work.right - work.left, work.bottom - work.top};
    return area;
}

} // namespace

void FollowDrag(HWND window, DragAnchor anchor, LPARAM point) {
    RECT place;
    GetWindowRect(window, &place);
    ScreenArea work = WorkArea(window);
    int height = place.bottom - place.top;
    if (!DragMovesWindow(anchor.y, height, work)) {
        return; // a press lower down holds the capture but never moves the window
    }
    DragAnchor to = PointOfMessage(point);
    WindowOrigin pointed = {place.left + to.x - anchor.x, place.top + to.y - anchor.y};
    WindowOrigin destination = DragDestination(pointed, height, work);
    SetWindowPos(window, NULL, destination.x, destination.y, 0, 0, SWP_NOSIZE);
}

void ShowClientRows(HWND window, int firstRow, int lastRow) {
    RECT place;
    GetWindowRect(window, &place);
    int top = TopShowingRows(place.top, firstRow, lastRow, WorkArea(window));
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
                                            place.bottom - place.top, WorkArea(window));
    if (kept.x != origin.x || kept.y != origin.y) {
        SetWindowPos(window, NULL, kept.x, kept.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}
