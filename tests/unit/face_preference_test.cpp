#include "skin/face_preference.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Face names as Windows reports them in code page 932.
const char kMsGothic[] = "\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E";
const char kMsPGothic[] = "\x82\x6C\x82\x72 \x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E";
const char kMsMincho[] = "\x82\x6C\x82\x72 \x96\xBE\x92\xA9";

std::string Choose(const std::vector<const char*>& reported) {
    FaceChoice choice = NoFaceChosen();
    for (const char* face : reported) {
        ConsiderFace(choice, face);
    }
    return choice.chosenFace;
}

} // namespace

TEST(FacePreference, EarlierEntryReplacesAndExtensionsAreIgnored) {
    // Arial Black extends Arial; Courier New matches only an entry no longer
    // tried; MS PGothic matches PGOTHIC before GOTHIC.
    FaceChoice choice = NoFaceChosen();
    ConsiderFace(choice, "Arial");
    EXPECT_EQ(7, choice.bestPreference);
    ConsiderFace(choice, "Arial Black");
    EXPECT_STREQ("Arial", choice.chosenFace);
    ConsiderFace(choice, "Courier New");
    EXPECT_STREQ("Arial", choice.chosenFace);
    ConsiderFace(choice, "MS PGothic");
    EXPECT_STREQ("MS PGothic", choice.chosenFace);
    EXPECT_EQ(3, choice.bestPreference);
}

TEST(FacePreference, JapaneseFacesAreMatchedByTheirCodePage932Bytes) {
    FaceChoice choice = NoFaceChosen();
    ConsiderFace(choice, kMsGothic);
    EXPECT_EQ(2, choice.bestPreference);
    ConsiderFace(choice, kMsPGothic);
    EXPECT_EQ(1, choice.bestPreference);
    ConsiderFace(choice, "MS UI Gothic");
    EXPECT_EQ(0, choice.bestPreference);
    EXPECT_STREQ("MS UI Gothic", choice.chosenFace);
    EXPECT_EQ(kMsMincho, Choose({kMsMincho, "Arial"}));
}

TEST(FacePreference, EachFaceBeatsTheFaceOfTheNextEntryInEitherOrder) {
    // One installed face for each entry of the list, most preferred first.
    const char* const faces[kFacePreferenceCount] = {
        "MS UI Gothic",
        kMsPGothic,
        kMsGothic,
        "MS PGothic",
        "MS Gothic",
        "\x82\x6C\x82\x72 \x82\x6F\x96\xBE\x92\xA9", // MS P mincho
        kMsMincho,
        "Arial",
        "Courier"};
    for (int i = 0; i < kFacePreferenceCount; ++i) {
        FaceChoice alone = NoFaceChosen();
        ConsiderFace(alone, faces[i]);
        EXPECT_EQ(i, alone.bestPreference) << "face " << i;
        if (i + 1 < kFacePreferenceCount) {
            EXPECT_EQ(faces[i], Choose({faces[i], faces[i + 1]})) << "face " << i;
            EXPECT_EQ(faces[i], Choose({faces[i + 1], faces[i]})) << "face " << i;
        }
    }
}

TEST(FacePreference, SameEntryLaterFaceWinsUnlessItExtendsTheChoice) {
    EXPECT_EQ("Courier", Choose({"Courier New", "Courier"}));
    EXPECT_EQ("Courier", Choose({"Courier", "Courier New"}));
}

TEST(FacePreference, VerticalFacesAndUnmatchedFacesAreNeverChosen) {
    EXPECT_EQ("", Choose({"@MS UI Gothic", "Tahoma", "Symbol"}));
    EXPECT_EQ("MS Gothic", Choose({"@MS UI Gothic", "MS Gothic"}));
}

TEST(FacePreference, UiGothicHoldsAgainstAllButAnotherUiGothic) {
    EXPECT_EQ("MS UI Gothic", Choose({"MS UI Gothic", "Arial", "MS PGothic", "MS UI Gothic Bold"}));
    EXPECT_EQ("Meiryo UI Gothic", Choose({"MS UI Gothic", "Meiryo UI Gothic"}));
}

TEST(FacePreference, UpperCasingTouchesOnlyAsciiLetters) {
    // A lower-case 'p' is matched as 'P', and the face keeps its own spelling.
    EXPECT_EQ("ms pgothic", Choose({"ms pgothic"}));
    // A full-width lower-case p (82 70) is not the full-width P (82 6F) of
    // entry 1, even though its trail byte is upper-cased: it matches entry 2.
    FaceChoice choice = NoFaceChosen();
    ConsiderFace(choice, "\x82\x70\x83\x53\x83\x56\x83\x62\x83\x4E");
    EXPECT_EQ(2, choice.bestPreference);
}
