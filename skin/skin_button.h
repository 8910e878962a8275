// skin/: the window's look: skinned buttons, sliders, bitmaps, palette, fonts, fitted text.
//
// A push button drawn from bitmaps: four faces chosen from hover, press,
// disabled and highlighted, with an optional centred label.
#ifndef MORVANE_SKIN_SKIN_BUTTON_H
#define MORVANE_SKIN_SKIN_BUTTON_H

#include <windows.h>

#include "skin/button_face.h"

const int kLabelSize = 260;

class SkinButton {
  public:
    SkinButton();
    ~SkinButton();

    // Takes over control; may be called again with a new control. Bitmap IDs
    // of 0 leave their face empty.
    void Attach(HWND control, int controlId, UINT normalId, UINT hoverId, UINT pressedId,
                UINT disabledId);
    // The label is drawn on every face and is the control's name as well.
    void SetLabel(const char* text, COLORREF normalColour, COLORREF hoverColour,
                  COLORREF pressedColour, COLORREF disabledColour);
    void SetDisabled(int flag);
    void SetHighlighted(int flag);
    void Detach();

    // For the repeat button that runs on top of this one.
    HWND Control() const { return control; }
    int ControlId() const { return controlId; }
    int IsPressed() const { return pressed; }
    int IsDisabled() const { return disabled; }
    void OnLButtonDown();
    void OnLButtonUp();
    void OnCaptureChanged(HWND newCapture);
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  private:
    SkinButton(const SkinButton&);
    SkinButton& operator=(const SkinButton&);

    void LoadFaces();
    void DeleteFaces();
    void EndPress();
    void OnPaint();
    void Paint(HDC target);
    void OnMouseMove(LPARAM point);
    void OnMouseHover();
    void OnMouseLeave();
    void OnKeyDown(WPARAM key, LPARAM flags);

    HWND control;
    int controlId;
    UINT faceIds[kButtonFaceCount];
    char label[kLabelSize];
    COLORREF colours[kButtonFaceCount];
    WNDPROC previousProc;
    int hover;
    int pressed;
    int disabled;
    int highlighted;
    HBITMAP faces[kButtonFaceCount];
    HFONT labelFont;
    int faceWidth;
    int faceHeight;
};

// Sets a label in the house colours: black at rest, white on the dark hover
// and pressed faces, grey when disabled.
void SetButtonLabel(SkinButton& button, const char* text);

#endif
