// Reaching every control whatever the screen: the window dragged into view
// with the real mouse on a screen lower than it. Positions come from the
// screen's own size, so the tests hold on any screen.
#include <windows.h>

#include <gtest/gtest.h>

#include "harness.h"
#include "program_view.h"
#include "res/resource_ids.h"
#include "simulated_camera.h"

namespace {

RECT ScreenRectOf(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

bool WhollyOnScreen(HWND control) {
    RECT rect = ScreenRectOf(control);
    return rect.left >= 0 && rect.top >= 0 && rect.right <= GetSystemMetrics(SM_CXSCREEN) &&
           rect.bottom <= GetSystemMetrics(SM_CYSCREEN);
}

class Reach : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(camera.Ready());
        WriteSharedDword("Morvane_AudioSetting", 1);
        camera.Reset(true);
        camera.SetTape(true);
        main = StartMorvaneAndWaitForFirstPoll(run);
        ASSERT_NE(nullptr, main);
        ASSERT_TRUE(WaitForPage(main, 1));
        SetForegroundWindow(main);
        WaitForQueueHandled(main);
    }
    void TearDown() override { SendRealMouse(pointer, MOUSEEVENTF_LEFTUP); }

    // Real input, one event at a time, each handled before the next.
    void Mouse(POINT at, DWORD flags) {
        pointer = at;
        SendRealMouse(at, flags);
        WaitForQueueHandled(main);
    }
    // Presses the window's background left of the picture and drags the
    // pointer by dy, in steps as a hand moves.
    void DragBackground(int dy) {
        POINT at = {5, 200};
        ClientToScreen(main, &at);
        int height = GetSystemMetrics(SM_CYSCREEN);
        at.y = at.y < 0 ? 0 : (at.y >= height ? height - 1 : at.y);
        Mouse(at, MOUSEEVENTF_LEFTDOWN);
        for (int step = 1; step <= 4; ++step) {
            POINT to = {at.x, at.y + dy * step / 4};
            to.y = to.y < 0 ? 0 : (to.y >= height ? height - 1 : to.y);
            Mouse(to, 0);
        }
        Mouse(pointer, MOUSEEVENTF_LEFTUP);
    }
    void ClickCentreOf(int id) {
        RECT rect = ScreenRectOf(GetDlgItem(main, id));
        POINT centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        Mouse(centre, MOUSEEVENTF_LEFTDOWN);
        Mouse(centre, MOUSEEVENTF_LEFTUP);
    }

    SimulatedCamera camera;
    ProgramRun run;
    HWND main = nullptr;
    POINT pointer = {0, 0};
};

TEST_F(Reach, TheMouseDragsTheButtonsIntoViewAndTheTopStripBack) {
    RECT placed = ScreenRectOf(main);
    EXPECT_EQ(560, placed.bottom - placed.top) << "the window is whole";
    DragBackground(-GetSystemMetrics(SM_CYSCREEN));
    for (int id : {IDC_NEXT, IDC_CANCEL}) {
        EXPECT_TRUE(WhollyOnScreen(GetDlgItem(main, id))) << id;
    }
    ClickCentreOf(IDC_NEXT);
    EXPECT_TRUE(WaitForPage(main, 2));
    EXPECT_TRUE(WhollyOnScreen(GetDlgItem(main, IDC_PREV)));

    DragBackground(GetSystemMetrics(SM_CYSCREEN));
    for (int id : {IDC_CLOSE, IDC_MINIMIZE}) {
        EXPECT_TRUE(WhollyOnScreen(GetDlgItem(main, id))) << id;
    }
    // A window the screen holds stays where it was placed.
    if (GetSystemMetrics(SM_CYSCREEN) >= 560) {
        RECT now = ScreenRectOf(main);
        EXPECT_TRUE(EqualRect(&placed, &now));
    }
}

} // namespace
