#include "app/main_dialog.h"

#include <new>
#include <stdlib.h>

#include "app/about_box.h"
#include "res/resource_ids.h"
#include "skin/skin_palette.h"
#include "wizard/streaming_wizard.h"

namespace {

// The one StreamingWizard lives in static storage, built on the first message.
alignas(StreamingWizard) unsigned char wizardStorage[sizeof(StreamingWizard)];
StreamingWizard* wizard = nullptr;
bool wizardConstructed = false;

void DestroyWizard() { wizard->~StreamingWizard(); }

void RouteCommand(WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case IDC_AUDIO_DEVICE: wizard->OnAudioDeviceSelected(wParam, lParam); break;
    case IDC_PLAY: wizard->OnPlay(wParam, lParam); break;
    case IDC_FORWARD: wizard->OnFastForward(wParam, lParam); break;
    case IDC_REWIND: wizard->OnRewind(wParam, lParam); break;
    case IDC_STOP: wizard->OnStop(wParam, lParam); break;
    case IDC_MUTE: wizard->ToggleMute(wParam, lParam); break;
    case IDC_QUALITY_RESET: wizard->ResetQuality(wParam, lParam); break;
    case IDC_BRIGHTNESS_RESET: wizard->ResetBrightness(wParam, lParam); break;
    case IDC_NEXT: wizard->OnNext(wParam, lParam); break;
    case IDC_PREV: wizard->OnPrev(wParam, lParam); break;
    case IDC_CANCEL: wizard->EndWizard(wParam, lParam); break;
    case IDC_PAUSE: wizard->OnPause(wParam, lParam); break;
    case IDC_CLOSE: wizard->EndWizard(wParam, lParam); break;
    case IDC_MINIMIZE: wizard->OnMinimize(wParam, lParam); break;
    // Enter with no button focused (IDOK) and Escape (IDCANCEL) do nothing: the
    // wizard ends through Cancel, Close, Finish or a WM_CLOSE alone.
    default:
        break;
    }
}

} // namespace

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!wizardConstructed) {
        wizard = new (wizardStorage) StreamingWizard(window, AboutBoxProc);
        wizardConstructed = true;
        atexit(DestroyWizard);
    }
    switch (message) {
    case WM_PAINT: wizard->OnPaint(message, wParam, lParam); break;
    case WM_ERASEBKGND: wizard->OnPaint(message, wParam, lParam); return 1;
    case WM_CLOSE: wizard->OnClose(wParam, lParam); break;
    case WM_DISPLAYCHANGE: wizard->OnDisplayChange(wParam, lParam); break;
    case WM_GETMINMAXINFO: wizard->OnGetMinMaxInfo(wParam, lParam); break;
    case WM_QUERYNEWPALETTE:
    case WM_PALETTECHANGED: return AnswerPaletteMessage(window, message, wParam);
    case WM_SETFOCUS: return 1; // the dialog manager would hand the focus to a control
    case WM_NEXTDLGCTL:
        // Tab and Shift+Tab: the wizard walks its controls in reading order.
        if (!LOWORD(lParam)) {
            wizard->OnNextControl(wParam, lParam);
            return 1;
        }
        break;
    case WM_INITDIALOG: wizard->OnInitDialog(wParam, lParam); break;
    case WM_COMMAND: RouteCommand(wParam, lParam); break;
    case WM_TIMER: wizard->OnTimer(wParam, lParam); break;
    case WM_HSCROLL: wizard->OnSliderScroll(wParam, lParam); break;
    case WM_MOUSEMOVE: wizard->OnMouseMove(wParam, lParam); break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: wizard->OnLButtonDown(wParam, lParam); break;
    case WM_LBUTTONUP: wizard->OnLButtonUp(wParam, lParam); break;
    case WM_CAPTURECHANGED: wizard->OnCaptureChanged(wParam, lParam); break;
    case WM_DEVICECHANGE: wizard->OnDeviceChange(wParam, lParam); break;
    case WM_SEARCH_RELEASE: wizard->OnSearchRelease(wParam, lParam); break;
    case WM_GRAPH_EVENT: wizard->OnGraphEvent(wParam, lParam); break;
    default: break;
    }
    return 0;
}
