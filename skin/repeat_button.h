// A skinned button for press-and-hold: it posts its command to the parent
// at the press and every 2 s while held, and a release message when let go.
// Space held on the focused button holds it as the mouse does.
#ifndef MORVANE_SKIN_REPEAT_BUTTON_H
#define MORVANE_SKIN_REPEAT_BUTTON_H

#include <windows.h>

#include "skin/skin_button.h"

class RepeatButton {
  public:
    RepeatButton();
    ~RepeatButton();

    void Attach(HWND control, int controlId, UINT normalId, UINT hoverId, UINT pressedId,
                UINT disabledId, UINT releaseMessage);
    void SetLabel(const char* text, COLORREF normalColour, COLORREF hoverColour,
                  COLORREF pressedColour, COLORREF disabledColour) {
        button.SetLabel(text, normalColour, hoverColour, pressedColour, disabledColour);
    }
    void SetDisabled(int flag);
    int IsDisabled() const { return button.IsDisabled(); }
    void SetHighlighted(int flag) { button.SetHighlighted(flag); }
    void Detach();

  private:
    RepeatButton(const RepeatButton&);
    RepeatButton& operator=(const RepeatButton&);

    void OnPress();
    void OnTick();
    void OnRelease();
    void OnCaptureChanged(HWND newCapture);
    void OnKey(UINT message, WPARAM key, LPARAM flags);
    void Repeat();
    void EndHold();
    void StopRepeating();
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // First member: the control's user data points at both objects at once.
    SkinButton button;
    UINT releaseMessage;
    int repeating;
};

#endif
