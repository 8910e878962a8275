#include "app/startup.h"

// The command line and the show flag are not used: the main window places
// and shows itself.
int WINAPI WinMain(HINSTANCE module, HINSTANCE, LPSTR, int) { return RunProgram(module); }
