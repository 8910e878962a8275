// First runs seen from outside: the launcher's broadcast, the window's place
// in the z-order, and the pause of the older systems.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness.h"
#include "tests/system/launcher_standin.h"

namespace {

using Lines = std::vector<std::string>;

// Answers once the window's thread handles messages again, that is when the
// set-up of the window, pause included, has ended.
bool WaitUntilResponsive(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result) != 0;
}

bool IsTopmost(HWND window) {
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// Closes the program as its system menu would: nothing is saved.
void CloseProgram(ProgramRun& run, HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD exitCode = 0;
    EXPECT_TRUE(run.WaitForExit(10000, &exitCode));
}

class FirstRun : public ::testing::Test {
  protected:
    void SetUp() override {
        RemoveProgramSettings();
        SetReportedVersion(nullptr);
    }
    void TearDown() override {
        RemoveProgramSettings();
        SetReportedVersion(nullptr);
    }
};

TEST_F(FirstRun, OnlyAnUnfinishedSetUpTellsTheLauncherAndLeavesTheWindowBelowOthers) {
    const struct {
        const char* what;
        bool stored;
        DWORD audioSetting;
        bool firstRun;
    } cases[] = {
        {"neither key", false, 0, true},
        {"setting 0", true, 0, true},
        {"setting 1", true, 1, false},
    };
    for (const auto& c : cases) {
        RemoveProgramSettings();
        if (c.stored) {
            WriteSharedDword("Morvane_AudioSetting", c.audioSetting);
        }
        LauncherStandIn launcher;
        ASSERT_TRUE(launcher.Start()) << c.what;
        ProgramRun run;
        ASSERT_TRUE(run.StartMorvane()) << c.what;
        HWND window = run.WaitForMainWindow();
        ASSERT_NE(nullptr, window) << c.what;
        ASSERT_TRUE(WaitUntilResponsive(window)) << c.what;
        EXPECT_EQ(!c.firstRun, IsTopmost(window)) << c.what;
        CloseProgram(run, window);
        Lines expected;
        if (c.firstRun) {
            expected.push_back("Lumet Show Icon 0 0");
        }
        EXPECT_EQ(expected, launcher.StopAndReadReceipts()) << c.what;
    }
}

struct StartTimes {
    DWORD toWindow;
    DWORD toAttach;
};

// From the process start to its main window being shown, and to the end of
// the window's set-up, where the camera is attached.
StartTimes TimeStart(const char* version) {
    StartTimes times = {0, 0};
    SetReportedVersion(version);
    ProgramRun run;
    DWORD start = GetTickCount();
    EXPECT_TRUE(run.StartMorvane());
    HWND window = run.WaitForMainWindow(30000);
    times.toWindow = GetTickCount() - start;
    EXPECT_NE(nullptr, window) << version;
    if (window) {
        EXPECT_TRUE(WaitUntilResponsive(window)) << version;
        times.toAttach = GetTickCount() - start;
        CloseProgram(run, window);
    }
    return times;
}

// A pause well beyond what the set-up itself takes, and well short of 5 s.
const DWORD kPauseSeenMs = 4000;

TEST_F(FirstRun, Windows98PausesAfterPlacingTheWindowAndBeforeTheCamera) {
    StartTimes times = TimeStart("win98");
    std::printf("win98: start to window %lu ms, start to attach %lu ms\n", times.toWindow,
                times.toAttach);
    EXPECT_LT(times.toWindow, times.toAttach);
    EXPECT_GE(times.toAttach, 5000u);
    EXPECT_GE(times.toAttach - times.toWindow, kPauseSeenMs);
}

TEST_F(FirstRun, WindowsXpGoesOnAtOnce) {
    StartTimes times = TimeStart("winxp");
    std::printf("winxp: start to window %lu ms, start to attach %lu ms\n", times.toWindow,
                times.toAttach);
    EXPECT_LE(times.toWindow, times.toAttach);
    EXPECT_LT(times.toAttach - times.toWindow, kPauseSeenMs);
}

TEST_F(FirstRun, Windows98GoesOnAtOnceOnceTheSetUpIsDone) {
    WriteSharedDword("Morvane_AudioSetting", 1);
    StartTimes times = TimeStart("win98");
    EXPECT_LE(times.toWindow, times.toAttach);
    EXPECT_LT(times.toAttach - times.toWindow, kPauseSeenMs);
}

} // namespace
