#include "wizard/streaming_wizard.h"

#include <commctrl.h>
#include <dbt.h>

#include "base/windows_version.h"
#include "camera/camera_link.h"
#include "res/resource_ids.h"
#include "skin/font_spec.h"
#include "skin/skin_bitmap.h"
#include "skin/skin_palette.h"
#include "wizard/page_table.h"
#include "wizard/window_geometry.h"

namespace {

const char kWindowTitle[] = "Morvane";
const UINT kStatusPollMs = 2000;
const int kInitialVolume = 5000;
const DWORD kFirstRunPauseMs = 5000;
// The layout is drawn for a background of this size; used if it cannot be read.
const int kLayoutWidth = 349;
const int kLayoutHeight = 560;

// {65E8773D-8F56-11D0-A3B9-00A0C9223196}: capture devices come and go.
const GUID kCaptureCategory = {
    0x65E8773D, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};

// Device notifications are missing on Windows 95 and NT 4: resolved at run time.
typedef HDEVNOTIFY(WINAPI* RegisterDeviceNotificationProc)(HANDLE, LPVOID, DWORD);
typedef BOOL(WINAPI* UnregisterDeviceNotificationProc)(HDEVNOTIFY);
RegisterDeviceNotificationProc registerDeviceNotification = NULL;
UnregisterDeviceNotificationProc unregisterDeviceNotification = NULL;
HDEVNOTIFY notificationHandle = NULL;

void SetAreaRect(RECT* rect, const PageArea& area) {
    SetRect(rect, area.left, area.top, area.right, area.bottom);
}

} // namespace

// Every field starts as zeroed storage would have it, bar the few with a
// value of their own (the volume at full).
StreamingWizard::StreamingWizard(HWND window, DLGPROC aboutBoxProc)
    : hwnd(window), page(0), transportState(0), arrivalTimerActive(0), muted(0), draggingWindow(0),
      dragAnchor(), headingText(), headingNote(), captionText(), bodyText(), bodyRect(),
      captionRect(), headingRect(), introBodyRect(), background(NULL), backgroundWidth(0),
      backgroundHeight(0), link(NULL), audioDevice(), quality(0), brightness(0), savedAudioDevice(),
      savedQuality(0), savedBrightness(0), volume(kInitialVolume), comboCount(0), firstRun(0),
      searching(0), deckAnswerWait(), focusOnReturn(0), wizardEnded(0), aboutBox(aboutBoxProc) {
    graph.SetOwnerWindow(hwnd);
    SetTimer(hwnd, TIMER_STATUS_POLL, kStatusPollMs, NULL);
}

StreamingWizard::~StreamingWizard() {
    delete link;
    link = NULL;
    if (background) {
        DeleteObject(background);
    }
    KillTimer(hwnd, TIMER_STATUS_POLL);
    CancelReattachTimer();
    // Members go next, in reverse record order: the graph tears down, the
    // controls detach.
}

void StreamingWizard::OnInitDialog(WPARAM, LPARAM) {
    InitCommonControls();
    graph.SetVideoRect(14, 82, 320, 240);
    SetWindowTextA(hwnd, kWindowTitle);
    SetWindowLongPtrA(hwnd, GWL_STYLE, WS_SYSMENU);
    HINSTANCE module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hwnd, GWLP_HINSTANCE));
    HICON icon = LoadIconA(module, MAKEINTRESOURCEA(IDI_APP));
    PostMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    RegisterDeviceNotifications();
    LoadSettings();
    graph.SetPreferredAudioDevice(audioDevice);
    graph.SetSelection(0);
    AttachControls();
    SetSliderValues();
    LoadBackground();
    PlaceWindow();
    // Made once the window stands among the topmost windows: a tip window it
    // already owned kept Wine from putting it there.
    AddPictureTips();
    PlaceControls();
    SetTextRects();
    PauseOnFirstRun();
    ShowWindow(hwnd, SW_SHOWNORMAL);
    AttachCamera();
}

void StreamingWizard::RegisterDeviceNotifications() {
    DEV_BROADCAST_DEVICEINTERFACE_A filter;
    ZeroMemory(&filter, sizeof filter);
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = kCaptureCategory;

    registerDeviceNotification = NULL;
    unregisterDeviceNotification = NULL;
    HMODULE user32 = GetModuleHandleA("user32.dll");
    unregisterDeviceNotification = reinterpret_cast<UnregisterDeviceNotificationProc>(
        reinterpret_cast<void*>(GetProcAddress(user32, "UnregisterDeviceNotification")));
    registerDeviceNotification = reinterpret_cast<RegisterDeviceNotificationProc>(
        reinterpret_cast<void*>(GetProcAddress(user32, "RegisterDeviceNotificationA")));
    notificationHandle = NULL;
    if (registerDeviceNotification) {
        notificationHandle = registerDeviceNotification(hwnd, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    }
}

void StreamingWizard::LoadBackground() {
    background = LoadSkinBitmap(WindowModule(hwnd), IDB_BACKGROUND);
    if (!ReadBitmapSize(background, &backgroundWidth, &backgroundHeight)) {
        backgroundWidth = kLayoutWidth;
        backgroundHeight = kLayoutHeight;
    }
}

void StreamingWizard::PlaceWindow() {
    WindowOrigin origin =
        CenterOnScreen(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                       backgroundWidth, backgroundHeight);
    // The window stays above the others, except on a first run.
    HWND insertAfter = firstRun ? HWND_TOP : HWND_TOPMOST;
    SetWindowPos(hwnd, insertAfter, origin.x, origin.y, backgroundWidth, backgroundHeight,
                 SWP_SHOWWINDOW);
}

void StreamingWizard::SetTextRects() {
    SetAreaRect(&headingRect, kHeadingArea);
    SetAreaRect(&captionRect, kCaptionArea);
    SetAreaRect(&bodyRect, kBodyArea);
    SetAreaRect(&introBodyRect, kIntroBodyArea);
}

void StreamingWizard::PauseOnFirstRun() {
    // Windows 95, 98 and Me get 5 s on a first run before the camera is
    // attached; later runs and other systems go on at once.
    WindowsVersion version;
    if (firstRun && QueryWindowsVersion(&version) && IsWindows9x(version)) {
        Sleep(kFirstRunPauseMs);
    }
}

void StreamingWizard::OnPaint(UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        Paint(dc);
        EndPaint(hwnd, &paint);
    } else if (message == WM_ERASEBKGND) {
        Paint(reinterpret_cast<HDC>(wParam));
    }
}

void StreamingWizard::Paint(HDC target) {
    if (background) {
        DrawBitmap(target, background, 0, 0, backgroundWidth, backgroundHeight);
    }
    SetBkMode(target, TRANSPARENT);
    SetTextColor(target, RGB(0, 0, 0));

    // Each text in a font that fits its box.
    FontSpec headingSpec;
    headingSpec.SetPointSize(11);
    FontSpec textSpec;
    textSpec.SetPointSize(10);
    headingFit.Draw(target, headingSpec, headingText, headingRect, DT_SINGLELINE);
    noteFit.Draw(target, headingSpec, headingNote, headingRect, DT_SINGLELINE | DT_RIGHT);
    captionFit.Draw(target, textSpec, captionText, captionRect, DT_SINGLELINE);
    if (page != 0) {
        bodyFit.Draw(target, textSpec, bodyText, bodyRect, DT_WORDBREAK);
    } else {
        // Page 0 shows a white bar above its longer body text.
        HPEN nullPen = CreatePen(PS_NULL, 1, RGB(0, 0, 0));
        HGDIOBJ previousPen = SelectObject(target, nullPen);
        HGDIOBJ previousBrush = SelectObject(target, GetStockObject(WHITE_BRUSH));
        Rectangle(target, 11, 418, 339, 421);
        SelectObject(target, previousPen);
        SelectObject(target, previousBrush);
        DeleteObject(nullPen);
        bodyFit.Draw(target, textSpec, bodyText, introBodyRect, DT_WORDBREAK);
    }
}

void StreamingWizard::OnLButtonDown(WPARAM, LPARAM lParam) {
    dragAnchor = PointOfMessage(lParam);
    if (IsAboutHotSpot(dragAnchor.x, dragAnchor.y)) {
        OpenAboutBox();
        return;
    }
    draggingWindow = 1;
    SetCapture(hwnd);
}

void StreamingWizard::OpenAboutBox() {
    DialogBoxParamA(WindowModule(hwnd), MAKEINTRESOURCEA(IDD_ABOUT), hwnd, aboutBox, 0);
}

void StreamingWizard::OnMouseMove(WPARAM, LPARAM lParam) {
    if (draggingWindow) {
        FollowDrag(hwnd, dragAnchor, lParam);
    }
}

void StreamingWizard::OnLButtonUp(WPARAM, LPARAM) {
    draggingWindow = 0;
    ReleaseCapture();
}

void StreamingWizard::OnCaptureChanged(WPARAM, LPARAM lParam) {
    // The mouse went elsewhere without a button-up (another window took it,
    // a cancelled mode): the window stops following the pointer.
    if (reinterpret_cast<HWND>(lParam) != hwnd) {
        draggingWindow = 0;
    }
}

void StreamingWizard::OnDisplayChange(WPARAM wParam, LPARAM lParam) {
    graph.NotifyOwnerMessage(WM_DISPLAYCHANGE, wParam, lParam);
    SetWindowPos(hwnd, NULL, 0, 0, backgroundWidth, backgroundHeight, SWP_NOMOVE);
    // The window has no caption: a smaller screen must not take away the
    // strip it is dragged by, nor leave its buttons out of reach.
    KeepWindowReachable(hwnd);
    // A screen that now has 256 colours takes the skin's palette.
    RealizeSkinPalette(hwnd, graph.ShowsPicture());
}

INT_PTR StreamingWizard::OnPaletteMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // The picture realises its palette first; the skin takes what is left.
    graph.NotifyOwnerMessage(message, wParam, lParam);
    return AnswerPaletteMessage(hwnd, message, wParam, graph.ShowsPicture());
}

void StreamingWizard::OnSysColorChange(WPARAM wParam, LPARAM lParam) {
    graph.NotifyOwnerMessage(WM_SYSCOLORCHANGE, wParam, lParam);
}

void StreamingWizard::OnGetMinMaxInfo(WPARAM, LPARAM lParam) {
    // The system keeps a window within the screen's height unless told
    // otherwise: on a low screen that would cut off the buttons at the bottom.
    MINMAXINFO* limits = reinterpret_cast<MINMAXINFO*>(lParam);
    if (limits->ptMaxTrackSize.x < backgroundWidth) {
        limits->ptMaxTrackSize.x = backgroundWidth;
    }
    if (limits->ptMaxTrackSize.y < backgroundHeight) {
        limits->ptMaxTrackSize.y = backgroundHeight;
    }
}

void StreamingWizard::OnMinimize(WPARAM, LPARAM) {
    ShowWindow(hwnd, SW_MINIMIZE);
}

void StreamingWizard::OnClose(WPARAM, LPARAM) {
    // Closing ends the wizard: a press that still reaches it stores nothing.
    wizardEnded = 1;
    if (notificationHandle) {
        unregisterDeviceNotification(notificationHandle);
        notificationHandle = NULL;
    }
    // The deck stops on closing, whether or not the Stop button can be used.
    RunDeckCommand(kButtonStop);
    // The preview goes while its video window's owner still stands; the
    // tear-down at exit then finds nothing left.
    graph.TearDown();
    EndDialog(hwnd, 0);
}
