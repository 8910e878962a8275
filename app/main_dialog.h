// The main dialog procedure: builds the one StreamingWizard on the first
// message and routes every message to its handler.
#ifndef MORVANE_APP_MAIN_DIALOG_H
#define MORVANE_APP_MAIN_DIALOG_H

#include <windows.h>

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
