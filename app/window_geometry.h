// Where the main window goes and what a press on it means. Platform-free.
#ifndef MORVANE_APP_WINDOW_GEOMETRY_H
#define MORVANE_APP_WINDOW_GEOMETRY_H

struct WindowOrigin {
    int x;
    int y;
};

// Centres a window of the background's size on the screen. The top is kept
// on screen; the left edge may go negative on a narrow screen.
WindowOrigin CenterOnScreen(int screenWidth, int screenHeight, int windowWidth, int windowHeight);

// The about box opens from the logo in the top-left corner (1..29 each way).
bool IsAboutHotSpot(int x, int y);

// Only a press in the top strip (above y 35) moves the window when dragged.
bool IsInDragStrip(int anchorY);

#endif
