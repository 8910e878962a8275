#include "skin/skin_slider.h"

#include "skin/focus_cue.h"
#include "skin/skin_bitmap.h"

namespace {
const UINT_PTR kPagingTimer = 1;
const UINT kPagingMs = 500;
} // namespace

SkinSlider::SkinSlider() {
    control = NULL;
    controlId = 0;
    geometry = MakeSliderGeometry(0, 0, 1, 0, 0, 0);
    trackId = 0;
    thumbId = 0;
    disabledThumbId = 0;
    previousProc = NULL;
    thumbPos = 0;
    value = 0;
    disabled = 0;
    track = NULL;
    thumb = NULL;
    disabledThumb = NULL;
    trackHeight = 0;
    thumbHeight = 0;
    buttonDown = 0;
    lastX = 0;
    noFinalNotice = 0;
    dragging = 0;
    autoRepeat = 0;
}

SkinSlider::~SkinSlider() { Detach(); }

void SkinSlider::Attach(HWND newControl, int newControlId, int minimum, int maximum,
                        int pageCount, UINT newTrackId, UINT newThumbId, UINT newDisabledThumbId,
                        int margin) {
    // Attaching twice to the same live control must not chain to ourselves.
    RestoreWindowProc(control, previousProc, this);
    control = newControl;
    controlId = newControlId;
    trackId = newTrackId;
    thumbId = newThumbId;
    disabledThumbId = newDisabledThumbId;

    DeleteBitmaps();
    HINSTANCE module = WindowModule(GetParent(control));
    track = LoadSkinBitmap(module, trackId);
    thumb = LoadSkinBitmap(module, thumbId);
    disabledThumb = LoadSkinBitmap(module, disabledThumbId);
    int trackWidth, thumbWidth;
    ReadBitmapSize(track, &trackWidth, &trackHeight);
    ReadBitmapSize(thumb, &thumbWidth, &thumbHeight);
    if (track) {
        SetWindowPos(control, NULL, 0, 0, trackWidth, trackHeight, SWP_NOMOVE);
    }
    geometry = MakeSliderGeometry(minimum, maximum, pageCount, margin, trackWidth, thumbWidth);

    previousProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(control, GWLP_WNDPROC));
    InstallWindowProc(control, WindowProc, this);
}

int SkinSlider::GetValue() const { return value; }

void SkinSlider::SetValue(int newValue) {
    SliderPlace place = PlaceOfValue(geometry, newValue);
    thumbPos = place.thumbPos;
    value = place.value;
    Repaint(control);
}

void SkinSlider::SetDisabled(int flag) {
    // A press the owner cuts short by disabling ends here, silently as on
    // Hide: while disabled the release would be ignored and the capture and
    // the paging timer would stay for good.
    if (flag) {
        EndPress(kEndByOwner);
    }
    disabled = flag;
    Repaint(control);
}

void SkinSlider::Hide() {
    EndPress(kEndByOwner);
    ShowWindow(control, SW_HIDE);
}

// Every end of a press comes here: the release, a capture taken away, the
// owner's Hide or SetDisabled. The flags are cleared before the capture is
// released, so the capture change this causes finds no press left to end.
void SkinSlider::EndPress(SliderPressEnd end) {
    bool reports = EndReportsThumbPosition(buttonDown != 0, noFinalNotice != 0, end);
    int wasDown = buttonDown;
    buttonDown = 0;
    dragging = 0;
    noFinalNotice = 0;
    if (GetCapture() == control) {
        ReleaseCapture();
    }
    if (reports) {
        Notify(kSliderThumbPosition);
    }
    if (autoRepeat) {
        KillTimer(control, kPagingTimer);
    }
    autoRepeat = 0;
    if (wasDown) {
        Repaint(control);
    }
}

void SkinSlider::Detach() {
    RestoreWindowProc(control, previousProc, this);
    previousProc = NULL;
    if (autoRepeat) {
        KillTimer(control, kPagingTimer);
    }
    autoRepeat = 0;
    DeleteBitmaps();
}

void SkinSlider::DeleteBitmaps() {
    DeleteGdiObject(track);
    DeleteGdiObject(thumb);
    DeleteGdiObject(disabledThumb);
}

void SkinSlider::OnPaint() {
    PAINTSTRUCT paint;
    HDC target = BeginPaint(control, &paint);
    Paint(target);
    EndPaint(control, &paint);
}

void SkinSlider::Paint(HDC target) {
    if (track) {
        DrawBitmap(target, track, 0, 0, geometry.trackWidth, trackHeight);
    }
    HBITMAP face = disabled && disabledThumb ? disabledThumb : thumb;
    if (face) {
        DrawBitmap(target, face, thumbPos - HalfThumb(geometry), 0, geometry.thumbWidth,
                   thumbHeight);
    }
    DrawFocusCue(control, target);
}

namespace {

// The keys that move the focused slider, the way a trackbar takes them.
bool SliderKeyOf(WPARAM key, SliderKey* sliderKey) {
    switch (key) {
    case VK_LEFT:
    case VK_UP: *sliderKey = kKeyStepLeft; return true;
    case VK_RIGHT:
    case VK_DOWN: *sliderKey = kKeyStepRight; return true;
    case VK_PRIOR: *sliderKey = kKeyPageLeft; return true;
    case VK_NEXT: *sliderKey = kKeyPageRight; return true;
    case VK_HOME: *sliderKey = kKeyFirst; return true;
    case VK_END: *sliderKey = kKeyLast; return true;
    default: return false;
    }
}

} // namespace

// A key moves the thumb with the notifications the mouse would send: a page
// as a press on the track, the others as a drag and its release. A key that
// leaves the value where it was (the thumb at an end, or moved less than a
// value) sends none: the owner would act on a change that is not there.
void SkinSlider::OnKeyDown(WPARAM key) {
    SliderKey sliderKey;
    if (disabled || buttonDown || !SliderKeyOf(key, &sliderKey)) {
        return;
    }
    SliderPlace place = {thumbPos, value};
    SliderStep step = MakeKeyStep(geometry, sliderKey, place);
    thumbPos = step.place.thumbPos;
    value = step.place.value;
    Repaint(control);
    if (value == place.value) {
        return;
    }
    Notify(step.code);
    if (!step.noFinalNotice) {
        Notify(kSliderThumbPosition);
    }
}

void SkinSlider::Step(SliderStepKind kind) {
    SliderPlace place = {thumbPos, value};
    SliderStep step = MakeSliderStep(geometry, kind, place, lastX);
    thumbPos = step.place.thumbPos;
    value = step.place.value;
    noFinalNotice = step.noFinalNotice;
    Repaint(control);
    Notify(step.code);
}

void SkinSlider::Notify(int code) {
    SendMessageA(GetParent(control), WM_HSCROLL, MAKEWPARAM(code, 0),
                 reinterpret_cast<LPARAM>(control));
}

void SkinSlider::OnLButtonDown(LPARAM point) {
    if (disabled) {
        return;
    }
    SetCapture(control);
    buttonDown = 1;
    lastX = static_cast<short>(LOWORD(point));
    SliderPress press = ClassifySliderPress(geometry, thumbPos, lastX);
    if (press == kPressOutOfReach) {
        return; // held without effect until the release
    }
    if (press == kPressOnThumb) {
        dragging = 1;
    } else {
        dragging = 0;
        if (!autoRepeat) {
            SetTimer(control, kPagingTimer, kPagingMs, NULL);
        }
        autoRepeat = 1;
    }
    Step(kPagingStep);
}

void SkinSlider::OnMouseMove(LPARAM point) {
    if (disabled) {
        return;
    }
    // While paging only the pointer is followed: the next tick pages toward it.
    lastX = static_cast<short>(LOWORD(point));
    if (dragging) {
        Step(kMoveStep);
    }
}

void SkinSlider::OnTimer() {
    if (buttonDown) {
        Step(kPagingStep);
    }
}

void SkinSlider::OnLButtonUp() {
    if (disabled) {
        return;
    }
    EndPress(kEndByRelease);
}

void SkinSlider::OnCaptureChanged(HWND newCapture) {
    // Another window took the mouse (or the press was cancelled) while the
    // button was down: the button-up will not come here.
    if (newCapture != control) {
        EndPress(kEndByLostCapture);
    }
}

LRESULT CALLBACK SkinSlider::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SkinSlider* self = static_cast<SkinSlider*>(WindowObject(window));
    if (!self) {
        return 0;
    }
    switch (message) {
    case WM_PAINT: self->OnPaint(); break;
    case WM_ERASEBKGND: self->Paint(reinterpret_cast<HDC>(wParam)); return 1;
    case WM_TIMER: self->OnTimer(); break;
    case WM_MOUSEMOVE: self->OnMouseMove(lParam); break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: self->OnLButtonDown(lParam); break; // each click of a pair
    case WM_LBUTTONUP: self->OnLButtonUp(); break;
    case WM_CAPTURECHANGED: self->OnCaptureChanged(reinterpret_cast<HWND>(lParam)); break;
    case WM_KEYDOWN: self->OnKeyDown(wParam); break;
    // The name for screen readers is kept but never shown: the push button
    // would clear its label's place on the skin.
    case WM_SETTEXT: return DefWindowProcA(window, message, wParam, lParam);
    case WM_GETDLGCODE:
        return DialogCodeWithArrows(
            CallWindowProcA(self->previousProc, window, message, wParam, lParam));
    case WM_SETFOCUS:
    case WM_KILLFOCUS: Repaint(window); break; // the focus frame comes or goes
    default: break;
    }
    return CallWindowProcA(self->previousProc, window, message, wParam, lParam);
}
