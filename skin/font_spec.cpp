#include "skin/font_spec.h"

#include "base/text.h"
#include "skin/face_preference.h"
#include "skin/skin_bitmap.h"
#include "skin/text_fit.h"

namespace {

// Shared by every FontSpec. The installed faces are enumerated once per
// process: a machine without any preferred face keeps the platform's default
// face without enumerating again for every font.
FaceChoice faceChoice = NoFaceChosen();
bool facesEnumerated = false;

int CALLBACK OnFontFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM context) {
    ConsiderFace(*reinterpret_cast<FaceChoice*>(context), font->lfFaceName);
    return 1;
}

} // namespace

FontSpec::FontSpec() {
    ZeroMemory(&description, sizeof description);
    description.lfHeight = DesignTextHeight(10);
    description.lfWeight = FW_NORMAL;
    description.lfCharSet = DEFAULT_CHARSET;
    if (!facesEnumerated) {
        ChooseFaceName();
    }
    CopyText(description.lfFaceName, LF_FACESIZE, faceChoice.chosenFace);
}

void FontSpec::SetPointSize(int points) { description.lfHeight = DesignTextHeight(points); }

void FontSpec::SetWeight(int weight) { description.lfWeight = weight; }

HFONT FontSpec::CreateFontHandle() const { return CreateFontIndirectA(&description); }

HFONT FontSpec::CreateFittingFont(HDC dc, const char* text, const RECT& box, UINT format) const {
    LOGFONTA fitted = description;
    const int boxWidth = box.right - box.left;
    const int boxHeight = box.bottom - box.top;
    // The font of the last height measured: the answer when that height fits.
    HFONT measured = NULL;
    int measuredHeight = 0;
    int height = FittingTextHeight(description.lfHeight, boxWidth, boxHeight, [&](int tried) {
        DeleteGdiObject(measured);
        fitted.lfHeight = tried;
        measured = CreateFontIndirectA(&fitted);
        measuredHeight = tried;
        TextExtent extent = {0, 0};
        if (!measured) {
            return extent; // nothing to measure with: keep this height
        }
        HGDIOBJ previous = SelectObject(dc, measured);
        RECT needed = {0, 0, boxWidth, 0};
        DrawTextA(dc, text, -1, &needed, format | DT_CALCRECT);
        SelectObject(dc, previous);
        extent.width = needed.right;
        extent.height = needed.bottom;
        return extent;
    });
    if (measured && measuredHeight == height) {
        return measured;
    }
    DeleteGdiObject(measured);
    fitted.lfHeight = height;
    return CreateFontIndirectA(&fitted);
}

void DrawFittedText(HDC dc, const FontSpec& spec, const char* text, const RECT& box, UINT format) {
    FittedText once;
    once.Draw(dc, spec, text, box, format);
}

void FittedText::Forget() { DeleteGdiObject(font); }

void FittedText::Draw(HDC dc, const FontSpec& spec, const char* text, const RECT& box,
                      UINT format) {
    if (text[0] == '\0') {
        return;
    }
    if (!font) {
        font = spec.CreateFittingFont(dc, text, box, format);
    }
    HGDIOBJ previous = SelectObject(dc, font);
    RECT place = box;
    DrawTextA(dc, text, -1, &place, format);
    SelectObject(dc, previous);
}

void FontSpec::ChooseFaceName() {
    LOGFONTA everyFace;
    ZeroMemory(&everyFace, sizeof everyFace);
    everyFace.lfCharSet = DEFAULT_CHARSET;
    HDC screen = GetDC(NULL);
    // A failed enumeration (it answers 0) is tried again by the next FontSpec.
    facesEnumerated = EnumFontFamiliesExA(screen, &everyFace, OnFontFamily,
                                          reinterpret_cast<LPARAM>(&faceChoice), 0) != 0;
    ReleaseDC(NULL, screen);
}
