#include "skin/face_preference.h"

#include "base/text.h"

const char* const facePreferences[kFacePreferenceCount] = {
    "UI GOTHIC",
    "\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E", // P gothic, full-width P
    "\x83\x53\x83\x56\x83\x62\x83\x4E",         // gothic
    "PGOTHIC",
    "GOTHIC",
    "\x82\x6F\x96\xBE\x92\xA9", // P mincho, full-width P
    "\x96\xBE\x92\xA9",         // mincho
    "ARIAL",
    "COURIER",
};

namespace {

// Upper-cases the ASCII letters only: every other byte, also inside
// double-byte characters, stays as it is.
void UpperAscii(char* out, const char* in) {
    int i = 0;
    for (; i < kFaceNameSize - 1 && in[i] != '\0'; ++i) {
        char c = in[i];
        out[i] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    out[i] = '\0';
}

bool StartsWith(const char* text, const char* prefix) {
    for (int i = 0; prefix[i] != '\0'; ++i) {
        if (text[i] != prefix[i]) {
            return false;
        }
    }
    return true;
}

bool Contains(const char* text, const char* part) {
    for (int start = 0; text[start] != '\0'; ++start) {
        if (StartsWith(text + start, part)) {
            return true;
        }
    }
    return false;
}

} // namespace

FaceChoice NoFaceChosen() {
    FaceChoice choice;
    choice.chosenFace[0] = '\0';
    choice.bestPreference = kNoPreference;
    return choice;
}

void ConsiderFace(FaceChoice& choice, const char* reportedFace) {
    char face[kFaceNameSize];
    char chosen[kFaceNameSize];
    UpperAscii(face, reportedFace);
    UpperAscii(chosen, choice.chosenFace);

    // Faces for vertical writing are never used.
    if (face[0] == '@') {
        return;
    }
    // A face whose name extends the current choice never replaces it.
    int chosenLength = TextLength(chosen);
    if (chosenLength > 0 && chosenLength < TextLength(face) && StartsWith(face, chosen)) {
        return;
    }
    for (int i = 0; i < kFacePreferenceCount && i <= choice.bestPreference; ++i) {
        char entry[kFaceNameSize];
        UpperAscii(entry, facePreferences[i]);
        if (Contains(face, entry)) {
            CopyText(choice.chosenFace, kFaceNameSize, reportedFace);
            choice.bestPreference = i;
            return;
        }
    }
}
