// The one fixture of the system tests: a machine where Morvane never ran,
// the simulated camera installed, and runs of Morvane.exe started with the
// camera in a known state, each ended (killed) with the test, which leaves
// the camera and the settings as it found them.
#ifndef MORVANE_TESTS_SYSTEM_SYSTEM_TEST_H
#define MORVANE_TESTS_SYSTEM_SYSTEM_TEST_H

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "harness.h"
#include "program_view.h"
#include "simulated_camera.h"

// The camera a run starts with: a fresh one, plugged in or not, with a tape
// in or not, extra audio devices after its own, and one with a Preview pin
// after them when named.
struct CameraState {
    bool plugged;
    bool tape;
    std::vector<const wchar_t*> extraAudioDevices;
    const wchar_t* previewPinDevice = nullptr;
};
const CameraState kPluggedIn = {true, true, {}};
const CameraState kUnplugged = {false, true, {}};
const CameraState kWithoutTape = {true, false, {}};

class SystemTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The set-up done on an earlier run: the window is placed as on every
    // later run, and the launcher is told nothing.
    static void MarkSetupDone();

    // Starts Morvane.exe with the camera in the given state, ending an
    // earlier run, and waits until its window has set itself up.
    void Start(const CameraState& state = kPluggedIn, const std::string& arguments = "");
    // The halves of Start: the camera set and the program started (from
    // another folder when given), then the wait for its set-up.
    void Launch(const CameraState& state = kPluggedIn, const std::string& arguments = "",
                const std::string& folder = ProgramFolder());
    void WaitForSetUp();

    // Waits until the page shows and the program has ended the layout that
    // showed it (its controls are shown one after the other).
    void WaitForPage(int page);
    // Waits until the program has handled its next status poll, seen by the
    // camera.
    void WaitForNextPoll();
    // Whether a skinned button comes to show a face on the screen before the
    // next status poll could have changed it.
    testing::AssertionResult Shows(int id, int face);
    // Waits for the end of the program and answers its exit code.
    DWORD WaitForExit() { return run->WaitForExit(); }

    // Real input, one event at a time, each handled before the call returns.
    void RealMouse(POINT at, DWORD flags);
    void RealKey(WORD key, DWORD flags);
    // A key pressed and released, with Shift held around it when shifted.
    void TypeKey(WORD key, bool shifted = false);
    // The control with the keyboard focus in the program; 0 for none.
    int FocusedId();
    // The window that holds the mouse capture in the program's thread.
    HWND CaptureOf() { return ThreadInputOf(main).capture; }

    SimulatedCamera camera;
    std::unique_ptr<ProgramRun> run;
    HWND main = nullptr;
    // Where the real mouse was sent last, and whether its button is down.
    POINT pointer = {0, 0};

  private:
    bool buttonDown = false;
    uint32_t statusReadsAtLaunch = 0;
};

#endif
