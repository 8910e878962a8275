// The about box: a borderless modal window drawn from one bitmap, with a
// shadowed title, the copyright and version lines and two skinned buttons.
#ifndef MORVANE_APP_ABOUT_BOX_H
#define MORVANE_APP_ABOUT_BOX_H

#include <windows.h>

// The copyright line drawn above the version.
extern const char kAboutCopyright[];
extern const char kAboutVersion[];

// Dialog procedure of template 165. The box ends only through its OK and
// close buttons, with result 1.
INT_PTR CALLBACK AboutBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam);

#endif
