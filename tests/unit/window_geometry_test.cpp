#include "wizard/window_geometry.h"

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

// A window higher than the screen spans it: a drag or a change of screen
// keeps its top between the screen's top and the height the screen lacks.
TEST(WindowPlacement, AWindowHigherThanTheScreenKeepsSpanningIt) {
    const ScreenArea low = {0, 0, 640, 480};
    const ScreenArea tall = {0, 0, 1024, 768};
    const struct {
        ScreenArea screen;
        int y;
        int keptY;    // by KeepWindowReachable
        int draggedY; // by DragDestination
    } cases[] = {
        {low, 0, 0, 0},
        {low, -80, -80, -80},
        {low, -81, -80, -80},
        {low, -300, -80, -80},
        {low, 1, 0, 0},
        {low, 900, 0, 0},
        {low, -40, -40, -40},
        {tall, -10, 0, -10},
        {tall, 700, 700, 700},
        {tall, 734, 733, 734},
        {{0, 100, 640, 480}, 0, 20, 20},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.keptY, KeepWindowReachable({50, c.y}, 349, 560, c.screen).y) << c.y;
        EXPECT_EQ(c.draggedY, DragDestination({50, c.y}, 560, c.screen).y) << c.y;
        EXPECT_EQ(50, DragDestination({50, c.y}, 560, c.screen).x);
    }
    EXPECT_EQ(451, KeepWindowReachable({700, -200}, 349, 560, {0, 0, 800, 480}).x);
    // Anywhere on a window higher than the screen drags it; else the top strip only.
    EXPECT_TRUE(DragMovesWindow(400, 560, low));
    EXPECT_FALSE(DragMovesWindow(400, 560, tall));
    EXPECT_TRUE(DragMovesWindow(34, 560, tall));
    EXPECT_FALSE(DragMovesWindow(35, 480, low));
}

TEST(WindowPlacement, AControlIsBroughtOnScreenByTheLeastMove) {
    const ScreenArea low = {0, 0, 640, 480};
    const struct {
        int top, firstRow, lastRow;
        int shownTop;
    } cases[] = {
        {0, 516, 545, -65},   // Next below a 480-row screen: lifted
        {-80, 516, 545, -80}, // already shown
        {-80, 5, 31, -5},     // close button above the screen: lowered
        {-65, 516, 545, -65}, // its last row on the screen's last
        {-30, 0, 560, 0},     // higher than the screen: its first row shown
        {100, 300, 400, 80},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.shownTop, TopShowingRows(c.top, c.firstRow, c.lastRow, low)) << c.top;
    }
}
