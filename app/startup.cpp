#include "app/startup.h"

#include "app/main_dialog.h"
#include "base/ansi_text.h"
#include "base/library_text.h"
#include "base/program_folder.h"
#include "res/resource_ids.h"

namespace {
const char kLibraryName[] = "Morvane.dll";
// The error for a missing library cannot come from the library: the program
// carries it in English and in Japanese, and shows the Japanese one where the
// ANSI code page is Japanese, the one system where MessageBoxA reads its bytes
// right. The file is compiled with code page 932 as its execution character set.
const char kMissingLibraryText[] =
    "A required file was not found.\nUninstall the application and then re-install it.";
const char kMissingLibraryTextJapanese[] = "必要なファイルが見つかりません。\n"
                                           "アプリケーションをアンインストールしてから、"
                                           "もう一度インストールしてください。";
const UINT kJapaneseCodePage = 932;
const char kProgramName[] = "Morvane";
const char kInstanceMutexName[] = "KivoMorvane";
// The string library is taken from the program's own folder only: a copy
// found elsewhere on the search path (the current folder, PATH) never runs
// inside the program.
HMODULE LoadStringLibrary(HINSTANCE module) {
    char programPath[MAX_PATH];
    DWORD length = GetModuleFileNameA(module, programPath, sizeof programPath);
    if (length == 0 || length >= sizeof programPath) {
        return NULL; // no path, or one cut to the buffer
    }
    char libraryPath[MAX_PATH];
    if (!PathInFolderOf(libraryPath, sizeof libraryPath, programPath, kLibraryName,
                        IsAnsiLeadByte)) {
        return NULL;
    }
    return LoadLibraryA(libraryPath);
}

} // namespace

int RunProgram(HINSTANCE module) {
    resourceLibrary = LoadStringLibrary(module);
    if (!resourceLibrary) {
        MessageBoxA(
            NULL, GetACP() == kJapaneseCodePage ? kMissingLibraryTextJapanese : kMissingLibraryText,
            kProgramName, MB_ICONERROR);
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
