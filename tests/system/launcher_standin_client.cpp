#include "tests/system/launcher_standin.h"

#include <fstream>

#include "harness.h"
#include "tests/wait_until.h"

namespace {

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindStandInWindow(HWND window, LPARAM parameter) {
    WindowSearch* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && ClassOf(window) == kLauncherStandInClass) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

LauncherStandIn::~LauncherStandIn() {
    if (process.hProcess) {
        TerminateProcess(process.hProcess, 1);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
}

void LauncherStandIn::Start() {
    recordPath = MakeScratchFolder("launcher") + "\\receipts.txt";
    std::string commandLine = "\"" + BinFolder() + "\\launcher_standin.exe\" " + recordPath;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(NULL, &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                        &process)) {
        throw std::runtime_error("the launcher stand-in cannot be started");
    }
    // Ready once its window exists: from then on every broadcast reaches it.
    WaitUntil(
        [&] {
            WindowSearch search = {process.dwProcessId, nullptr};
            EnumWindows(FindStandInWindow, reinterpret_cast<LPARAM>(&search));
            window = search.found;
            return window != nullptr;
        },
        "the launcher stand-in's window");
}

std::vector<std::string> LauncherStandIn::StopAndReadReceipts() {
    // Posted messages are handled in order: whatever was posted to the
    // stand-in before this close has been recorded when it ends.
    PostMessageA(window, WM_CLOSE, 0, 0);
    WaitUntil([&] { return WaitForSingleObject(process.hProcess, 0) != WAIT_TIMEOUT; },
              "the launcher stand-in to end");
    std::vector<std::string> receipts;
    std::ifstream file(recordPath);
    for (std::string line; std::getline(file, line);) {
        receipts.push_back(line);
    }
    return receipts;
}
