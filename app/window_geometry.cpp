#include "app/window_geometry.h"

namespace {
const int kHotSpotFirst = 1;
const int kHotSpotLast = 29;
const int kDragStripHeight = 35;
} // namespace

WindowOrigin CenterOnScreen(int screenWidth, int screenHeight, int windowWidth, int windowHeight) {
    WindowOrigin origin;
    origin.x = (screenWidth - windowWidth) / 2;
    origin.y = (screenHeight - windowHeight) / 2;
    if (origin.y < 0) {
        origin.y = 0;
    }
    return origin;
}

bool IsAboutHotSpot(int x, int y) {
    return x >= kHotSpotFirst && x <= kHotSpotLast && y >= kHotSpotFirst && y <= kHotSpotLast;
}

bool IsInDragStrip(int anchorY) { return anchorY < kDragStripHeight; }
