#include "skin/skin_palette.h"

namespace {

const PALETTEENTRY kSkinColours[] = {
#include "skin_palette.inc"
};
const int kSkinColourCount = sizeof kSkinColours / sizeof kSkinColours[0];

struct SkinLogPalette {
    WORD version;
    WORD count;
    PALETTEENTRY entries[kSkinColourCount];
};

// Made on the first paint on a palette screen; it lives as long as the
// process, as every window of the program draws with it.
HPALETTE skinPalette = NULL;

bool HasPalette(HDC dc) {
    return (GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) != 0;
}

HPALETTE SkinPalette() {
    if (!skinPalette) {
        SkinLogPalette colours;
        colours.version = 0x300;
        colours.count = kSkinColourCount;
        for (int i = 0; i < kSkinColourCount; ++i) {
            colours.entries[i] = kSkinColours[i];
        }
        skinPalette = CreatePalette(reinterpret_cast<LOGPALETTE*>(&colours));
    }
    return skinPalette;
}

// Selects the skin's palette into dc and realises it, when dc's device has
// a palette.
UINT RealizeIn(HDC dc, bool background) {
    if (!HasPalette(dc) || !SkinPalette()) {
        return 0;
    }
    SelectPalette(dc, skinPalette, background ? TRUE : FALSE);
    return RealizePalette(dc);
}

} // namespace

UINT UseSkinPalette(HDC dc) {
    // The skin's colours reach the system palette when its window realises
    // them (RealizeSkinPalette); a paint, on every poll, must not take them
    // back from the picture.
    return RealizeIn(dc, true);
}

bool RealizeSkinPalette(HWND window, bool behindPicture) {
    HDC dc = GetDC(window);
    if (!dc) {
        return false;
    }
    UINT changed = RealizeIn(dc, behindPicture);
    ReleaseDC(window, dc);
    if (changed == 0 || changed == GDI_ERROR) {
        return false;
    }
    RedrawWindow(window, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return true;
}

INT_PTR AnswerPaletteMessage(HWND dialog, UINT message, WPARAM wParam, bool behindPicture) {
    if (message == WM_QUERYNEWPALETTE) {
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, RealizeSkinPalette(dialog, behindPicture));
        return TRUE;
    }
    HWND changer = reinterpret_cast<HWND>(wParam);
    if (changer != dialog && !IsChild(dialog, changer)) {
        RealizeSkinPalette(dialog, behindPicture);
    }
    return FALSE;
}
