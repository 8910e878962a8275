// Where the main window goes and what a press on it means. Platform-free.
#ifndef MORVANE_WIZARD_WINDOW_GEOMETRY_H
#define MORVANE_WIZARD_WINDOW_GEOMETRY_H

struct WindowOrigin {
    int x;
    int y;
};

// Centres a window of the background's size on the screen. The top is kept
// on screen; the left edge may go negative on a narrow screen.
WindowOrigin CenterOnScreen(int screenWidth, int screenHeight, int windowWidth, int windowHeight);

// The desktop in screen coordinates; it may start left of or above 0 when it
// spans several monitors.
struct ScreenArea {
    int left;
    int top;
    int width;
    int height;
};

// Where a window whose top-left corner is at origin goes so that its top
// strip, the only place it can be dragged by, can be reached: it stays put
// while the strip lies wholly on the screen, else it moves the least
// distance that brings the strip back. A window wider than the screen keeps
// its left edge between the screen's left edge and the width it lacks.
WindowOrigin KeepTopStripOnScreen(WindowOrigin origin, int windowWidth, ScreenArea screen);

// Where a window goes so that all of it can be reached. On a screen at least
// as high as the window: as KeepTopStripOnScreen. On a lower screen the top
// stays between the screen's top and the height the screen lacks, so the
// window always spans the screen's height and a drag can bring either its
// top strip or its bottom row onto it.
WindowOrigin KeepWindowReachable(WindowOrigin origin, int windowWidth, int windowHeight,
                                 ScreenArea screen);

// Where a drag puts a window that the pointer would take to pointed: there,
// except on a screen lower than the window, where the top is kept as
// KeepWindowReachable keeps it.
WindowOrigin DragDestination(WindowOrigin pointed, int windowHeight, ScreenArea screen);

// The window's top that shows its client rows first..last (last excluded)
// on the screen, moving it the least from top; a run of rows higher than
// the screen shows its first row.
int TopShowingRows(int top, int firstRow, int lastRow, ScreenArea screen);

// The about box opens from the logo in the top-left corner (1..29 each way).
bool IsAboutHotSpot(int x, int y);

// Only a press in the top strip (above y 35) moves the window when dragged;
// on a screen lower than the window a press anywhere on it does.
bool IsInDragStrip(int anchorY);
bool DragMovesWindow(int anchorY, int windowHeight, ScreenArea screen);

#endif
