#include "skin/slider_track.h"

namespace {

// Keeps a mapped position within int range however wild the value passed.
const double kPositionLimit = 1 << 30;

int TruncateToInt(double value) {
    if (value > kPositionLimit) {
        return static_cast<int>(kPositionLimit);
    }
    if (value < -kPositionLimit) {
        return -static_cast<int>(kPositionLimit);
    }
    return static_cast<int>(value); // truncates toward zero
}

bool HasMapping(const SliderGeometry& geometry) {
    return UsableWidth(geometry) > 0 && geometry.maxValue != geometry.minValue;
}

int ClampThumb(const SliderGeometry& geometry, int thumbPos) {
    if (thumbPos < geometry.margin) {
        thumbPos = geometry.margin;
    }
    if (thumbPos > geometry.trackWidth - geometry.margin) {
        thumbPos = geometry.trackWidth - geometry.margin;
    }
    return thumbPos;
}

} // namespace

SliderGeometry MakeSliderGeometry(int minimum, int maximum, int pageCount, int margin,
                                  int trackWidth, int thumbWidth) {
    SliderGeometry geometry;
    geometry.minValue = minimum <= maximum ? minimum : maximum;
    geometry.maxValue = minimum <= maximum ? maximum : minimum;
    geometry.pageCount = pageCount < 1 ? 1 : pageCount;
    geometry.trackWidth = trackWidth;
    geometry.thumbWidth = thumbWidth;
    geometry.margin = margin < HalfThumb(geometry) ? HalfThumb(geometry) : margin;
    geometry.pageStep = UsableWidth(geometry) / geometry.pageCount;
    return geometry;
}

int HalfThumb(const SliderGeometry& geometry) { return geometry.thumbWidth / 2; }

int UsableWidth(const SliderGeometry& geometry) {
    return geometry.trackWidth - 2 * geometry.margin;
}

int SliderValueAt(const SliderGeometry& geometry, int thumbPos) {
    if (!HasMapping(geometry)) {
        return geometry.minValue;
    }
    double span = static_cast<double>(geometry.maxValue) - geometry.minValue;
    double fraction = (static_cast<double>(thumbPos) - geometry.margin) / UsableWidth(geometry);
    return TruncateToInt(geometry.minValue + static_cast<double>(TruncateToInt(fraction * span)));
}

int SliderPositionOf(const SliderGeometry& geometry, int value) {
    if (!HasMapping(geometry)) {
        return geometry.margin;
    }
    double span = static_cast<double>(geometry.maxValue) - geometry.minValue;
    double fraction = (static_cast<double>(value) - geometry.minValue) / span;
    return geometry.margin + TruncateToInt(fraction * UsableWidth(geometry));
}

SliderPlace PlaceOfValue(const SliderGeometry& geometry, int value) {
    SliderPlace place = {SliderPositionOf(geometry, value), value};
    return place;
}

bool IsThumbOn(const SliderGeometry& geometry, int thumbPos, int x) {
    return thumbPos - HalfThumb(geometry) <= x && x <= thumbPos + HalfThumb(geometry);
}

SliderPress ClassifySliderPress(const SliderGeometry& geometry, int thumbPos, int x) {
    int half = HalfThumb(geometry);
    if (x < geometry.margin - half || x > geometry.trackWidth - geometry.margin + half) {
        return kPressOutOfReach;
    }
    return IsThumbOn(geometry, thumbPos, x) ? kPressOnThumb : kPressOnTrack;
}

SliderStep MakeSliderStep(const SliderGeometry& geometry, SliderStepKind kind, SliderPlace place,
                          int lastX) {
    SliderStep step;
    int thumbPos = place.thumbPos;
    step.code = kSliderTracking;
    if (kind == kMoveStep) {
        thumbPos = lastX;
        step.noFinalNotice = 0;
    } else {
        if (!IsThumbOn(geometry, thumbPos, lastX)) {
            if (thumbPos + HalfThumb(geometry) < lastX) {
                thumbPos += geometry.pageStep;
                step.code = kSliderPageRight;
            } else {
                thumbPos -= geometry.pageStep;
                step.code = kSliderPageLeft;
            }
        }
        step.noFinalNotice = 1;
    }
    step.place.thumbPos = ClampThumb(geometry, thumbPos);
    step.place.value = step.place.thumbPos == place.thumbPos
                           ? place.value
                           : SliderValueAt(geometry, step.place.thumbPos);
    return step;
}

SliderStep MakeKeyStep(const SliderGeometry& geometry, SliderKey key, SliderPlace place) {
    const int kFarAway = 1 << 20; // beyond either end of any track
    switch (key) {
    case kKeyStepLeft:
        return MakeSliderStep(geometry, kMoveStep, place, place.thumbPos - 1);
    case kKeyStepRight:
        return MakeSliderStep(geometry, kMoveStep, place, place.thumbPos + 1);
    case kKeyPageLeft:
        return MakeSliderStep(geometry, kPagingStep, place, -kFarAway);
    case kKeyPageRight:
        return MakeSliderStep(geometry, kPagingStep, place, kFarAway);
    case kKeyFirst:
        return MakeSliderStep(geometry, kMoveStep, place, -kFarAway);
    default:
        return MakeSliderStep(geometry, kMoveStep, place, kFarAway);
    }
}

bool EndReportsThumbPosition(bool buttonDown, bool noFinalNotice, SliderPressEnd end) {
    return buttonDown && !noFinalNotice && end != kEndByOwner;
}
