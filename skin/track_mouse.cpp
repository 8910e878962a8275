#include "skin/track_mouse.h"

#include <commctrl.h>

namespace {

typedef BOOL(WINAPI* TrackMouseEventProc)(LPTRACKMOUSEEVENT);

const DWORD kHoverTimeMs = 1;

// Resolved on the first request; the library stays loaded for the process.
TrackMouseEventProc trackMouseEvent = NULL;
bool trackMouseEventResolved = false;

TrackMouseEventProc ResolveTrackMouseEvent() {
    if (!trackMouseEventResolved) {
        trackMouseEventResolved = true;
        HMODULE commonControls = LoadLibraryA("comctl32.dll");
        if (commonControls) {
            trackMouseEvent = reinterpret_cast<TrackMouseEventProc>(
                reinterpret_cast<void*>(GetProcAddress(commonControls, "_TrackMouseEvent")));
        }
    }
    return trackMouseEvent;
}

} // namespace

int RequestHoverAndLeave(HWND control) {
    TrackMouseEventProc track = ResolveTrackMouseEvent();
    if (!track) {
        return 0;
    }
    TRACKMOUSEEVENT request;
    request.cbSize = sizeof request;
    request.dwFlags = TME_HOVER | TME_LEAVE;
    request.hwndTrack = control;
    request.dwHoverTime = kHoverTimeMs;
    return track(&request) ? 1 : 0;
}
