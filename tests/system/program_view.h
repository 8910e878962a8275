// What a user sees of a running Morvane.exe, read from outside: the page on
// show, the live picture, the skin faces, the stored settings.
#ifndef MORVANE_TESTS_SYSTEM_PROGRAM_VIEW_H
#define MORVANE_TESTS_SYSTEM_PROGRAM_VIEW_H

#include <windows.h>

#include <string>
#include <vector>

#include "harness.h"
#include "simulated_camera.h"
#include "tests/wait_until.h"

extern const char kSharedSettingsKey[];
extern const char kDriverSettingsKey[];
extern const char kMissingSetting[];

// Starts Morvane.exe and waits until its window has set itself up and, with a
// camera attached, has handled its first status poll; null without a window.
HWND StartMorvaneAndWaitForFirstPoll(ProgramRun& run);

// Waits until the program has handled its next status poll, seen by the camera.
bool WaitForNextPoll(HWND main, SimulatedCamera& camera);

// The page on show, told by the controls its layout shows.
int PageOf(HWND main);
// Waits until the page shows and the program has ended the layout that
// showed it (its controls are shown one after the other).
bool WaitForPage(HWND main, int page, DWORD timeoutMs = 10000);

// The video window is shown and the camera keeps delivering frames to it.
bool PreviewRuns(HWND main, SimulatedCamera& camera);

// A value under HKEY_LOCAL_MACHINE as text (a DWORD as a signed decimal);
// kMissingSetting when it is missing.
std::string ReadSetting(const char* subkey, const char* name);

// The height on a slider at which presses are made.
const int kSliderMiddleY = 12;

// Clicks a slider's track beside its thumb: one page step.
enum PageDirection { kPageLeft, kPageRight };
void PageSlider(HWND main, int sliderId, PageDirection direction);

// Presses a slider at x, moves the pointer through moves and releases it at
// the last place.
void DragSlider(HWND main, int sliderId, int x, const std::vector<int>& moves);

// A click on a button as the main window receives it: its WM_COMMAND.
void PressButton(HWND main, int buttonId);

// Presses and releases a skinned button with the mouse.
void ClickButton(HWND main, int buttonId);

#endif
