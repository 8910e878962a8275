// A horizontal slider drawn from a track and a thumb bitmap: drag the thumb,
// or hold the button on the track to page toward the pointer. Every change
// reaches the parent as WM_HSCROLL with the slider's window.
#ifndef MORVANE_SKIN_SKIN_SLIDER_H
#define MORVANE_SKIN_SKIN_SLIDER_H

#include <windows.h>

#include "skin/slider_track.h"

class SkinSlider {
  public:
    SkinSlider();
    ~SkinSlider();

    // Takes over control; the owner places the thumb with SetValue next.
    void Attach(HWND control, int controlId, int minimum, int maximum, int pageCount,
                UINT trackId, UINT thumbId, UINT disabledThumbId, int margin);
    int GetValue() const;
    void SetValue(int value);
    void SetDisabled(int flag);
    int IsDisabled() const { return disabled; }
    void Hide();
    void Detach();

  private:
    SkinSlider(const SkinSlider&);
    SkinSlider& operator=(const SkinSlider&);

    void DeleteBitmaps();
    void EndPress(SliderPressEnd end);
    void Step(SliderStepKind kind);
    void Notify(int code);
    void OnPaint();
    void Paint(HDC target);
    void OnLButtonDown(LPARAM point);
    void OnMouseMove(LPARAM point);
    void OnLButtonUp();
    void OnCaptureChanged(HWND newCapture);
    void OnTimer();
    void OnKeyDown(WPARAM key);
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND control;
    int controlId;
    SliderGeometry geometry; // range, page count, margin, page step, sizes
    UINT trackId;
    UINT thumbId;
    UINT disabledThumbId;
    WNDPROC previousProc;
    int thumbPos;
    int value; // kept as set until a step moves the thumb
    int disabled;
    HBITMAP track;
    HBITMAP thumb;
    HBITMAP disabledThumb;
    int trackHeight;
    int thumbHeight;
    int buttonDown;
    int lastX;
    int noFinalNotice;
    int dragging;
    int autoRepeat;
};

#endif
