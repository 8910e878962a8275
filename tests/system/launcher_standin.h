// The launcher stand-in, seen from a system test: started before Morvane.exe,
// stopped after it, it tells which launcher messages arrived, in order.
#ifndef MORVANE_TESTS_SYSTEM_LAUNCHER_STANDIN_H
#define MORVANE_TESTS_SYSTEM_LAUNCHER_STANDIN_H

#include <windows.h>

#include <string>
#include <vector>

const char kLauncherStandInClass[] = "MorvaneLauncherStandIn";

class LauncherStandIn {
  public:
    LauncherStandIn() = default;
    LauncherStandIn(const LauncherStandIn&) = delete;
    LauncherStandIn& operator=(const LauncherStandIn&) = delete;
    ~LauncherStandIn();

    // Starts launcher_standin.exe of the build and waits for its window.
    void Start();

    // Closes the stand-in after everything posted to it so far, and answers
    // its receipts, one "<message name> <wParam> <lParam>" each.
    std::vector<std::string> StopAndReadReceipts();

  private:
    PROCESS_INFORMATION process = {};
    HWND window = nullptr;
    std::string recordPath;
};

#endif
