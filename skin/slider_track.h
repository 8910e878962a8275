// The geometry and step rules of a bitmap slider: the value range mapped onto
// the usable part of the track, presses, page steps and drag moves.
// Platform-free.
#ifndef MORVANE_SKIN_SLIDER_TRACK_H
#define MORVANE_SKIN_SLIDER_TRACK_H

// Codes of the slider's WM_HSCROLL notifications, numbered as the scroll codes.
const int kSliderTracking = 0;      // on the thumb: a press, a drag move, a tick
const int kSliderPageLeft = 2;      // SB_PAGELEFT
const int kSliderPageRight = 3;     // SB_PAGERIGHT
const int kSliderThumbPosition = 4; // SB_THUMBPOSITION: the release after a drag

struct SliderGeometry {
    int minValue;   // minValue <= maxValue
    int maxValue;
    int pageCount;  // at least 1
    int margin;     // from each end of the track to the end of the thumb's travel
    int pageStep;   // pixels of one page step
    int trackWidth;
    int thumbWidth;
};

// The geometry an attach settles on: a reversed range is swapped, a page
// count below 1 becomes 1, a margin below half the thumb is raised to it,
// and the page step is the usable width over the page count.
SliderGeometry MakeSliderGeometry(int minimum, int maximum, int pageCount, int margin,
                                  int trackWidth, int thumbWidth);

int HalfThumb(const SliderGeometry& geometry);
int UsableWidth(const SliderGeometry& geometry);

// Position to value and back, in double precision, each truncated toward
// zero, so a value set and read back can come back lower. An empty range or
// a track without usable width maps everything to minValue and margin.
int SliderValueAt(const SliderGeometry& geometry, int thumbPos);
int SliderPositionOf(const SliderGeometry& geometry, int value);

// Where the thumb is and the value it stands for. The value stays as set
// until a step moves the thumb: a track has fewer positions than most ranges
// have values, so a value read back from its position could come back lower,
// and a click that leaves the thumb in place would change the setting.
struct SliderPlace {
    int thumbPos;
    int value;
};
SliderPlace PlaceOfValue(const SliderGeometry& geometry, int value);

// The thumb covers x when thumbPos - half <= x <= thumbPos + half.
bool IsThumbOn(const SliderGeometry& geometry, int thumbPos, int x);

enum SliderPress {
    kPressOutOfReach, // beyond the thumb's reach at either end: held without effect
    kPressOnThumb,    // drags the thumb
    kPressOnTrack     // pages toward the pointer while held
};
SliderPress ClassifySliderPress(const SliderGeometry& geometry, int thumbPos, int x);

enum SliderStepKind { kMoveStep, kPagingStep };

struct SliderStep {
    SliderPlace place; // thumb clamped to [margin, trackWidth - margin]
    int code;          // the notification to send
    int noFinalNotice; // a paging step: the release sends no code 4
};

// A move puts the thumb on the pointer; a paging step moves it one page
// toward the pointer unless it is already on it. The value changes only
// with the thumb's position.
SliderStep MakeSliderStep(const SliderGeometry& geometry, SliderStepKind kind, SliderPlace place,
                          int lastX);

// The keys that move a focused slider: a step of one pixel (the arrows),
// a page (Page Up and Page Down, as a press on the track), or to an end
// (Home and End).
enum SliderKey { kKeyStepLeft, kKeyStepRight, kKeyPageLeft, kKeyPageRight, kKeyFirst, kKeyLast };

// A key's move, made as the mouse makes it: a page as one paging step (its
// page code, no final notice), the others as a drag move to the new place
// (tracking, then the thumb position as at a drag's release).
SliderStep MakeKeyStep(const SliderGeometry& geometry, SliderKey key, SliderPlace place);

// How a press ends: the user lets the button go, or the mouse capture goes
// elsewhere without a button-up (which counts as a release away from the
// slider), or the owner hides or disables the slider.
enum SliderPressEnd { kEndByRelease, kEndByLostCapture, kEndByOwner };

// Whether the end of a press reports the thumb's place (code 4): only a
// press the slider saw begin and the user ended, when its last step was a
// drag move or there was no step at all.
bool EndReportsThumbPosition(bool buttonDown, bool noFinalNotice, SliderPressEnd end);

#endif
