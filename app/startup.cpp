#include "app/startup.h"

#include "app/main_dialog.h"
#include "res/resource_ids.h"

HMODULE resourceLibrary = NULL;

namespace {
const char kLibraryName[] = "Morvane.dll";
const char kMissingLibraryText[] =
    "A required file was not found.\nUninstall the application and then re-install it.";
const char kProgramName[] = "Morvane";
const char kInstanceMutexName[] = "KivoMorvane";
} // namespace

int RunProgram(HINSTANCE module) {
    resourceLibrary = LoadLibraryA(kLibraryName);
    if (!resourceLibrary) {
        MessageBoxA(NULL, kMissingLibraryText, kProgramName, MB_ICONERROR);
        return 0;
    }

    // Only the mutex's existence counts; its handle stays open until exit.
    HANDLE instanceMarker = CreateMutexA(NULL, FALSE, kInstanceMutexName);
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        return 0;
    }

    DialogBoxParamA(module, MAKEINTRESOURCEA(IDD_MAIN), NULL, MainDialogProc, 0);
    ReleaseMutex(instanceMarker);
    return 0;
}
