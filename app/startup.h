// The program's entry between the runtime and the main window.
#ifndef MORVANE_APP_STARTUP_H
#define MORVANE_APP_STARTUP_H

#include <windows.h>

// The resource string library Morvane.dll; loaded once, never freed.
extern HMODULE resourceLibrary;

// Loads the string library, keeps to a single running copy and runs the main
// window until it closes. Returns the exit code, 0 on every path.
int RunProgram(HINSTANCE module);

#endif
