#include "skin/font_spec.h"

#include "app/text.h"
#include "skin/face_preference.h"

namespace {

// Shared by every FontSpec. The installed faces are enumerated once per
// process: a machine without any preferred face keeps the platform's default
// face without enumerating again for every font.
FaceChoice faceChoice = NoFaceChosen();
bool facesEnumerated = false;

int PointsToHeight(int points) {
    HDC screen = GetDC(NULL);
    int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    return -MulDiv(points, pixelsPerInch, 72);
}

int CALLBACK OnFontFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM context) {
    ConsiderFace(*reinterpret_cast<FaceChoice*>(context), font->lfFaceName);
    return 1;
}

} // namespace

FontSpec::FontSpec() {
    ZeroMemory(&description, sizeof description);
    description.lfHeight = PointsToHeight(10);
    description.lfWeight = FW_NORMAL;
    description.lfCharSet = DEFAULT_CHARSET;
    if (!facesEnumerated) {
        ChooseFaceName();
    }
    CopyText(description.lfFaceName, LF_FACESIZE, faceChoice.chosenFace);
}

void FontSpec::SetPointSize(int points) { description.lfHeight = PointsToHeight(points); }

void FontSpec::SetWeight(int weight) { description.lfWeight = weight; }

HFONT FontSpec::CreateFontHandle() const { return CreateFontIndirectA(&description); }

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
