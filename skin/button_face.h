// Which face a skinned button shows and where its pressed pointer is.
// Platform-free.
#ifndef MORVANE_SKIN_BUTTON_FACE_H
#define MORVANE_SKIN_BUTTON_FACE_H

// The four faces of a button, in the order of its bitmap IDs and colours.
enum ButtonFace { kFaceNormal = 0, kFaceHover = 1, kFacePressed = 2, kFaceDisabled = 3 };
const int kButtonFaceCount = 4;
const int kNoFace = -1;

struct ButtonFlags {
    int hover;       // the pointer is over the button
    int pressed;     // the left button went down on it and is still down
    int disabled;    // set by the owner
    int highlighted; // set by the owner: the latched pressed look
};

// The face to draw, or kNoFace when none of the candidates was loaded.
// The label colour is the one of the same index; a missing face falls
// through to the next rule, so a disabled button without a disabled face
// looks like an enabled one.
int ChooseButtonFace(const ButtonFlags& flags, const bool faceLoaded[kButtonFaceCount]);

// The colour of the label drawn over a face; with no face at all, the
// normal colour.
int LabelColourIndex(int face);

// During a press the pointer counts as over the button when it lies in the
// client rectangle with both edges inclusive. The coordinates are the
// message's unsigned 16-bit halves, so a point left of or above the button
// (a negative coordinate) is far outside.
bool IsPointerOverButton(unsigned int x, unsigned int y, int width, int height);

#endif
