// The moving test picture the simulated camera delivers: scrolling colour
// bars, a frame counter and the deck's state. Platform-free.
#ifndef CAMSIM_TEST_PICTURE_H
#define CAMSIM_TEST_PICTURE_H

#include <stdint.h>

struct PictureLook {
    uint32_t frameNumber; // moves the bars and is printed
    uint32_t brightness;  // 0..255; 128 leaves the bars as they are
    uint32_t coarseness;  // block size in pixels, 1 = full detail
    const char* label;    // deck state, upper case
};

// Height of the caption strip (counter and label) at the top of the picture.
const int kCaptionHeight = 21;

// Draws one picture. Row r starts at firstRow + r * stride (a negative stride
// walks a bottom-up bitmap); bytesPerPixel is 3 or 4, bytes in B, G, R order.
void DrawTestPicture(uint8_t* firstRow, int width, int height, int stride, int bytesPerPixel,
                     const PictureLook& look);

// The picture's coarseness for a driver quality value "SFMin" (4..80, larger
// is coarser): 1 at 4 and below, up to blocks of 16 pixels at 80.
uint32_t CoarsenessFromQuality(uint32_t sfMin);

#endif
