// The size of the skin's texts. The skin is drawn in pixels, so its texts
// are sized in pixels too, as designed at 96 pixels per inch, whatever the
// screen's setting; a text that still does not fit its box in the installed
// face (a taller Japanese face) is drawn a pixel smaller at a time until it
// does. Platform-free.
#ifndef MORVANE_SKIN_TEXT_FIT_H
#define MORVANE_SKIN_TEXT_FIT_H

const int kDesignPixelsPerInch = 96;
// No text is made smaller than this character height in pixels.
const int kSmallestTextHeight = 9;

// The character height of a size in points at the design's pixels per inch,
// negative as a logical font takes it, rounded to the nearest pixel: 10
// points are -13, 11 points -15.
int DesignTextHeight(int points);

// Width and height a text takes when drawn.
struct TextExtent {
    int width;
    int height;
};

// The largest character height from designHeight (negative) towards
// -kSmallestTextHeight whose extent fits a box of boxWidth by boxHeight;
// the smallest when none does. measure(height) answers the text's extent
// in a font of that height.
template <typename Measure>
int FittingTextHeight(int designHeight, int boxWidth, int boxHeight, Measure measure) {
    int height = designHeight;
    for (; height < -kSmallestTextHeight; ++height) {
        TextExtent extent = measure(height);
        if (extent.width <= boxWidth && extent.height <= boxHeight) {
            break;
        }
    }
    return height;
}

#endif
