#include "skin/slider_track.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The quality and brightness sliders: 187-pixel track, 11-pixel thumb.
SliderGeometry WideTrack(int minimum, int maximum, int pageCount = 10) {
    return MakeSliderGeometry(minimum, maximum, pageCount, 22, 187, 11);
}

// The volume slider: 84-pixel track.
SliderGeometry VolumeTrack() {
    return MakeSliderGeometry(0, 5000, 5, 21, 84, 11);
}

// A thumb at a position, standing for the value read there.
SliderPlace At(const SliderGeometry& geometry, int thumbPos) {
    return SliderPlace{thumbPos, SliderValueAt(geometry, thumbPos)};
}

} // namespace

TEST(SliderTrack, ValuesMapToPositionsAndBackWithTruncation) {
    const struct {
        SliderGeometry geometry;
        int value;
        int position;
        int readBack;
    } cases[] = {
        {WideTrack(4, 80), 4, 22, 4},       {WideTrack(4, 80), 80, 165, 80},
        {WideTrack(4, 80), 10, 33, 9},      {WideTrack(0, 255), 1, 22, 0},
        {WideTrack(0, 255), 100, 78, 99},   {WideTrack(0, 255), 255, 165, 255},
        {VolumeTrack(), 500, 25, 476},      {VolumeTrack(), 5000, 63, 5000},
        {VolumeTrack(), 0, 21, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        int position = SliderPositionOf(c.geometry, c.value);
        EXPECT_EQ(c.position, position);
        EXPECT_EQ(c.readBack, SliderValueAt(c.geometry, position));
    }
}

TEST(SliderTrack, AttachNormalisesPageCountMarginAndRange) {
    EXPECT_EQ(8, VolumeTrack().pageStep);
    EXPECT_EQ(14, WideTrack(4, 80).pageStep); // 143 / 10, truncated

    SliderGeometry thinMargin = MakeSliderGeometry(0, 10, 10, 2, 187, 11);
    EXPECT_EQ(5, thinMargin.margin);
    EXPECT_EQ(17, thinMargin.pageStep); // 177 / 10

    EXPECT_EQ(1, MakeSliderGeometry(0, 10, 0, 22, 187, 11).pageCount);
    EXPECT_EQ(1, MakeSliderGeometry(0, 10, -4, 22, 187, 11).pageCount);
    EXPECT_EQ(143, MakeSliderGeometry(0, 10, 0, 22, 187, 11).pageStep);

    SliderGeometry reversed = MakeSliderGeometry(80, 4, 10, 22, 187, 11);
    EXPECT_EQ(4, reversed.minValue);
    EXPECT_EQ(80, reversed.maxValue);
    EXPECT_EQ(33, SliderPositionOf(reversed, 10));
}

TEST(SliderTrack, DegenerateTracksMapWithoutDividingByZero) {
    SliderGeometry emptyRange = MakeSliderGeometry(7, 7, 10, 22, 187, 11);
    EXPECT_EQ(22, SliderPositionOf(emptyRange, 7));
    EXPECT_EQ(7, SliderValueAt(emptyRange, 100));
    // A missing track bitmap leaves a zero-width track.
    SliderGeometry noTrack = MakeSliderGeometry(0, 255, 10, 22, 0, 0);
    EXPECT_EQ(22, SliderPositionOf(noTrack, 128));
    EXPECT_EQ(0, SliderValueAt(noTrack, 40));
    // A value far outside the range stays a representable position.
    SliderGeometry wide = WideTrack(0, 1);
    EXPECT_GT(SliderPositionOf(wide, 2000000000), 0);
    EXPECT_LT(SliderPositionOf(wide, -2000000000), 0);
}

TEST(SliderTrack, PressesAreClassifiedByReachAndThumb) {
    SliderGeometry g = WideTrack(4, 80); // reach 17..170, thumb at 60 covers 55..65
    const struct {
        int x;
        SliderPress press;
    } cases[] = {
        {16, kPressOutOfReach}, {17, kPressOnTrack},     {54, kPressOnTrack},
        {55, kPressOnThumb},    {65, kPressOnThumb},     {66, kPressOnTrack},
        {170, kPressOnTrack},   {171, kPressOutOfReach}, {-3, kPressOutOfReach},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.press, ClassifySliderPress(g, 60, c.x)) << c.x;
    }
}

TEST(SliderTrack, PagingMovesOneStepTowardThePointerAndStopsOnIt) {
    SliderGeometry g = WideTrack(4, 80);
    int thumb = 22;
    std::vector<int> codes;
    std::vector<int> positions;
    for (int tick = 0; tick < 6; ++tick) {
        SliderStep step = MakeSliderStep(g, kPagingStep, At(g, thumb), 75);
        EXPECT_EQ(1, step.noFinalNotice);
        thumb = step.place.thumbPos;
        codes.push_back(step.code);
        positions.push_back(thumb);
    }
    EXPECT_EQ((std::vector<int>{3, 3, 3, 3, 0, 0}), codes);
    EXPECT_EQ((std::vector<int>{36, 50, 64, 78, 78, 78}), positions);
    // Back to the left of the thumb: page left.
    SliderStep left = MakeSliderStep(g, kPagingStep, At(g, 78), 30);
    EXPECT_EQ(kSliderPageLeft, left.code);
    EXPECT_EQ(64, left.place.thumbPos);
}

TEST(SliderTrack, PointerBetweenTwoReachesMakesTheThumbAlternate) {
    SliderGeometry g = WideTrack(4, 80);
    SliderStep right = MakeSliderStep(g, kPagingStep, At(g, 36), 43);
    EXPECT_EQ(kSliderPageRight, right.code);
    EXPECT_EQ(50, right.place.thumbPos);
    SliderStep back = MakeSliderStep(g, kPagingStep, At(g, 50), 43);
    EXPECT_EQ(kSliderPageLeft, back.code);
    EXPECT_EQ(36, back.place.thumbPos);
}

TEST(SliderTrack, StepsAreClampedAtBothEndsAndStillReportTheirCode) {
    SliderGeometry g = WideTrack(4, 80); // travel 22..165
    const struct {
        SliderStepKind kind;
        int thumbPos;
        int lastX;
        int expectedPos;
        int code;
        int noFinalNotice;
    } cases[] = {
        {kPagingStep, 160, 186, 165, kSliderPageRight, 1},
        {kPagingStep, 165, 186, 165, kSliderPageRight, 1},
        {kPagingStep, 30, 0, 22, kSliderPageLeft, 1},
        {kPagingStep, 22, 0, 22, kSliderPageLeft, 1},
        {kMoveStep, 100, 250, 165, kSliderTracking, 0},
        {kMoveStep, 100, -40, 22, kSliderTracking, 0},
        {kMoveStep, 100, 120, 120, kSliderTracking, 0},
    };
    for (const auto& c : cases) {
        SliderStep step = MakeSliderStep(g, c.kind, At(g, c.thumbPos), c.lastX);
        EXPECT_EQ(c.expectedPos, step.place.thumbPos) << c.thumbPos << " -> " << c.lastX;
        EXPECT_EQ(c.code, step.code) << c.thumbPos << " -> " << c.lastX;
        EXPECT_EQ(c.noFinalNotice, step.noFinalNotice);
    }
}

TEST(SliderTrack, EveryValueOfEachSliderSurvivesAClickThatLeavesTheThumbInPlace) {
    const struct {
        const char* slider;
        SliderGeometry geometry;
    } sliders[] = {
        {"volume", VolumeTrack()},
        {"quality", WideTrack(4, 80)},
        {"brightness", WideTrack(0, 255)},
    };
    for (const auto& s : sliders) {
        const SliderGeometry& g = s.geometry;
        int lost = 0;
        for (int value = g.minValue; value <= g.maxValue; ++value) {
            SliderPlace set = PlaceOfValue(g, value);
            // A press on the thumb, a tick that finds it on the pointer, a
            // drag move to where it already is, at either edge of the thumb.
            for (int x : {set.thumbPos - HalfThumb(g), set.thumbPos, set.thumbPos + HalfThumb(g)}) {
                SliderPlace pressed = MakeSliderStep(g, kPagingStep, set, x).place;
                SliderPlace held = MakeSliderStep(g, kMoveStep, set, set.thumbPos).place;
                lost += pressed.value != value || held.value != value ||
                        pressed.thumbPos != set.thumbPos;
            }
        }
        EXPECT_EQ(0, lost) << s.slider;
    }
}

TEST(SliderTrack, AStepThatMovesTheThumbReadsTheValueAtItsNewPlace) {
    SliderGeometry g = WideTrack(0, 255);
    SliderStep page = MakeSliderStep(g, kPagingStep, PlaceOfValue(g, 100), 150); // 78 -> 92
    EXPECT_EQ(92, page.place.thumbPos);
    EXPECT_EQ(SliderValueAt(g, 92), page.place.value);
    SliderStep drag = MakeSliderStep(g, kMoveStep, PlaceOfValue(g, 100), 79);
    EXPECT_EQ(SliderValueAt(g, 79), drag.place.value);
    // Clamped at the end, the thumb stays: so does the value.
    SliderStep end = MakeSliderStep(g, kPagingStep, PlaceOfValue(g, 255), 186);
    EXPECT_EQ(255, end.place.value);
}

TEST(SliderTrack, OnlyAPressTheSliderSawBeginAndTheUserEndedReportsThePlace) {
    const struct {
        bool buttonDown;
        bool noFinalNotice;
        SliderPressEnd end;
        bool reports;
    } cases[] = {
        {true, false, kEndByRelease, true},       {true, false, kEndByLostCapture, true},
        {true, false, kEndByOwner, false},        {true, true, kEndByRelease, false},
        {true, true, kEndByLostCapture, false},   {false, false, kEndByRelease, false},
        {false, false, kEndByLostCapture, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.reports, EndReportsThumbPosition(c.buttonDown, c.noFinalNotice, c.end))
            << c.buttonDown << c.noFinalNotice << c.end;
    }
}

TEST(SliderTrack, KeysStepAPixelAPageOrToAnEndAsTheMouseWould) {
    SliderGeometry g = WideTrack(4, 80); // travel 22..165, a page is 14 pixels
    const struct {
        SliderKey key;
        int thumbPos;
        int expectedPos;
        int code;
        int noFinalNotice;
    } cases[] = {
        {kKeyStepLeft, 100, 99, kSliderTracking, 0},
        {kKeyStepRight, 100, 101, kSliderTracking, 0},
        {kKeyStepLeft, 22, 22, kSliderTracking, 0},
        {kKeyStepRight, 165, 165, kSliderTracking, 0},
        {kKeyPageLeft, 100, 86, kSliderPageLeft, 1},
        {kKeyPageRight, 100, 114, kSliderPageRight, 1},
        {kKeyPageRight, 160, 165, kSliderPageRight, 1},
        {kKeyFirst, 100, 22, kSliderTracking, 0},
        {kKeyLast, 100, 165, kSliderTracking, 0},
    };
    for (const auto& c : cases) {
        SliderStep step = MakeKeyStep(g, c.key, At(g, c.thumbPos));
        EXPECT_EQ(c.expectedPos, step.place.thumbPos) << c.key << " at " << c.thumbPos;
        EXPECT_EQ(c.code, step.code) << c.key;
        EXPECT_EQ(c.noFinalNotice, step.noFinalNotice) << c.key;
    }
    EXPECT_EQ(80, MakeKeyStep(g, kKeyLast, At(g, 22)).place.value);
    EXPECT_EQ(4, MakeKeyStep(g, kKeyFirst, At(g, 165)).place.value);
}
