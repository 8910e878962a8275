#include "skin/repeat_button.h"

#include <stddef.h>
#include <type_traits>

#include "skin/skin_bitmap.h"

namespace {
const UINT_PTR kRepeatTimer = 1;
const UINT kRepeatMs = 2000;
} // namespace

RepeatButton::RepeatButton() {
    releaseMessage = 0;
    repeating = 0;
}

RepeatButton::~RepeatButton() { Detach(); }

void RepeatButton::Attach(HWND control, int controlId, UINT normalId, UINT hoverId,
                          UINT pressedId, UINT disabledId, UINT message) {
    StopRepeating();
    button.Attach(control, controlId, normalId, hoverId, pressedId, disabledId);
    releaseMessage = message;
    // Chain: this procedure, then the SkinButton's, then the push button's.
    SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProc));
}

void RepeatButton::SetDisabled(int flag) {
    // Disabling ends a hold as a release would, so that the owner does not
    // wait for a button-up the disabled control will never pass on.
    if (flag) {
        EndHold();
    }
    button.SetDisabled(flag);
}

void RepeatButton::Detach() {
    StopRepeating();
    button.Detach();
}

void RepeatButton::StopRepeating() {
    if (repeating) {
        KillTimer(button.Control(), kRepeatTimer);
        repeating = 0;
    }
}

// A disabled button neither starts a hold nor repeats: its command would
// reach the owner as if the button could be used.
void RepeatButton::OnPress() {
    if (button.IsDisabled()) {
        return;
    }
    button.OnLButtonDown();
    Repeat();
}

void RepeatButton::Repeat() {
    if (!repeating) {
        SetTimer(button.Control(), kRepeatTimer, kRepeatMs, NULL);
    }
    repeating = 1;
    PostMessageA(GetParent(button.Control()), WM_COMMAND, MAKEWPARAM(button.ControlId(), 0), 0);
}

void RepeatButton::OnTick() {
    if (button.IsPressed() && !button.IsDisabled()) {
        Repeat();
    }
}

void RepeatButton::OnRelease() {
    button.OnLButtonUp();
    EndHold();
}

// Only a hold this button started ends with the release message, and only
// once: a button-up without a press, or after the hold was cut short, posts
// nothing.
void RepeatButton::EndHold() {
    if (repeating) {
        StopRepeating();
        PostMessageA(GetParent(button.Control()), releaseMessage, 0, 0);
    }
}

void RepeatButton::OnCaptureChanged(HWND newCapture) {
    // The mouse went elsewhere without a button-up (another window, a
    // cancelled mode, the focus lost while Space was held): a release away
    // from the button.
    if (newCapture != button.Control()) {
        EndHold();
    }
}

// Space or Enter on the focused button: the push button clicks at Space's
// key-up, so the hold begins at the key-down (not at its auto-repeats) and
// ends at the key-up like a mouse hold, release message included.
void RepeatButton::OnKey(UINT message, WPARAM key, LPARAM flags) {
    const LPARAM kKeyWasDown = 1 << 30;
    if (key != VK_SPACE && key != VK_RETURN) {
        return;
    }
    if (message == WM_KEYDOWN && !(flags & kKeyWasDown) && !repeating) {
        OnPress();
    } else if (message == WM_KEYUP) {
        OnRelease();
    }
}

LRESULT CALLBACK RepeatButton::WindowProc(HWND window, UINT message, WPARAM wParam,
                                          LPARAM lParam) {
    static_assert(std::is_standard_layout<RepeatButton>::value, "user data cast needs it");
    static_assert(offsetof(RepeatButton, button) == 0, "user data cast needs it");
    RepeatButton* self = static_cast<RepeatButton*>(WindowObject(window));
    if (self) {
        switch (message) {
        case WM_TIMER: self->OnTick(); break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: self->OnPress(); break;
        case WM_LBUTTONUP: self->OnRelease(); break;
        case WM_CAPTURECHANGED: self->OnCaptureChanged(reinterpret_cast<HWND>(lParam)); break;
        // The focus went (Tab, another window activated) while a key held
        // the button: its key-up will reach another control, and Enter
        // holds without a capture whose loss would end it.
        case WM_KILLFOCUS:
            self->OnRelease();
            break;
        case WM_KEYDOWN:
        case WM_KEYUP:
            self->OnKey(message, wParam, lParam);
            if (wParam == VK_RETURN) {
                return 0; // held as Space is, not clicked once
            }
            break;
        default: break;
        }
    }
    return SkinButton::WindowProc(window, message, wParam, lParam);
}
