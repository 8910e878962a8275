#include "skin/button_face.h"

int ChooseButtonFace(const ButtonFlags& flags, const bool faceLoaded[kButtonFaceCount]) {
    if (flags.disabled && faceLoaded[kFaceDisabled]) {
        return kFaceDisabled;
    }
    if (flags.highlighted && faceLoaded[kFacePressed]) {
        return kFacePressed;
    }
    if (flags.hover && flags.pressed && faceLoaded[kFacePressed]) {
        return kFacePressed;
    }
    if (flags.hover && faceLoaded[kFaceHover]) {
        return kFaceHover;
    }
    if (faceLoaded[kFaceNormal]) {
        return kFaceNormal;
    }
    return kNoFace;
}

int LabelColourIndex(int face) { return face == kNoFace ? kFaceNormal : face; }

bool IsPointerOverButton(unsigned int x, unsigned int y, int width, int height) {
    return width >= 0 && height >= 0 && x <= static_cast<unsigned int>(width) &&
           y <= static_cast<unsigned int>(height);
}
