// The about box, opened from the logo in the window's top-left corner.
#include "app/about_box.h"

#include <new>
#include <stdlib.h>

#include "base/library_text.h"
#include "res/resource_ids.h"
#include "res/version.h"
#include "skin/font_spec.h"
#include "skin/skin_bitmap.h"
#include "skin/skin_button.h"
#include "skin/skin_palette.h"
#include "wizard/streaming_wizard.h"
#include "wizard/window_drag.h"

const char kAboutCopyright[] = MORVANE_COPYRIGHT;
const char kAboutVersion[] = "Morvane Ver " MORVANE_VERSION_TEXT;

namespace {

const int kTextPoints = 11;
const int kTitleWeight = 700;
const int kTitleSize = 260;
const COLORREF kInk = RGB(0, 0, 0);
const COLORREF kTitleInk = RGB(63, 63, 63);
const COLORREF kTitleShadow = RGB(255, 255, 255);
// The box is laid out for a background of this size; used if it cannot be
// read, so that both buttons stay inside the box.
const int kLayoutWidth = 395;
const int kLayoutHeight = 234;

// The objects that outlive one opening: made on the first message the box
// ever receives, re-attached at each opening, destroyed at process exit.
struct AboutBoxParts {
    FontSpec textFontSpec;
    SkinButton okButton;
    SkinButton closeButton;
};
alignas(AboutBoxParts) unsigned char partsStorage[sizeof(AboutBoxParts)];
AboutBoxParts* parts = nullptr;

// What one opening loads; only one box is open at a time.
HBITMAP background = NULL;
int backgroundWidth = 0;
int backgroundHeight = 0;
char titleText[kTitleSize];
RECT copyrightRect;
RECT versionRect;
int dragging = 0;
DragAnchor pressPoint;

void DestroyParts() {
    parts->~AboutBoxParts();
}

void MakePartsOnce() {
    if (!parts) {
        parts = new (partsStorage) AboutBoxParts;
        atexit(DestroyParts);
    }
}

void MoveControl(HWND box, int id, int x, int y) {
    SetWindowPos(GetDlgItem(box, id), NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void OnInitDialog(HWND box) {
    background = LoadSkinBitmap(WindowModule(box), IDB_ABOUT_BACKGROUND);
    if (!ReadBitmapSize(background, &backgroundWidth, &backgroundHeight)) {
        backgroundWidth = kLayoutWidth;
        backgroundHeight = kLayoutHeight;
    }
    SetWindowPos(box, NULL, 0, 0, backgroundWidth, backgroundHeight, SWP_NOMOVE | SWP_NOZORDER);
    KeepWindowReachable(box);

    parts->textFontSpec.SetPointSize(kTextPoints);
    SetRect(&copyrightRect, 30, 72, backgroundWidth - 30, backgroundHeight - 50);
    SetRect(&versionRect, 30, 100, backgroundWidth - 30, backgroundHeight - 50);
    MoveControl(box, IDC_CLOSE, 362, 5);
    MoveControl(box, IDC_ABOUT_OK, 290, 176);

    char okLabel[kTitleSize];
    LoadLibraryText(resourceLibrary, IDS_ABOUT_OK, okLabel, sizeof okLabel);
    parts->okButton.Attach(GetDlgItem(box, IDC_ABOUT_OK), IDC_ABOUT_OK, IDB_OK_NORMAL, IDB_OK_HOVER,
                           IDB_OK_PRESSED, IDB_OK_PRESSED);
    SetButtonLabel(parts->okButton, okLabel);
    parts->closeButton.Attach(GetDlgItem(box, IDC_CLOSE), IDC_CLOSE, IDB_CLOSE_NORMAL,
                              IDB_CLOSE_HOVER, IDB_CLOSE_PRESSED, IDB_CLOSE_DISABLED);
    LoadLibraryText(resourceLibrary, IDS_ABOUT_TITLE, titleText, sizeof titleText);
    NameControl(resourceLibrary, box, IDC_CLOSE, IDS_NAME_CLOSE);
}

void DrawTitle(HDC dc) {
    FontSpec titleSpec;
    titleSpec.SetPointSize(kTextPoints);
    titleSpec.SetWeight(kTitleWeight);
    SetBkMode(dc, TRANSPARENT);
    // Tall enough for a whole line of the title, its shadow one pixel lower,
    // and as wide as the strip left of the close button.
    RECT title;
    SetRect(&title, 10, 8, 356, 32);
    RECT shadow = title;
    OffsetRect(&shadow, 1, 1);
    SetTextColor(dc, kTitleShadow);
    DrawFittedText(dc, titleSpec, titleText, shadow, DT_SINGLELINE);
    SetTextColor(dc, kTitleInk);
    DrawFittedText(dc, titleSpec, titleText, title, DT_SINGLELINE);
}

void Paint(HDC dc) {
    if (background) {
        DrawBitmap(dc, background, 0, 0, backgroundWidth, backgroundHeight);
    } else {
        RECT whole = {0, 0, backgroundWidth, backgroundHeight};
        FillRect(dc, &whole, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    SetTextColor(dc, kInk);
    SetBkMode(dc, TRANSPARENT);
    DrawFittedText(dc, parts->textFontSpec, kAboutCopyright, copyrightRect, DT_WORDBREAK);
    DrawFittedText(dc, parts->textFontSpec, kAboutVersion, versionRect, DT_WORDBREAK);
    DrawTitle(dc);
}

void OnPaint(HWND box) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(box, &paint);
    Paint(dc);
    EndPaint(box, &paint);
}

INT_PTR OnCommand(HWND box, WPARAM wParam) {
    int id = LOWORD(wParam);
    if (id != IDC_CLOSE && id != IDC_ABOUT_OK) {
        return 0; // Escape and Enter among them: only the two buttons close the box
    }
    EndDialog(box, 1);
    return 1;
}

void OnLButtonDown(HWND box, LPARAM point) {
    dragging = 1;
    pressPoint = PointOfMessage(point);
    SetCapture(box);
}

void OnMouseMove(HWND box, LPARAM point) {
    if (dragging) {
        FollowDrag(box, pressPoint, point);
    }
}

void OnLButtonUp() {
    dragging = 0;
    ReleaseCapture();
}

void OnCaptureChanged(HWND box, HWND newCapture) {
    // The mouse went elsewhere without a button-up: the box stays put.
    if (newCapture != box) {
        dragging = 0;
    }
}

void OnDestroy() {
    // The buttons keep their faces and label until the next opening replaces them.
    DeleteGdiObject(background);
}

} // namespace

INT_PTR CALLBACK AboutBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    MakePartsOnce();
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(box);
        break; // no default focus
    case WM_PAINT:
        OnPaint(box);
        break;
    case WM_ERASEBKGND:
        Paint(reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_COMMAND:
        return OnCommand(box, wParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: // each click of a quick pair
        OnLButtonDown(box, lParam);
        break;
    case WM_CAPTURECHANGED:
        OnCaptureChanged(box, reinterpret_cast<HWND>(lParam));
        break;
    case WM_QUERYNEWPALETTE:
    case WM_PALETTECHANGED:
        return AnswerPaletteMessage(box, message, wParam, false);
    case WM_MOUSEMOVE:
        OnMouseMove(box, lParam);
        break;
    case WM_LBUTTONUP:
        OnLButtonUp();
        break;
    case WM_DESTROY:
        OnDestroy();
        break;
    default:
        break;
    }
    return 0;
}
