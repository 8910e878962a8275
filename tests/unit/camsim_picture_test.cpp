#include <gtest/gtest.h>

#include <vector>

#include "camsim/test_picture.h"

namespace {

struct Picture {
    Picture(int bytesPerPixel, PictureLook look) : pixels(320 * 240 * bytesPerPixel) {
        DrawTestPicture(pixels.data(), 320, 240, 320 * bytesPerPixel, bytesPerPixel, look);
        this->bytesPerPixel = bytesPerPixel;
    }
    const uint8_t* At(int x, int y) const { return &pixels[(y * 320 + x) * bytesPerPixel]; }
    std::vector<uint8_t> pixels;
    int bytesPerPixel;
};

} // namespace

TEST(CamsimPicture, BarsScrollWithTheFrameNumber) {
    Picture first(4, {0, 128, 1, "PLAY"});
    Picture later(4, {10, 128, 1, "PLAY"});
    EXPECT_NE(first.pixels, later.pixels);
    // Eight bars of 40 pixels, bytes in B, G, R order.
    const uint8_t bars[8][3] = {{255, 255, 255}, {0, 255, 255}, {255, 255, 0}, {0, 255, 0},
                                {255, 0, 255},   {0, 0, 255},   {255, 0, 0},   {96, 96, 96}};
    for (int bar = 0; bar < 8; ++bar)
        for (int channel = 0; channel < 3; ++channel)
            EXPECT_EQ(bars[bar][channel], first.At(bar * 40 + 20, 100)[channel])
                << "bar " << bar << " channel " << channel;
}

TEST(CamsimPicture, BrightnessShiftsTheBarsButNotTheCaption) {
    Picture normal(3, {5, 128, 1, "STOP"});
    Picture dark(3, {5, 0, 1, "STOP"});
    Picture bright(3, {5, 255, 1, "STOP"});
    EXPECT_EQ(127, dark.At(0, 100)[0]);
    EXPECT_EQ(223, bright.At(300, 100)[0]); // the grey bar, 96, lifted by 127
    EXPECT_EQ(96, normal.At(300, 100)[0]);
    for (int x = 0; x < 320; ++x)
        for (int y = 0; y < kCaptionHeight; ++y)
            ASSERT_EQ(normal.At(x, y)[0], dark.At(x, y)[0]);
}

TEST(CamsimPicture, CaptionShowsCounterAndLabel) {
    Picture stop(4, {0, 128, 1, "STOP"});
    Picture play(4, {0, 128, 1, "PLAY"});
    Picture counted(4, {123456, 128, 1, "STOP"});
    auto caption = [](const Picture& picture) {
        std::vector<uint8_t> strip(picture.pixels.begin(),
                                   picture.pixels.begin() + 320 * kCaptionHeight * 4);
        return strip;
    };
    EXPECT_NE(caption(stop), caption(play));
    EXPECT_NE(caption(stop), caption(counted));
    int lit = 0;
    for (uint8_t value : caption(stop))
        lit += value == 255;
    EXPECT_GT(lit, 0);
}

TEST(CamsimPicture, CoarsenessRepeatsEachBlocksColourAndFollowsQuality) {
    Picture coarse(4, {3, 128, 16, nullptr});
    for (int x = 0; x < 320; ++x)
        ASSERT_EQ(coarse.At(x - x % 16, 100)[0], coarse.At(x, 100)[0]) << x;
    const struct {
        uint32_t sfMin, block;
    } rows[] = {{0, 1}, {4, 1}, {10, 2}, {50, 10}, {80, 16}, {200, 16}};
    for (const auto& row : rows)
        EXPECT_EQ(row.block, CoarsenessFromQuality(row.sfMin)) << row.sfMin;
}

TEST(CamsimPicture, BottomUpStrideDrawsTheCaptionInTheLastRows) {
    std::vector<uint8_t> pixels(320 * 240 * 3);
    DrawTestPicture(pixels.data() + 239 * 960, 320, 240, -960, 3, {0, 128, 1, "PLAY"});
    EXPECT_EQ(0, pixels[239 * 960 + 300 * 3]); // caption background, top row of the picture
    EXPECT_EQ(255, pixels[0]);                 // white bar in the picture's bottom row
}
