#include "app/window_geometry.h"

#include <gtest/gtest.h>

TEST(WindowPlacement, CentresOnAScreenLargerThanTheWindow) {
    WindowOrigin origin = CenterOnScreen(1024, 768, 349, 560);
    EXPECT_EQ(337, origin.x);
    EXPECT_EQ(104, origin.y);
}

TEST(WindowPlacement, TopStaysOnALowScreenLeftMayGoNegative) {
    WindowOrigin low = CenterOnScreen(800, 500, 349, 560);
    EXPECT_EQ(225, low.x);
    EXPECT_EQ(0, low.y);

    // The division truncates toward zero: (300 - 349) / 2 is -24, not -25.
    WindowOrigin narrow = CenterOnScreen(300, 600, 349, 560);
    EXPECT_EQ(-24, narrow.x);
    EXPECT_EQ(20, narrow.y);
}

TEST(AboutHotSpot, CoversOneToTwentyNineBothWays) {
    EXPECT_TRUE(IsAboutHotSpot(1, 1));
    EXPECT_TRUE(IsAboutHotSpot(29, 29));
    EXPECT_TRUE(IsAboutHotSpot(1, 29));
    EXPECT_FALSE(IsAboutHotSpot(0, 5));
    EXPECT_FALSE(IsAboutHotSpot(5, 0));
    EXPECT_FALSE(IsAboutHotSpot(30, 5));
    EXPECT_FALSE(IsAboutHotSpot(5, 30));
    EXPECT_FALSE(IsAboutHotSpot(-3, 5));
}

TEST(WindowDrag, OnlyTheTopStripMovesTheWindow) {
    EXPECT_TRUE(IsInDragStrip(0));
    EXPECT_TRUE(IsInDragStrip(34));
    EXPECT_FALSE(IsInDragStrip(35));
    EXPECT_FALSE(IsInDragStrip(400));
}
