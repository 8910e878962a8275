// The common controls' tip window that names a picture-only control while
// the pointer rests on it.
#ifndef MORVANE_SKIN_TOOLTIP_H
#define MORVANE_SKIN_TOOLTIP_H

#include <windows.h>

class Tooltip {
  public:
    Tooltip();

    // Makes the tip window for the controls of owner, which destroys it with
    // itself. A system that cannot make one shows no tips.
    void Create(HWND owner);
    // The tip shows text while the pointer rests on control.
    void Add(HWND control, const char* text);

  private:
    Tooltip(const Tooltip&);
    Tooltip& operator=(const Tooltip&);

    HWND window;
};

#endif
