#include "camsim/test_picture.h"

namespace {

struct Glyph {
    char character;
    uint8_t rows[5]; // 3 bits each, most significant bit on the left
};

const Glyph kGlyphs[] = {
    {'0', {7, 5, 5, 5, 7}}, {'1', {2, 6, 2, 2, 7}}, {'2', {7, 1, 7, 4, 7}},
    {'3', {7, 1, 7, 1, 7}}, {'4', {5, 5, 7, 1, 1}}, {'5', {7, 4, 7, 1, 7}},
    {'6', {7, 4, 7, 5, 7}}, {'7', {7, 1, 1, 1, 1}}, {'8', {7, 5, 7, 5, 7}},
    {'9', {7, 5, 7, 1, 7}}, {'A', {2, 5, 7, 5, 5}}, {'C', {7, 4, 4, 4, 7}},
    {'E', {7, 4, 6, 4, 7}}, {'F', {7, 4, 6, 4, 4}}, {'I', {7, 2, 2, 2, 7}},
    {'L', {4, 4, 4, 4, 7}}, {'N', {6, 5, 5, 5, 5}}, {'O', {7, 5, 5, 5, 7}},
    {'P', {7, 5, 7, 4, 4}}, {'R', {6, 5, 6, 5, 5}}, {'S', {7, 4, 7, 1, 7}},
    {'T', {7, 2, 2, 2, 2}}, {'U', {5, 5, 5, 5, 7}}, {'V', {5, 5, 5, 5, 2}},
    {'W', {5, 5, 7, 7, 5}}, {'Y', {5, 5, 2, 2, 2}},
};

const int kGlyphScale = 3;
const int kGlyphAdvance = 4 * kGlyphScale;
const int kCaptionMargin = 3;

// Eight bars: white, yellow, cyan, green, magenta, red, blue, grey.
const uint8_t kBars[8][3] = {{255, 255, 255}, {0, 255, 255}, {255, 255, 0}, {0, 255, 0},
                             {255, 0, 255},   {0, 0, 255},   {255, 0, 0},   {96, 96, 96}};

const Glyph* FindGlyph(char character) {
    for (const Glyph& glyph : kGlyphs)
        if (glyph.character == character)
            return &glyph;
    return nullptr; // spaces and unknown characters leave a gap
}

uint8_t Brightened(uint8_t value, uint32_t brightness) {
    int shifted = value + static_cast<int>(brightness) - 128;
    return static_cast<uint8_t>(shifted < 0 ? 0 : shifted > 255 ? 255 : shifted);
}

class Canvas {
  public:
    Canvas(uint8_t* firstRow, int width, int height, int stride, int bytesPerPixel)
        : firstRow(firstRow), width(width), height(height), stride(stride),
          bytesPerPixel(bytesPerPixel) {}

    void Put(int x, int y, const uint8_t bgr[3]) {
        if (x < 0 || y < 0 || x >= width || y >= height)
            return;
        uint8_t* pixel = firstRow + static_cast<long>(y) * stride + x * bytesPerPixel;
        pixel[0] = bgr[0];
        pixel[1] = bgr[1];
        pixel[2] = bgr[2];
        if (bytesPerPixel == 4)
            pixel[3] = 0;
    }

    void Text(int left, int top, const char* text, const uint8_t bgr[3]) {
        for (int index = 0; text[index]; ++index) {
            const Glyph* glyph = FindGlyph(text[index]);
            if (glyph)
                DrawGlyph(left + index * kGlyphAdvance, top, *glyph, bgr);
        }
    }

  private:
    void DrawGlyph(int left, int top, const Glyph& glyph, const uint8_t bgr[3]) {
        for (int row = 0; row < 5 * kGlyphScale; ++row)
            for (int column = 0; column < 3 * kGlyphScale; ++column)
                if (glyph.rows[row / kGlyphScale] & (4 >> (column / kGlyphScale)))
                    Put(left + column, top + row, bgr);
    }

    uint8_t* firstRow;
    int width;
    int height;
    int stride;
    int bytesPerPixel;
};

// Frame counter as six decimal digits.
void FormatCounter(uint32_t number, char text[8]) {
    for (int digit = 5; digit >= 0; --digit) {
        text[digit] = static_cast<char>('0' + number % 10);
        number /= 10;
    }
    text[6] = 0;
}

} // namespace

void DrawTestPicture(uint8_t* firstRow, int width, int height, int stride, int bytesPerPixel,
                     const PictureLook& look) {
    Canvas canvas(firstRow, width, height, stride, bytesPerPixel);
    const int block = look.coarseness < 1 ? 1 : static_cast<int>(look.coarseness);
    const int barWidth = width / 8 > 0 ? width / 8 : 1;
    const int scroll = static_cast<int>((look.frameNumber * 2) % static_cast<uint32_t>(width));
    const uint8_t black[3] = {0, 0, 0};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (y < kCaptionHeight) {
                canvas.Put(x, y, black);
                continue;
            }
            // Coarse pictures repeat the colour of each block's first pixel.
            int sampleX = x - x % block;
            int bar = ((sampleX + scroll) % width) / barWidth % 8;
            uint8_t bgr[3];
            for (int channel = 0; channel < 3; ++channel)
                bgr[channel] = Brightened(kBars[bar][channel], look.brightness);
            canvas.Put(x, y, bgr);
        }
    }
    const uint8_t white[3] = {255, 255, 255};
    char counter[8];
    FormatCounter(look.frameNumber, counter);
    canvas.Text(kCaptionMargin, kCaptionMargin, counter, white);
    if (look.label)
        canvas.Text(kCaptionMargin + 8 * kGlyphAdvance, kCaptionMargin, look.label, white);
}

uint32_t CoarsenessFromQuality(uint32_t sfMin) {
    uint32_t block = sfMin / 5;
    return block < 1 ? 1 : block > 16 ? 16 : block;
}
