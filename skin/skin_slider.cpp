#include "skin/skin_slider.h"

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

int SkinSlider::GetValue() const { return SliderValueAt(geometry, thumbPos); }

void SkinSlider::SetValue(int value) {
    thumbPos = SliderPositionOf(geometry, value);
    Repaint(control);
}

void SkinSlider::SetDisabled(int flag) {
    // A press the owner cuts short by disabling ends here, silently as on
    // Hide: while disabled the release would be ignored and the capture and
    // the paging timer would stay for good.
    if (flag && buttonDown) {
        EndPress();
    }
    disabled = flag;
    Repaint(control);
}

void SkinSlider::Hide() {
    EndPress();
    ShowWindow(control, SW_HIDE);
}

void SkinSlider::EndPress() {
    if (GetCapture() == control) {
        ReleaseCapture();
    }
    if (autoRepeat) {
        KillTimer(control, kPagingTimer);
    }
    autoRepeat = 0;
    buttonDown = 0;
    dragging = 0;
    noFinalNotice = 0;
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
}

void SkinSlider::Step(SliderStepKind kind) {
    SliderStep step = MakeSliderStep(geometry, kind, thumbPos, lastX);
    thumbPos = step.thumbPos;
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
    ReleaseCapture();
    if (!noFinalNotice) {
        Notify(kSliderThumbPosition);
    }
    if (autoRepeat) {
        KillTimer(control, kPagingTimer);
        autoRepeat = 0;
    }
    Repaint(control);
    buttonDown = 0;
    dragging = 0;
    noFinalNotice = 0;
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
    case WM_LBUTTONDOWN: self->OnLButtonDown(lParam); break;
    case WM_LBUTTONUP: self->OnLButtonUp(); break;
    default: break;
    }
    return CallWindowProcA(self->previousProc, window, message, wParam, lParam);
}
