// app/: the top floor: the process, the dialog procedure and the about box.
//
// The program's entry between the runtime and the main window.
#ifndef MORVANE_APP_STARTUP_H
#define MORVANE_APP_STARTUP_H

#include "base/freestanding.h"

// RunProgram loads the string library into resourceLibrary, keeps to a single
// running copy and runs the main window until it closes. Its exit code is 0 on
// every path.

#endif
