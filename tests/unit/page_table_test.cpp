#include "wizard/page_table.h"
#include "res/resource_ids.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>

namespace {

bool Shows(const PageLayout& layout, int controlId) {
    for (int i = 0; i < layout.controlCount; ++i) {
        if (layout.controls[i].controlId == controlId) {
            return layout.controls[i].shown;
        }
    }
    return false;
}

bool Mentions(const PageLayout& layout, int controlId) {
    for (int i = 0; i < layout.controlCount; ++i) {
        if (layout.controls[i].controlId == controlId) {
            return true;
        }
    }
    return false;
}

} // namespace

TEST(Pages, OutOfRangePagesClampToTheEnds) {
    EXPECT_EQ(0, ClampPage(-1));
    EXPECT_EQ(0, ClampPage(-100000));
    EXPECT_EQ(4, ClampPage(5));
    EXPECT_EQ(2, ClampPage(2));
}

TEST(Pages, NavigationLetsTheUserOnlyGoWherePagesExist) {
    // Page 0 waits for the camera: no way forward or back.
    EXPECT_FALSE(Shows(LayoutOfPage(0), IDC_NEXT));
    EXPECT_FALSE(Shows(LayoutOfPage(0), IDC_PREV));
    EXPECT_TRUE(Mentions(LayoutOfPage(0), IDC_PREV));
    // The first camera page cannot go back to "no camera".
    EXPECT_FALSE(Shows(LayoutOfPage(1), IDC_PREV));
    for (int page = 1; page <= 4; ++page) {
        EXPECT_TRUE(Shows(LayoutOfPage(page), IDC_NEXT)) << page;
    }
    for (int page = 2; page <= 4; ++page) {
        EXPECT_TRUE(Shows(LayoutOfPage(page), IDC_PREV)) << page;
    }
    const int nextLabels[] = {0, IDS_NEXT, IDS_NEXT, IDS_NEXT, IDS_FINISH};
    for (int page = 0; page <= 4; ++page) {
        EXPECT_EQ(nextLabels[page], LayoutOfPage(page).nextLabelId) << page;
    }
}

TEST(Pages, EachSettingsPageShowsItsOwnControlOnly) {
    struct {
        int page;
        std::set<int> shown;
    } pages[] = {
        {1, {IDC_AUDIO_DEVICE, IDC_NEXT}},
        {2, {IDC_QUALITY, IDC_QUALITY_RESET, IDC_PREV, IDC_NEXT}},
        {3, {IDC_BRIGHTNESS, IDC_BRIGHTNESS_RESET, IDC_PREV, IDC_NEXT}},
        {4, {IDC_PREV, IDC_NEXT}},
    };
    for (const auto& expected : pages) {
        PageLayout layout = LayoutOfPage(expected.page);
        std::set<int> shown;
        for (int i = 0; i < layout.controlCount; ++i) {
            if (layout.controls[i].shown) {
                shown.insert(layout.controls[i].controlId);
            }
        }
        EXPECT_EQ(expected.shown, shown) << "page " << expected.page;
    }
}

TEST(Pages, TextsComeFromTheirOwnStrings) {
    const struct {
        int heading, note, caption, body;
    } texts[] = {
        {IDS_PAGE0_HEADING, 0, 0, IDS_PAGE0_BODY},
        {IDS_PAGE1_HEADING, IDS_PAGE1_NOTE, IDS_PAGE1_CAPTION, IDS_PAGE1_BODY},
        {IDS_PAGE2_HEADING, IDS_PAGE2_NOTE, IDS_PAGE2_CAPTION, IDS_PAGE2_BODY},
        {IDS_PAGE3_HEADING, IDS_PAGE3_NOTE, IDS_PAGE3_CAPTION, IDS_PAGE3_BODY},
        {IDS_PAGE4_HEADING, 0, 0, IDS_PAGE4_BODY},
    };
    for (int page = 0; page <= 4; ++page) {
        PageLayout layout = LayoutOfPage(page);
        EXPECT_EQ(texts[page].heading, layout.headingId) << "page " << page;
        EXPECT_EQ(texts[page].note, layout.noteId) << "page " << page;
        EXPECT_EQ(texts[page].caption, layout.captionId) << "page " << page;
        EXPECT_EQ(texts[page].body, layout.bodyId) << "page " << page;
    }
}

TEST(ValueMappings, QualitySliderIsInvertedVolumeCoversFiftyDecibelsBrightnessStaysInRange) {
    EXPECT_EQ(80, QualityFromSlider(4));
    EXPECT_EQ(4, QualityFromSlider(80));
    EXPECT_EQ(SliderFromQuality(30), 54);
    EXPECT_EQ(-116, SliderFromQuality(200)); // a stored value is shown unclamped
    // "SFMin" may hold any 32-bit number; 84 - v must not overflow.
    EXPECT_EQ(INT_MAX, SliderFromQuality(INT_MIN));
    EXPECT_EQ(INT_MAX, QualityFromSlider(INT_MIN));
    EXPECT_EQ(84 - INT_MAX, SliderFromQuality(INT_MAX));
    EXPECT_EQ(0, PreviewVolume(5000, false));
    EXPECT_EQ(-5000, PreviewVolume(0, false));
    EXPECT_EQ(-10000, PreviewVolume(5000, true));
    EXPECT_EQ(-10000, PreviewVolume(0, true));
    const int brightness[][2] = {{-5, 0}, {0, 0}, {128, 128}, {255, 255}, {256, 255}, {300, 255}};
    for (const auto& c : brightness) {
        EXPECT_EQ(c[1], BrightnessInRange(c[0])) << c[0];
    }
}

TEST(EndOfWizard, CancelAndCloseRestoreTheStartValuesOnlyFinishKeepsTheCurrentOnes) {
    const struct {
        int control;
        bool restores;
        bool finishes;
    } cases[] = {
        {IDC_CANCEL, true, false}, {IDC_CLOSE, true, false},     {IDC_NEXT, false, true},
        {IDC_PREV, false, false},  {IDC_MINIMIZE, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.restores, RestoresSavedSettings(c.control)) << c.control;
        EXPECT_EQ(c.finishes, FinishesWizard(c.control)) << c.control;
    }
}

TEST(QualitySlider, OnlyPageStepsAndTheEndOfADragApply) {
    EXPECT_FALSE(AppliesQuality(0));
    EXPECT_FALSE(AppliesQuality(1));
    EXPECT_TRUE(AppliesQuality(2));
    EXPECT_TRUE(AppliesQuality(3));
    EXPECT_TRUE(AppliesQuality(4));
    EXPECT_FALSE(AppliesQuality(5));
}

TEST(AudioDeviceChoice, OnlyAnIndexInsideTheListChoosesADevice) {
    const struct {
        int index;
        int count;
        bool chosen;
    } cases[] = {
        {-1, 3, false}, // the combobox has no selection
        {0, 0, false},  // an empty list
        {0, 3, true},   {2, 3, true},
        {3, 3, false},  // an entry of a longer earlier listing
        {15, 16, true}, {16, 16, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.chosen, IsListedAudioDevice(c.index, c.count)) << c.index << " of " << c.count;
    }
}
