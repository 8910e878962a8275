#include "skin/text_fit.h"

#include <gtest/gtest.h>

TEST(TextFit, SizesArePixelsOfTheDesignAndStepDownUntilTheTextFits) {
    EXPECT_EQ(-13, DesignTextHeight(10));
    EXPECT_EQ(-15, DesignTextHeight(11));
    EXPECT_EQ(-12, DesignTextHeight(9));
    // A face whose lines are 4 pixels taller than its characters, and whose
    // characters are as wide as high.
    const struct {
        int characters, lines, boxWidth, boxHeight;
        int fitting;
    } cases[] = {
        {20, 1, 300, 20, -13}, // fits as designed
        {20, 1, 260, 20, -13}, // exactly as wide as the box
        {20, 4, 300, 64, -12}, // four lines of 17 pixels need 68: 16 pixels hold
        {25, 1, 300, 20, -12}, // too wide by one character's width
        {20, 1, 300, 16, -12}, // one line too tall
        {40, 1, 300, 20, -9},  // too wide at every height: the smallest
        {20, 9, 300, 64, -9},  // too tall at every height: the smallest
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.characters * 100 + c.lines);
        int measured = 0;
        int height = FittingTextHeight(-13, c.boxWidth, c.boxHeight, [&](int h) {
            ++measured;
            return TextExtent{-h * c.characters, c.lines * (-h + 4)};
        });
        EXPECT_EQ(c.fitting, height);
        EXPECT_LE(measured, 13 - kSmallestTextHeight) << "one measure per height";
    }
}
