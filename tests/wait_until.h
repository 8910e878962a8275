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

#endif
