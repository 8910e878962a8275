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

namespace {

// value, moved into first..last; bounds given in either order.
int Clamp(int value, int first, int last) {
    int low = first < last ? first : last;
    int high = first < last ? last : first;
    if (value < low) {
        return low;
    }
    if (value > high) {
        return high;
    }
    return value;
}

} // namespace

WindowOrigin KeepTopStripOnScreen(WindowOrigin origin, int windowWidth, ScreenArea screen) {
    WindowOrigin kept;
    kept.x = Clamp(origin.x, screen.left, screen.left + screen.width - windowWidth);
    int lowestTop = screen.top + screen.height - kDragStripHeight;
    kept.y = Clamp(origin.y, screen.top, lowestTop > screen.top ? lowestTop : screen.top);
    return kept;
}

bool IsAboutHotSpot(int x, int y) {
    return x >= kHotSpotFirst && x <= kHotSpotLast && y >= kHotSpotFirst && y <= kHotSpotLast;
}

bool IsInDragStrip(int anchorY) {
    return anchorY < kDragStripHeight;
}
