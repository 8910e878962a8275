// First runs seen from outside: the launcher's broadcast, the window's place
// in the z-order, and the pause of the older systems.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "system_test.h"
#include "tests/system/launcher_standin.h"

namespace {

using Lines = std::vector<std::string>;

bool IsTopmost(HWND window) {
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

class FirstRun : public SystemTest {
  protected:
    // Closes the program as its system menu would: nothing is saved.
    void CloseProgram() {
        PostMessageA(main, WM_CLOSE, 0, 0);
        WaitForExit();
    }

    struct StartTimes {
        DWORD toWindow;
        DWORD toAttach;
    };

    // From the process start to its main window being shown, and to the
    // camera's attach at the end of the window's set-up, each seen as it
    // comes.
    StartTimes TimeStart(const char* version) {
        SetReportedVersion(version);
        StartTimes times = {0, 0};
        const DWORD start = GetTickCount();
        Launch();
        WaitUntil(
            [&] {
                const DWORD now = GetTickCount() - start;
                if (!times.toWindow && !run->Windows().empty()) {
                    times.toWindow = now;
                }
                if (!times.toAttach && camera.GraphJoins() > 0) {
                    times.toAttach = now;
                }
                return times.toWindow && times.toAttach;
            },
            "the window to show and the camera to join its preview");
        WaitForSetUp();
        CloseProgram();
        return times;
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
        SCOPED_TRACE(c.what);
        RemoveProgramSettings();
        if (c.stored) {
            WriteSharedDword("Morvane_AudioSetting", c.audioSetting);
        }
        LauncherStandIn launcher;
        launcher.Start();
        Start();
        EXPECT_EQ(!c.firstRun, IsTopmost(main));
        CloseProgram();
        Lines expected;
        if (c.firstRun) {
            expected.push_back("Lumet Show Icon 0 0");
        }
        EXPECT_EQ(expected, launcher.StopAndReadReceipts());
    }
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
    MarkSetupDone();
    StartTimes times = TimeStart("win98");
    EXPECT_LE(times.toWindow, times.toAttach);
    EXPECT_LT(times.toAttach - times.toWindow, kPauseSeenMs);
}

} // namespace
