// The wizard's five pages and the value mappings of its controls.
// Platform-free.
#ifndef MORVANE_WIZARD_PAGE_TABLE_H
#define MORVANE_WIZARD_PAGE_TABLE_H

const int kFirstPage = 0;
const int kLastPage = 4;

// Clamps a page number to the pages that exist.
int ClampPage(int page);

// One control shown or hidden when a page is laid out.
struct ControlVisibility {
    int controlId;
    bool shown;
};

// What a page shows: its texts by string identifier (0: the empty text), the
// controls it shows or hides in that order, and the Next label (0: left as
// it is).
struct PageLayout {
    int headingId;
    int noteId;
    int captionId;
    int bodyId;
    ControlVisibility controls[4];
    int controlCount;
    int nextLabelId;
};

PageLayout LayoutOfPage(int page);

// A rectangle of the main window's client area: left, top, right, bottom.
struct PageArea {
    int left;
    int top;
    int right;
    int bottom;
};

// What a page change repaints: the heading line, and the band under the
// picture holding the caption, the page-0 bar and both bodies. The controls
// repaint themselves as they are shown or hidden.
const PageArea kHeadingArea = {10, 45, 340, 65};
const PageArea kPageTextArea = {11, 365, 339, 488};

// Where the texts go: the heading line holds the heading at its left and the
// note at its right; the caption and the body lie in the band, page 0's
// longer body from the band's top.
const PageArea kCaptionArea = {20, 365, 329, 385};
const PageArea kBodyArea = {20, 424, 329, 488};
const PageArea kIntroBodyArea = {20, 365, 329, 488};

// The quality slider is inverted: its value v stands for quality 84 - v.
// Any int is taken; a result beyond an int's range is its largest value.
int QualityFromSlider(int sliderValue);
int SliderFromQuality(int quality);

// The preview's volume in hundredths of a decibel: silence while muted, else
// the slider's 0..5000 mapped onto -50..0 dB.
int PreviewVolume(int sliderVolume, bool muted);

// The camera takes a brightness of 0..255 only: a stored value beyond the
// range is sent, and shown, as the nearest end.
int BrightnessInRange(int brightness);

// Cancel and the title-bar close put the settings of the start back; Finish
// keeps the current ones and marks the set-up done.
bool RestoresSavedSettings(int controlId);
bool FinishesWizard(int controlId);

// A combobox selection names an audio device only when it lies in the list;
// no selection (-1) or a stale index beyond the list names none.
bool IsListedAudioDevice(int index, int deviceCount);

// Slider notifications that apply a new quality: page steps and the end of a
// drag; moves during a drag only change the value.
bool AppliesQuality(int scrollCode);

#endif
