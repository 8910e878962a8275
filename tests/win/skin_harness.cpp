#include "skin_harness.h"

#include "res/resource_ids.h"
#include "screenshot.h"

namespace {

std::vector<ReceivedMessage> received;

INT_PTR CALLBACK RecordingDialogProc(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_SEARCH_RELEASE:
        received.push_back({message, wParam, lParam});
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

HWND SkinDialog::window = NULL;

namespace {

const int kGridColumns = 3;
const int kCellWidth = 200;
const int kCellHeight = 40;

BOOL CALLBACK ShowOnGrid(HWND control, LPARAM counter) {
    int& index = *reinterpret_cast<int*>(counter);
    SetWindowPos(control, NULL, 10 + (index % kGridColumns) * kCellWidth,
                 10 + (index / kGridColumns) * kCellHeight, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    ++index;
    return TRUE;
}

} // namespace

SkinDialog::SkinDialog() {
    if (!window) {
        window = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_MAIN), NULL,
                                    RecordingDialogProc, 0);
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 620, 300, SWP_SHOWWINDOW);
    }
    ReleaseCapture();
    int index = 0;
    EnumChildWindows(window, ShowOnGrid, reinterpret_cast<LPARAM>(&index));
    PumpMessages();
    received.clear();
}

HWND SkinDialog::NewControl(int id) {
    HWND old = GetDlgItem(window, id);
    RECT place;
    GetWindowRect(old, &place);
    MapWindowPoints(NULL, window, reinterpret_cast<POINT*>(&place), 2);
    DestroyWindow(old);
    return CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, place.left,
                           place.top, place.right - place.left, place.bottom - place.top, window,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(NULL), NULL);
}

const std::vector<ReceivedMessage>& SkinDialog::Received() const {
    return received;
}

std::vector<int> SkinDialog::ScrollCodes() const {
    std::vector<int> codes;
    for (const ReceivedMessage& m : received) {
        if (m.message == WM_HSCROLL) {
            codes.push_back(LOWORD(m.wParam));
        }
    }
    return codes;
}

void SkinDialog::ClearReceived() {
    received.clear();
}

void SkinDialog::Mouse(HWND control, UINT message, int x, int y) {
    // The tests move the pointer only while the button is held.
    WPARAM keys = message == WM_LBUTTONUP ? 0 : MK_LBUTTON;
    SendMessageA(control, message, keys, MAKELPARAM(x, y));
}

void LoseCapture(HWND control, CaptureLoss loss) {
    if (loss == kCancelMode) {
        SendMessageA(control, WM_CANCELMODE, 0, 0);
        return;
    }
    static HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL,
                                        GetModuleHandleA(NULL), NULL);
    SetCapture(other);
    ReleaseCapture();
}

void RealClicks(HWND control, int x, int y, int count) {
    POINT at = {x, y};
    ClientToScreen(control, &at);
    SetCursorPos(at.x, at.y);
    PumpMessages();
    for (int i = 0; i < count; ++i) {
        for (DWORD flag : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
            INPUT input = {};
            input.type = INPUT_MOUSE;
            input.mi.dwFlags = flag;
            SendInput(1, &input, sizeof input);
            // The control holds the mouse from its press to its release.
            bool pressed = flag == MOUSEEVENTF_LEFTDOWN;
            WaitUntil([&] { return (GetCapture() == control) == pressed; },
                      pressed ? "the control to take the mouse at the press"
                              : "the control to give the mouse back at the release");
        }
    }
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

int ProbeBitmapId(HWND window, int x, int y) {
    UpdateWindow(window);
    return CaptureClientArea(window).BitmapIdAt(x, y);
}

int ProbeCorner(HWND control) {
    RECT client;
    GetClientRect(control, &client);
    return ProbeBitmapId(control, client.right - 1, client.bottom - 1);
}

void WaitForFace(HWND control, int face, const std::string& what) {
    WaitUntil([&] { return ProbeCorner(control) == face; }, what);
}

int LiveGdiObjects() {
    const int kProbes = 2000;
    std::vector<HBRUSH> probes;
    int highest = 0;
    for (int i = 0; i < kProbes; ++i) {
        HBRUSH probe = CreateSolidBrush(RGB(1, 2, 3));
        if (!probe) {
            break;
        }
        probes.push_back(probe);
        int slot = static_cast<int>(reinterpret_cast<ULONG_PTR>(probe) & 0xFFFF);
        highest = slot > highest ? slot : highest;
    }
    for (HBRUSH probe : probes) {
        DeleteObject(probe);
    }
    return highest + 1 - static_cast<int>(probes.size());
}
