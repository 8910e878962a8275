#include "skin/button_face.h"

#include <gtest/gtest.h>

namespace {

const int N = kFaceNormal;
const int H = kFaceHover;
const int P = kFacePressed;
const int D = kFaceDisabled;
const int X = kNoFace;

const bool kAllFaces[kButtonFaceCount] = {true, true, true, true};
const bool kNoPressedNoDisabled[kButtonFaceCount] = {true, true, false, false};
const bool kNormalOnly[kButtonFaceCount] = {true, false, false, false};

} // namespace

TEST(ButtonFace, EveryFlagCombinationPicksTheFirstRuleThatApplies) {
    const struct {
        ButtonFlags flags; // hover, pressed, disabled, highlighted
        int allFaces;
        int withoutPressedOrDisabled;
        int normalOnly;
    } cases[] = {
        {{0, 0, 0, 0}, N, N, N}, {{0, 0, 0, 1}, P, N, N}, {{0, 1, 0, 0}, N, N, N},
        {{0, 1, 0, 1}, P, N, N}, {{1, 0, 0, 0}, H, H, N}, {{1, 0, 0, 1}, P, H, N},
        {{1, 1, 0, 0}, P, H, N}, {{1, 1, 0, 1}, P, H, N}, {{0, 0, 1, 0}, D, N, N},
        {{0, 0, 1, 1}, D, N, N}, {{0, 1, 1, 0}, D, N, N}, {{0, 1, 1, 1}, D, N, N},
        {{1, 0, 1, 0}, D, H, N}, {{1, 0, 1, 1}, D, H, N}, {{1, 1, 1, 0}, D, H, N},
        {{1, 1, 1, 1}, D, H, N},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "hover " << c.flags.hover << " pressed " << c.flags.pressed
                     << " disabled " << c.flags.disabled << " highlighted " << c.flags.highlighted);
        EXPECT_EQ(c.allFaces, ChooseButtonFace(c.flags, kAllFaces));
        EXPECT_EQ(c.withoutPressedOrDisabled, ChooseButtonFace(c.flags, kNoPressedNoDisabled));
        EXPECT_EQ(c.normalOnly, ChooseButtonFace(c.flags, kNormalOnly));
    }
}

TEST(ButtonFace, WithoutANormalFaceNothingIsDrawnUnlessAnotherRuleFindsItsFace) {
    const bool hoverOnly[kButtonFaceCount] = {false, true, false, false};
    const bool none[kButtonFaceCount] = {false, false, false, false};
    EXPECT_EQ(X, ChooseButtonFace({0, 0, 0, 0}, hoverOnly));
    EXPECT_EQ(H, ChooseButtonFace({1, 0, 1, 1}, hoverOnly));
    EXPECT_EQ(X, ChooseButtonFace({1, 1, 1, 1}, none));
    // The label keeps a colour of its own when no face is drawn.
    EXPECT_EQ(N, LabelColourIndex(X));
    for (int face : {N, H, P, D}) {
        EXPECT_EQ(face, LabelColourIndex(face));
    }
}

TEST(ButtonFace, PointerDuringAPressIsInsideUpToAndIncludingTheFarEdges) {
    const struct {
        unsigned int x, y;
        bool inside;
    } cases[] = {
        {0, 0, true},       {84, 29, true},      {84, 0, true},        {0, 29, true},
        {85, 10, false},    {10, 30, false},     {0xFFFF, 10, false}, // one pixel left
        {10, 0xFFFF, false},                                          // one pixel above
        {42, 14, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.inside, IsPointerOverButton(c.x, c.y, 84, 29)) << c.x << "," << c.y;
    }
}
