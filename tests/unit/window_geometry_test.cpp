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

TEST(WindowPlacement, TheTopStripIsBroughtBackOnlyWhenItLeavesTheScreen) {
    const ScreenArea screen = {0, 0, 800, 600};
    const struct {
        int x, y;
        int keptX, keptY;
    } cases[] = {
        {50, 60, 50, 60},     // on the screen: stays put
        {50, 200, 50, 200},   // the lower part off the screen: stays put
        {451, 565, 451, 565}, // the strip's last row and column on the screen
        {50, 566, 50, 565},   // the strip's last row below the screen
        {50, 900, 50, 565},   // wholly below, as after a switch to a smaller screen
        {50, -1, 50, 0},      // its top above the screen
        {452, 60, 451, 60},   // its right end off the screen
        {-1, 60, 0, 60},      // its left end off the screen
        {2000, -300, 451, 0},
    };
    for (const auto& c : cases) {
        WindowOrigin kept = KeepTopStripOnScreen({c.x, c.y}, 349, screen);
        EXPECT_EQ(c.keptX, kept.x) << c.x << "," << c.y;
        EXPECT_EQ(c.keptY, kept.y) << c.x << "," << c.y;
    }
}

TEST(WindowPlacement, ATopStripWiderThanTheScreenKeepsItsLeftBetweenTheEdges) {
    const ScreenArea narrow = {0, 0, 300, 20};
    const struct {
        int x;
        int keptX;
    } cases[] = {{-24, -24}, {0, 0}, {-49, -49}, {10, 0}, {-60, -49}};
    for (const auto& c : cases) {
        // A screen lower than the strip keeps the top at its top, wherever it was.
        for (int y : {-100, -10, 0, 5, 40, 900}) {
            WindowOrigin kept = KeepTopStripOnScreen({c.x, y}, 349, narrow);
            EXPECT_EQ(c.keptX, kept.x) << c.x << "," << y;
            EXPECT_EQ(0, kept.y) << c.x << "," << y;
        }
    }
    const ScreenArea lowAndBelow = {0, 100, 300, 20};
    for (int y : {-10, 99, 100, 110, 500}) {
        EXPECT_EQ(100, KeepTopStripOnScreen({0, y}, 349, lowAndBelow).y) << y;
    }
    // A desktop of two monitors, the second left of the first.
    const ScreenArea desktop = {-1024, 0, 2048, 768};
    WindowOrigin onTheLeft = KeepTopStripOnScreen({-900, 100}, 349, desktop);
    EXPECT_EQ(-900, onTheLeft.x);
    WindowOrigin beyond = KeepTopStripOnScreen({-1100, 100}, 349, desktop);
    EXPECT_EQ(-1024, beyond.x);
}
