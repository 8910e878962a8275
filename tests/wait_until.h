// The one way a test waits: for the condition it then checks. A bound only
// limits a failure: a wait that runs out fails the test right there, naming
// what it waited for (it throws, and GoogleTest reports the text as the
// test's failure), so no test goes on after a wait that did not end. A check
// that something did not happen first waits for a positive sign that the
// moment has passed (the next status poll, a timer's tick, a message round
// trip).
//
// Every bound comes from here, written for the wine64 tier and lengthened by
// the tier's one factor, MORVANE_TIME_SCALE (the emulated 32-bit tier sets
// it: a start takes it 1 to 2 s, a rebuild under load several).
#ifndef MORVANE_TESTS_WAIT_UNTIL_H
#define MORVANE_TESTS_WAIT_UNTIL_H

#include <windows.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

// What a program does, a start, a graph built, a page shown, a poll.
const DWORD kProgramBoundMs = 10000;
// A program's answer to a message, busy as it may be with a graph.
const DWORD kAnswerBoundMs = 30000;

// The tier's factor, read once: 1 unless the tier sets a whole number above it.
inline DWORD TimeScale() {
    static const DWORD scale = [] {
        const char* text = std::getenv("MORVANE_TIME_SCALE");
        const long value = text ? std::strtol(text, nullptr, 10) : 1;
        return value > 1 ? static_cast<DWORD>(value) : 1UL;
    }();
    return scale;
}

// A bound of this tier: boundMs as written, times the tier's factor.
inline DWORD Bound(DWORD boundMs) {
    return boundMs * TimeScale();
}

// The failure of a wait that ran out.
class WaitRanOut : public std::runtime_error {
    static std::string FileName(const std::string& path) {
        return path.substr(path.find_last_of("/\\") + 1);
    }

  public:
    WaitRanOut(const std::string& what, DWORD boundMs, const char* file = __builtin_FILE(),
               int line = __builtin_LINE())
        : std::runtime_error(FileName(file) + ":" + std::to_string(line) + ": waited " +
                             std::to_string(boundMs) + " ms for " + what + ", in vain") {}
};

// Whether condition holds within the bound (lengthened for the tier). In
// between, the calling thread's messages are dispatched, so the windows,
// timers and hooks of a test that hosts them keep running. Only for a test
// whose subject is whether a thing comes at all; every other wait is
// WaitUntil.
template <typename Condition> [[nodiscard]] bool HoldsWithin(Condition condition, DWORD boundMs) {
    const DWORD bound = Bound(boundMs);
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) {
            return true;
        }
        if (GetTickCount() - start >= bound) {
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

// Waits until condition holds; when the bound runs out, fails the test there,
// naming what (a phrase: "page 3 to show") and the caller's line.
template <typename Condition>
void WaitUntil(Condition condition, const std::string& what, DWORD boundMs = kProgramBoundMs,
               const char* file = __builtin_FILE(), int line = __builtin_LINE()) {
    if (!HoldsWithin(condition, boundMs)) {
        throw WaitRanOut(what, Bound(boundMs), file, line);
    }
}

// Waits until the thread of a window has handled every message and input
// queued for it: a thread paints only when nothing but its timers is left in
// its queue. Twice: a paint the thread took from its queue before the input
// came may validate the first spot on its way out; the second spot is painted
// after the input.
inline void WaitForQueueHandled(HWND window, const char* file = __builtin_FILE(),
                                int line = __builtin_LINE()) {
    const RECT spot = {0, 0, 1, 1}; // a corner of the background: painted again as it is
    for (int round = 0; round < 2; ++round) {
        InvalidateRect(window, &spot, FALSE);
        WaitUntil([&] { return !GetUpdateRect(window, nullptr, FALSE); },
                  "the window's thread to handle its queue", kProgramBoundMs, file, line);
    }
}

// The keyboard focus, the mouse capture and the active window of a window's
// thread, as its own thread sees them.
struct ThreadInput {
    HWND focus = nullptr;
    HWND capture = nullptr;
    HWND active = nullptr;
};

inline ThreadInput ThreadInputOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return {info.hwndFocus, info.hwndCapture, info.hwndActive};
}

#endif
