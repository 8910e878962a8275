#include "skin/skin_button.h"

#include "base/text.h"
#include "skin/focus_cue.h"
#include "skin/font_spec.h"
#include "skin/skin_bitmap.h"
#include "skin/track_mouse.h"

namespace {
const int kLabelPoints = 10;
} // namespace

void SetButtonLabel(SkinButton& button, const char* text) {
    button.SetLabel(text, RGB(0, 0, 0), RGB(255, 255, 255), RGB(255, 255, 255),
                    RGB(128, 128, 128));
}

SkinButton::SkinButton() {
    control = NULL;
    controlId = 0;
    previousProc = NULL;
    hover = 0;
    pressed = 0;
    disabled = 0;
    highlighted = 0;
    labelFont = NULL;
    faceWidth = 0;
    faceHeight = 0;
    label[0] = '\0';
    for (int i = 0; i < kButtonFaceCount; ++i) {
        faceIds[i] = 0;
        faces[i] = NULL;
        colours[i] = 0;
    }
}

SkinButton::~SkinButton() { Detach(); }

void SkinButton::Attach(HWND newControl, int newControlId, UINT normalId, UINT hoverId,
                        UINT pressedId, UINT disabledId) {
    // Attaching twice to the same live control must not chain to ourselves.
    RestoreWindowProc(control, previousProc, this);
    control = newControl;
    controlId = newControlId;
    faceIds[kFaceNormal] = normalId;
    faceIds[kFaceHover] = hoverId;
    faceIds[kFacePressed] = pressedId;
    faceIds[kFaceDisabled] = disabledId;
    previousProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(control, GWLP_WNDPROC));
    InstallWindowProc(control, WindowProc, this);
    hover = 0;
    pressed = 0;
    disabled = 0;
    highlighted = 0;
    LoadFaces();
}

void SkinButton::LoadFaces() {
    DeleteFaces();
    HINSTANCE module = WindowModule(control);
    for (int i = 0; i < kButtonFaceCount; ++i) {
        faces[i] = LoadSkinBitmap(module, faceIds[i]);
    }
    // Without a normal face the control keeps the size it has.
    if (ReadBitmapSize(faces[kFaceNormal], &faceWidth, &faceHeight)) {
        SetWindowPos(control, NULL, 0, 0, faceWidth, faceHeight, SWP_NOMOVE);
    } else {
        RECT client;
        GetClientRect(control, &client);
        faceWidth = client.right;
        faceHeight = client.bottom;
    }
}

void SkinButton::DeleteFaces() {
    for (int i = 0; i < kButtonFaceCount; ++i) {
        DeleteGdiObject(faces[i]);
    }
}

void SkinButton::SetLabel(const char* text, COLORREF normalColour, COLORREF hoverColour,
                          COLORREF pressedColour, COLORREF disabledColour) {
    CopyText(label, kLabelSize, text);
    // A labelled button is named by its face: a screen reader says what is seen.
    SetWindowTextA(control, label);
    if (label[0] != '\0') {
        DeleteGdiObject(labelFont);
        FontSpec spec;
        spec.SetPointSize(kLabelPoints);
        // A label fits the face it is drawn on.
        RECT face = {0, 0, faceWidth, faceHeight};
        HDC dc = GetDC(control);
        labelFont = spec.CreateFittingFont(dc, label, face, DT_SINGLELINE);
        ReleaseDC(control, dc);
    }
    colours[kFaceNormal] = normalColour;
    colours[kFaceHover] = hoverColour;
    colours[kFacePressed] = pressedColour;
    colours[kFaceDisabled] = disabledColour;
    Repaint(control);
}

void SkinButton::SetDisabled(int flag) {
    // A press the owner cuts short by disabling ends here (a mouse press, or
    // Space held on the focused button): while disabled the control would
    // never see the button-up or key-up that releases its capture.
    if (flag) {
        EndPress();
    }
    disabled = flag;
    Repaint(control);
}

void SkinButton::EndPress() {
    pressed = 0;
    if (GetCapture() == control) {
        ReleaseCapture(); // the push button drops its pushed state, no click
    }
}

void SkinButton::SetHighlighted(int flag) {
    highlighted = flag;
    Repaint(control);
}

void SkinButton::Detach() {
    RestoreWindowProc(control, previousProc, this);
    previousProc = NULL;
    DeleteFaces();
    DeleteGdiObject(labelFont);
}

void SkinButton::OnPaint() {
    PAINTSTRUCT paint;
    HDC target = BeginPaint(control, &paint);
    Paint(target);
    EndPaint(control, &paint);
}

void SkinButton::Paint(HDC target) {
    ButtonFlags flags = {hover, pressed, disabled, highlighted};
    bool loaded[kButtonFaceCount];
    for (int i = 0; i < kButtonFaceCount; ++i) {
        loaded[i] = faces[i] != NULL;
    }
    int face = ChooseButtonFace(flags, loaded);
    if (face != kNoFace) {
        DrawBitmap(target, faces[face], 0, 0, faceWidth, faceHeight);
    }
    if (label[0] != '\0') {
        RECT client;
        GetClientRect(control, &client);
        SetBkMode(target, TRANSPARENT);
        SetTextColor(target, colours[LabelColourIndex(face)]);
        HGDIOBJ previousFont = SelectObject(target, labelFont);
        DrawTextA(target, label, -1, &client, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        SelectObject(target, previousFont);
    }
    DrawFocusCue(control, target);
}

// Enter on the focused button presses it, as a click does.
void SkinButton::OnKeyDown(WPARAM key, LPARAM flags) {
    const LPARAM kKeyWasDown = 1 << 30;
    if (key == VK_RETURN && !(flags & kKeyWasDown) && !disabled) {
        SendMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(controlId, BN_CLICKED),
                     reinterpret_cast<LPARAM>(control));
    }
}

void SkinButton::OnMouseMove(LPARAM point) {
    if (!hover) {
        RequestHoverAndLeave(control);
    }
    if (pressed) {
        RECT client;
        GetClientRect(control, &client);
        int inside = IsPointerOverButton(LOWORD(point), HIWORD(point), client.right, client.bottom);
        if (inside != hover) {
            hover = inside;
            Repaint(control);
        }
    }
}

void SkinButton::OnMouseHover() {
    if (!pressed) {
        hover = 1;
        Repaint(control);
    }
}

void SkinButton::OnMouseLeave() {
    if (hover) {
        hover = 0;
        Repaint(control);
    }
}

void SkinButton::OnLButtonDown() {
    if (!disabled) {
        pressed = 1;
        Repaint(control);
    }
}

void SkinButton::OnLButtonUp() {
    if (!disabled) {
        pressed = 0;
        Repaint(control);
    }
}

void SkinButton::OnCaptureChanged(HWND newCapture) {
    // The mouse went elsewhere without a button-up: the press is over, as a
    // release away from the button would end it (the push button itself
    // drops its pushed state and makes no click).
    if (pressed && newCapture != control) {
        pressed = 0;
        Repaint(control);
    }
}

LRESULT CALLBACK SkinButton::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SkinButton* self = static_cast<SkinButton*>(WindowObject(window));
    if (!self) {
        return 0;
    }
    switch (message) {
    case WM_PAINT: self->OnPaint(); break;
    case WM_ERASEBKGND: self->Paint(reinterpret_cast<HDC>(wParam)); return 1;
    case WM_MOUSEMOVE: self->OnMouseMove(lParam); break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: self->OnLButtonDown(); break;
    case WM_LBUTTONUP: self->OnLButtonUp(); break;
    case WM_CAPTURECHANGED: self->OnCaptureChanged(reinterpret_cast<HWND>(lParam)); break;
    case WM_MOUSEHOVER: self->OnMouseHover(); break;
    case WM_MOUSELEAVE: self->OnMouseLeave(); break;
    case WM_KEYDOWN: self->OnKeyDown(wParam, lParam); break;
    // The name for screen readers is kept, and answered while disabled too,
    // but never shown: the push button would clear its label's place on the skin.
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_GETDLGCODE: {
        if (self->disabled) {
            return 0; // as every other message, nothing reaches the push button
        }
        // Enter comes to the button itself instead of the dialog's default.
        const MSG* key = reinterpret_cast<const MSG*>(lParam);
        bool enter = key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN;
        LRESULT code = CallWindowProcA(self->previousProc, window, message, wParam, lParam);
        return DialogCodeWithArrows(code) | (enter ? DLGC_WANTMESSAGE : 0);
    }
    default: break;
    }
    if (message == WM_SETFOCUS || message == WM_KILLFOCUS) {
        Repaint(window); // the focus frame comes or goes
    }
    // While disabled the push button itself sees nothing: no click is made.
    if (self->disabled) {
        return 0;
    }
    // The second click of a quick pair is a click too: the push button takes
    // the capture and clicks on release only for a button-down.
    if (message == WM_LBUTTONDBLCLK) {
        message = WM_LBUTTONDOWN;
    }
    return CallWindowProcA(self->previousProc, window, message, wParam, lParam);
}
