#include "wizard/page_table.h"

#include "res/resource_ids.h"

namespace {

const int kQualitySliderSum = 84;
const int kSilence = -10000;
const int kFullVolume = 5000;
const int kMinBrightness = 0;
const int kMaxBrightness = 255;
const int kScrollPageLeft = 2;
const int kScrollPageRight = 3;
const int kScrollThumbPosition = 4;
const long long kLargestInt = 0x7FFFFFFF;

// 84 - value, worked out wide: a stored quality may be any 32-bit number,
// and 84 less the lowest lies beyond an int; it stays at the largest.
int FromSliderSum(int value) {
    long long difference = static_cast<long long>(kQualitySliderSum) - value;
    return static_cast<int>(difference > kLargestInt ? kLargestInt : difference);
}

} // namespace

int ClampPage(int page) {
    if (page < kFirstPage) {
        return kFirstPage;
    }
    if (page > kLastPage) {
        return kLastPage;
    }
    return page;
}

PageLayout LayoutOfPage(int page) {
    switch (ClampPage(page)) {
    case 0:
        return {IDS_PAGE0_HEADING, 0, 0, IDS_PAGE0_BODY,
                {{IDC_PREV, false}, {IDC_NEXT, false}}, 2, 0};
    case 1:
        return {IDS_PAGE1_HEADING, IDS_PAGE1_NOTE, IDS_PAGE1_CAPTION, IDS_PAGE1_BODY,
                {{IDC_AUDIO_DEVICE, true}, {IDC_PREV, false}, {IDC_NEXT, true}}, 3, IDS_NEXT};
    case 2:
    case 3: {
        // Pages 2 and 3 derive every number from their heading's identifier.
        int heading = page == 2 ? IDS_PAGE2_HEADING : IDS_PAGE3_HEADING;
        int slider = page == 2 ? IDC_QUALITY : IDC_BRIGHTNESS;
        return {heading, heading + 21, heading + 10, heading + 5,
                {{slider, true}, {heading - 10, true}, {IDC_PREV, true}, {IDC_NEXT, true}}, 4,
                IDS_NEXT};
    }
    default:
        return {IDS_PAGE4_HEADING, 0, 0, IDS_PAGE4_BODY,
                {{IDC_PREV, true}, {IDC_NEXT, true}}, 2, IDS_FINISH};
    }
}

int QualityFromSlider(int sliderValue) {
    return FromSliderSum(sliderValue);
}

int SliderFromQuality(int quality) {
    return FromSliderSum(quality);
}

int PreviewVolume(int sliderVolume, bool muted) {
    return muted ? kSilence : sliderVolume - kFullVolume;
}

int BrightnessInRange(int brightness) {
    if (brightness < kMinBrightness) {
        return kMinBrightness;
    }
    return brightness > kMaxBrightness ? kMaxBrightness : brightness;
}

bool RestoresSavedSettings(int controlId) {
    return controlId == IDC_CANCEL || controlId == IDC_CLOSE;
}

bool FinishesWizard(int controlId) { return controlId == IDC_NEXT; }

bool IsListedAudioDevice(int index, int deviceCount) {
    return index >= 0 && index < deviceCount;
}

bool AppliesQuality(int scrollCode) {
    return scrollCode == kScrollPageLeft || scrollCode == kScrollPageRight ||
           scrollCode == kScrollThumbPosition;
}
