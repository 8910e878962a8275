// Drives Morvane.exe as a black box from a test program under Wine: starts
// it, finds its windows, waits for it to end.
#ifndef MORVANE_TESTS_SYSTEM_HARNESS_H
#define MORVANE_TESTS_SYSTEM_HARNESS_H

#include <windows.h>

#include <string>
#include <vector>

#include "tests/wait_until.h"

// Folder of the running test program: the build's bin folder, which also
// holds Morvane.exe and Morvane.dll.
std::string BinFolder();

// Folder of the Morvane.exe and Morvane.dll under test: MORVANE_PROGRAM_FOLDER
// when it is set (the win32 release as it ships, tested by the 64-bit driver),
// the build's bin folder otherwise.
std::string ProgramFolder();

// Text stringId of the Morvane.dll under test, as the program loads it in this
// process's code page; empty when the library lacks it.
std::string ProgramText(int stringId);

// The registry view that Morvane.exe sees, to add to every access of its keys
// under HKEY_LOCAL_MACHINE: the 32-bit view for a 32-bit program.
REGSAM ProgramRegistryView();

// Deletes every key Morvane.exe and the camera's driver keep under
// HKEY_LOCAL_MACHINE, as on a machine where the program never ran.
void RemoveProgramSettings();

// A fresh empty folder under the temporary folder.
std::string MakeScratchFolder(const char* name);

// Window class and title of a window.
std::string ClassOf(HWND window);
std::string TextOf(HWND window);

// A run of a program, ended (killed) when the object goes away. Its waits
// fail the test (they throw) when what they wait for does not come.
class ProgramRun {
  public:
    ProgramRun() = default;
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;
    ~ProgramRun();

    // Starts `folder\program arguments` with folder as current directory.
    [[nodiscard]] bool Start(const std::string& folder, const std::string& program,
                             const std::string& arguments = "");

    // Starts Morvane.exe under test on a Wine virtual desktop of its own,
    // whose screen is width x height. Its windows are then looked up on that
    // desktop, and the run ends with the desktop.
    [[nodiscard]] bool StartMorvaneOnScreen(int width, int height);

    // Starts Morvane.exe under test.
    [[nodiscard]] bool StartMorvane(const std::string& arguments = "") {
        return Start(ProgramFolder(), "Morvane.exe", arguments);
    }

    // The visible top-level windows of the process, on its desktop.
    std::vector<HWND> Windows() const;

    // Waits until the process shows a top-level window of the given class
    // and title; a process that ends first fails the test at once.
    HWND WaitForWindow(const char* windowClass, const char* title,
                       DWORD boundMs = kProgramBoundMs) const;

    // The main window: the dialog titled "Morvane", once it is shown.
    HWND WaitForMainWindow();

    // Waits for the end of the process and answers its exit code.
    DWORD WaitForExit() const;

    // Whether the process has ended.
    bool Ended() const;

    DWORD ProcessId() const { return processId; }
    HANDLE Process() const { return process; }

  private:
    HANDLE process = nullptr;
    DWORD processId = 0;
    bool Launch(std::string commandLine, const std::string& folder);

    std::string desktopName;
};

// Writes a DWORD value under the program's shared settings key in
// HKEY_LOCAL_MACHINE, creating the key when needed.
void WriteSharedDword(const char* name, DWORD value);

// A string value written under the shared settings key (created when needed).
void WriteSharedText(const char* name, const char* text);

// Makes Wine report the given Windows version ("win98", "winxp") to
// Morvane.exe alone; null removes the setting.
void SetReportedVersion(const char* version);

// Presses and releases the left button at a client point of a window, as
// posted mouse messages; move is sent in between when given.
void PostClick(HWND window, int x, int y);

// Real mouse input at a point of the screen (MOUSEEVENTF_LEFTDOWN, _LEFTUP or
// 0 for a move), as the X server gives it to Wine: the press activates the
// window before its control sees it. The point goes with the event, as Wine
// may still move the pointer back for an X event of an earlier move.
void SendRealMouse(POINT onScreen, DWORD flags);

// A real key event (0 for a press, KEYEVENTF_KEYUP), given to the window in
// the foreground.
void SendRealKey(WORD key, DWORD flags);

// Shift pressed or released at the X server, as a keyboard's Shift is, and
// then seen by Wine. Wine brings its modifier keys in line with the X
// server's keyboard whenever one of its windows is entered or focused; a
// Shift held with SendInput alone, which the X server never sees, is let go
// then, and a Tab handled after it walks forward.
void SetShiftAtXServer(bool down);
// The pointer moved at the X server, and then seen by Wine there. Wine warps
// the X pointer for a move sent with SendInput only when the move changes its
// own idea of the pointer, which can be stale (at first it holds 0,0 wherever
// the X pointer is).
void MovePointerAtXServer(POINT onScreen);

// Sends a message and answers its result once the program has handled it; a
// program that does not handle it within the answer's bound fails the test
// instead of hanging it.
LRESULT SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The same in the message's wide form: across processes a text travels
// intact only so.
LRESULT SendWideWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The program's video window: the one child of the main window that is none
// of its dialog controls (buttons and the combobox); null when there is none.
HWND VideoWindowOf(HWND main);

// Whether a child window's own visible flag is set.
bool IsShown(HWND window);

#endif
