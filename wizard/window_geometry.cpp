#include "wizard/window_geometry.h"

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

namespace {

bool IsLowerThanWindow(ScreenArea screen, int windowHeight) {
    return screen.height < windowHeight;
}

// The top of a window higher than the screen: it covers the screen's height.
int SpanScreen(int top, int windowHeight, ScreenArea screen) {
    return Clamp(top, screen.top, screen.top + screen.height - windowHeight);
}

} // namespace

WindowOrigin KeepWindowReachable(WindowOrigin origin, int windowWidth, int windowHeight,
                                 ScreenArea screen) {
    WindowOrigin kept = KeepTopStripOnScreen(origin, windowWidth, screen);
    if (IsLowerThanWindow(screen, windowHeight)) {
        kept.y = SpanScreen(origin.y, windowHeight, screen);
    }
    return kept;
}

WindowOrigin DragDestination(WindowOrigin pointed, int windowHeight, ScreenArea screen) {
    WindowOrigin destination = pointed;
    if (IsLowerThanWindow(screen, windowHeight)) {
        destination.y = SpanScreen(pointed.y, windowHeight, screen);
    }
    return destination;
}

int TopShowingRows(int top, int firstRow, int lastRow, ScreenArea screen) {
    int screenBottom = screen.top + screen.height;
    if (top + lastRow > screenBottom) {
        top = screenBottom - lastRow;
    }
    if (top + firstRow < screen.top) {
        top = screen.top - firstRow;
    }
    return top;
}

bool IsAboutHotSpot(int x, int y) {
    return x >= kHotSpotFirst && x <= kHotSpotLast && y >= kHotSpotFirst && y <= kHotSpotLast;
}

bool IsInDragStrip(int anchorY) {
    return anchorY < kDragStripHeight;
}

bool DragMovesWindow(int anchorY, int windowHeight, ScreenArea screen) {
    return IsInDragStrip(anchorY) || IsLowerThanWindow(screen, windowHeight);
}
