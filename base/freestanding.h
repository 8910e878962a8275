// The program's main function, which the process entry of the release's own
// runtime (freestanding.cpp) calls, as a C runtime calls main: each program
// linked with that runtime defines it.
#ifndef MORVANE_BASE_FREESTANDING_H
#define MORVANE_BASE_FREESTANDING_H

#include <windows.h>

// Runs the program; its result is the process's exit code.
int RunProgram(HINSTANCE module);

#endif
