#include "app/main_dialog.h"

#include <new>
#include <stdlib.h>

#include "app/about_box.h"
#include "res/resource_ids.h"
#include "wizard/streaming_wizard.h"

namespace {

// The one StreamingWizard lives in static storage, built on the first message.
alignas(StreamingWizard) unsigned char wizardStorage[sizeof(StreamingWizard)];
StreamingWizard* wizard = nullptr;
bool wizardConstructed = false;
HWND mainWindow = NULL;
HHOOK dialogKeyFilter = NULL;

void DestroyWizard() { wizard->~StreamingWizard(); }

// Tab pressed in the main window on a control that leaves Tab to the dialog,
// as IsDialogMessage tells them apart.
bool IsRouteTab(const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_TAB ||
        (message.hwnd != mainWindow && !IsChild(mainWindow, message.hwnd))) {
        return false;
    }
    LRESULT code = SendMessageA(message.hwnd, WM_GETDLGCODE, message.wParam,
                                reinterpret_cast<LPARAM>(&message));
    return !(code & DLGC_WANTTAB);
}

// Tab and Shift+Tab walk the route from the message filter that the dialog
// loop and IsDialogMessage call before they handle a message, on every
// Windows from 95 on: the walk needs neither WS_TABSTOP on the controls nor
// a dialog manager that sends WM_NEXTDLGCTL for Tab.
LRESULT CALLBACK FilterDialogKey(int code, WPARAM wParam, LPARAM lParam) {
    if (code == MSGF_DIALOGBOX && IsRouteTab(*reinterpret_cast<const MSG*>(lParam))) {
        wizard->OnNextControl(GetKeyState(VK_SHIFT) < 0, 0);
        return 1;
    }
    return CallNextHookEx(dialogKeyFilter, code, wParam, lParam);
}

void StartKeyFilter(HWND window) {
    mainWindow = window;
    dialogKeyFilter = SetWindowsHookExA(WH_MSGFILTER, FilterDialogKey, NULL, GetCurrentThreadId());
}

void StopKeyFilter() {
    if (dialogKeyFilter) {
        UnhookWindowsHookEx(dialogKeyFilter);
        dialogKeyFilter = NULL;
    }
}

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
    case WM_SYSCOLORCHANGE: wizard->OnSysColorChange(wParam, lParam); break;
    case WM_QUERYNEWPALETTE:
    case WM_PALETTECHANGED: return wizard->OnPaletteMessage(message, wParam, lParam);
    case WM_SETFOCUS: return 1; // the dialog manager would hand the focus to a control
    // The dialog manager would give the focus back to the control it saved,
    // which a page shown since may hide: the wizard places it.
    case WM_ACTIVATE:
        wizard->OnActivate(wParam, lParam);
        return 1;
    case WM_NEXTDLGCTL:
        // Asked for the next or previous control: the wizard walks its
        // controls in reading order.
        if (!LOWORD(lParam)) {
            wizard->OnNextControl(wParam, lParam);
            return 1;
        }
        break;
    case WM_INITDIALOG:
        StartKeyFilter(window);
        wizard->OnInitDialog(wParam, lParam);
        break;
    case WM_DESTROY:
        StopKeyFilter();
        break;
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
