// Stands in for the sibling launcher in system tests: a hidden top-level
// window that registers the launcher's two messages and appends one line per
// receipt, "<message name> <wParam> <lParam>", to the file named on its
// command line. The file is closed after each line, so a reader sees every
// receipt at once. WM_CLOSE ends it.
#include <windows.h>

#include <cstdio>
#include <string>

#include "settings/launcher_broadcast.h"
#include "tests/system/launcher_standin.h"

namespace {

std::string recordPath;
UINT showIconMessage = 0;
UINT showNormalMessage = 0;

void Record(const char* name, WPARAM wParam, LPARAM lParam) {
    FILE* file = std::fopen(recordPath.c_str(), "a");
    if (!file) {
        return;
    }
    std::fprintf(file, "%s %llu %lld\n", name, static_cast<unsigned long long>(wParam),
                 static_cast<long long>(lParam));
    std::fclose(file);
}

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == showIconMessage) {
        Record(kShowIconMessage, wParam, lParam);
        return 0;
    }
    if (message == showNormalMessage) {
        Record(kShowNormalMessage, wParam, lParam);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    recordPath = commandLine;
    if (recordPath.empty()) {
        return 2;
    }
    showIconMessage = RegisterWindowMessageA(kShowIconMessage);
    showNormalMessage = RegisterWindowMessageA(kShowNormalMessage);

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = StandInProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kLauncherStandInClass;
    if (!RegisterClassA(&windowClass)) {
        return 1;
    }
    // Never shown: broadcasts reach hidden top-level windows too.
    HWND window = CreateWindowExA(0, kLauncherStandInClass, "", WS_POPUP, 0, 0, 0, 0, NULL, NULL,
                                  instance, NULL);
    if (!window) {
        return 1;
    }
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    return 0;
}
