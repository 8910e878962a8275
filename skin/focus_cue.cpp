#include "skin/focus_cue.h"

namespace {
const int kCueInset = 2;
bool cuesShown = false; // the program's one thread reads and writes it
} // namespace

void ShowFocusCues() {
    cuesShown = true;
}

void DrawFocusCue(HWND control, HDC target) {
    if (!cuesShown || GetFocus() != control) {
        return;
    }
    RECT frame;
    GetClientRect(control, &frame);
    InflateRect(&frame, -kCueInset, -kCueInset);
    SetTextColor(target, RGB(0, 0, 0));
    SetBkColor(target, RGB(255, 255, 255));
    DrawFocusRect(target, &frame);
}

LRESULT DialogCodeWithArrows(LRESULT buttonCode) {
    return buttonCode | DLGC_WANTARROWS;
}
