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
    if (flag && repeating) {
        StopRepeating();
        PostMessageA(GetParent(button.Control()), releaseMessage, 0, 0);
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

void RepeatButton::OnPress() {
    button.OnLButtonDown();
    if (!repeating) {
        SetTimer(button.Control(), kRepeatTimer, kRepeatMs, NULL);
    }
    repeating = 1;
    PostMessageA(GetParent(button.Control()), WM_COMMAND, MAKEWPARAM(button.ControlId(), 0), 0);
}

void RepeatButton::OnTick() {
    if (button.IsPressed()) {
        OnPress();
    }
}

void RepeatButton::OnRelease() {
    button.OnLButtonUp();
    StopRepeating();
    PostMessageA(GetParent(button.Control()), releaseMessage, 0, 0);
}

LRESULT CALLBACK RepeatButton::WindowProc(HWND window, UINT message, WPARAM wParam,
                                          LPARAM lParam) {
    static_assert(std::is_standard_layout<RepeatButton>::value, "user data cast needs it");
    static_assert(offsetof(RepeatButton, button) == 0, "user data cast needs it");
    RepeatButton* self = static_cast<RepeatButton*>(WindowObject(window));
    if (self) {
        switch (message) {
        case WM_TIMER: self->OnTick(); break;
        case WM_LBUTTONDOWN: self->OnPress(); break;
        case WM_LBUTTONUP: self->OnRelease(); break;
        default: break;
        }
    }
    return SkinButton::WindowProc(window, message, wParam, lParam);
}
