// The process-wide choice of a font face among the installed ones, against a
// fixed list of preferred names (Japanese interface faces first, Western
// faces last). Platform-free: names are compared as ANSI bytes, the Japanese
// entries in code page 932.
#ifndef MORVANE_SKIN_FACE_PREFERENCE_H
#define MORVANE_SKIN_FACE_PREFERENCE_H

const int kFaceNameSize = 32;
const int kFacePreferenceCount = 9;
const int kNoPreference = 10;

extern const char* const facePreferences[kFacePreferenceCount];

struct FaceChoice {
    char chosenFace[kFaceNameSize]; // as reported, at most 31 characters
    int bestPreference;             // index of the entry the choice matched
};

// A choice with nothing chosen yet.
FaceChoice NoFaceChosen();

// Weighs one reported face against the current choice and takes it when it
// matches an entry at least as preferred (see face_preference.cpp).
void ConsiderFace(FaceChoice& choice, const char* reportedFace);

#endif
