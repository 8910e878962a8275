// A real dialog from the main window's template whose procedure records what
// its skinned controls send it, and pixel probes that tell which skin bitmap
// is on screen.
#ifndef MORVANE_TESTS_WIN_SKIN_HARNESS_H
#define MORVANE_TESTS_WIN_SKIN_HARNESS_H

#include <windows.h>

#include <string>
#include <vector>

#include "tests/wait_until.h"

struct ReceivedMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// One window serves the whole test program: hiding a shown top-level window
// waits two seconds for a window manager that Xvfb does not have. Each
// SkinDialog starts from a clean record with every control shown, laid out
// on a grid so that none overlaps another or leaves the screen.
class SkinDialog {
  public:
    SkinDialog();

    HWND Window() const { return window; }
    HWND Control(int id) const { return GetDlgItem(window, id); }

    // Every WM_COMMAND, WM_HSCROLL and WM_USER + 1 the dialog received.
    const std::vector<ReceivedMessage>& Received() const;
    std::vector<int> ScrollCodes() const;
    void ClearReceived();

    // Replaces control id by a new push button of the same kind and place,
    // as a dialog opened afresh would have.
    HWND NewControl(int id);

    // Sends a mouse message with a client point, as the platform would.
    static void Mouse(HWND control, UINT message, int x, int y);

  private:
    static HWND window;
};

// Dispatches every queued message of this thread.
void PumpMessages();

// The two ways a press loses the mouse without a button-up: another window
// of the thread takes the capture, or the press is cancelled.
enum CaptureLoss { kAnotherWindowTakesIt, kCancelMode };
const CaptureLoss kCaptureLosses[] = {kAnotherWindowTakesIt, kCancelMode};
void LoseCapture(HWND control, CaptureLoss loss);

// Clicks the real pointer count times in quick succession at a client point
// of a control (two clicks make a double click), and dispatches what the
// platform delivers. The button is up again at the end, and the control has
// taken each press and release.
void RealClicks(HWND control, int x, int y, int count);

// The resource number of the skin bitmap drawn with its bottom-right pixel
// at (x, y) of the window, after it has painted; -1 for none.
int ProbeBitmapId(HWND window, int x, int y);

// The bitmap in the control's bottom-right corner.
int ProbeCorner(HWND control);

// Waits until the control shows face in its corner; what names the wait
// ("Play to show its hover face").
void WaitForFace(HWND control, int face, const std::string& what);

// The number of GDI objects alive in this process, as read from the slots of
// the GDI handle table (the low 16 bits of a handle): allocating more probes
// than the table has free slots drives the highest slot to the count of live
// objects plus the probes, whatever the order of the free list.
int LiveGdiObjects();

// The GDI objects that cycles runs of cycle leave alive, after three runs
// that warm up what stays between openings (faces and labels kept for the
// next, Wine's caches of device contexts and fonts). Wine's caches move the
// count by a few objects either way; one object kept per run adds cycles.
template <typename Cycle> int GdiObjectsKeptBy(Cycle cycle, int cycles) {
    for (int i = 0; i < 3; ++i) {
        cycle();
    }
    const int before = LiveGdiObjects();
    for (int i = 0; i < cycles; ++i) {
        cycle();
    }
    return LiveGdiObjects() - before;
}

#endif
