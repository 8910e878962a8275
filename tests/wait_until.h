// The one way a test waits: for the condition it then checks, with a time-out
// that only bounds a failure. A check that something did not happen first
// waits here for a positive sign that the moment has passed (the next status
// poll, a timer's tick, a message round trip).
#ifndef MORVANE_TESTS_WAIT_UNTIL_H
#define MORVANE_TESTS_WAIT_UNTIL_H

#include <windows.h>

// Tries condition until it holds or timeoutMs has passed, and answers whether
// it held. In between, the calling thread's messages are dispatched, so the
// windows, timers and hooks of a test that hosts them keep running.
template <typename Condition> bool WaitUntil(Condition condition, DWORD timeoutMs = 10000) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) {
            return true;
        }
        if (GetTickCount() - start >= timeoutMs) {
            return false;
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Waits until the thread of a window has handled every message and input
// queued for it: a thread paints only when nothing but its timers is left in
// its queue.
inline bool WaitForQueueHandled(HWND window) {
    const RECT spot = {0, 0, 1, 1}; // a corner of the background: painted again as it is
    InvalidateRect(window, &spot, FALSE);
    return WaitUntil([&] { return !GetUpdateRect(window, nullptr, FALSE); });
}

#endif
