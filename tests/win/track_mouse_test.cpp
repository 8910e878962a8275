#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "skin/track_mouse.h"

namespace {

// Pumps the thread's messages until one for the window arrives, or gives up
// after a generous wait; answers whether it came.
bool Receives(HWND window, UINT wanted) {
    for (int round = 0; round < 400; ++round) {
        MSG message;
        while (PeekMessageA(&message, window, 0, 0, PM_REMOVE)) {
            if (message.message == wanted) {
                return true;
            }
            DispatchMessageA(&message);
        }
        Sleep(10);
    }
    return false;
}

class MouseTracking : public ::testing::Test {
  protected:
    void SetUp() override {
        // A push button under the pointer, as the skinned buttons are.
        control = CreateWindowExA(WS_EX_TOPMOST, "BUTTON", "", WS_POPUP | WS_VISIBLE, 100, 100, 80,
                                  40, NULL, NULL, GetModuleHandleA(NULL), NULL);
        ASSERT_TRUE(control);
        SetCursorPos(140, 120);
    }
    void TearDown() override { DestroyWindow(control); }
    HWND control = NULL;
};

TEST_F(MouseTracking, AsksForHoverAfterOneMillisecondAndLeaveOnTheControl) {
    ASSERT_EQ(1, RequestHoverAndLeave(control));

    TRACKMOUSEEVENT query = {};
    query.cbSize = sizeof query;
    query.dwFlags = TME_QUERY;
    ASSERT_TRUE(_TrackMouseEvent(&query));
    EXPECT_EQ(static_cast<DWORD>(TME_HOVER | TME_LEAVE), query.dwFlags & (TME_HOVER | TME_LEAVE));
    EXPECT_EQ(control, query.hwndTrack);
    EXPECT_EQ(1u, query.dwHoverTime);
}

TEST_F(MouseTracking, TheControlHearsHoverThenLeave) {
    ASSERT_EQ(1, RequestHoverAndLeave(control));
    EXPECT_TRUE(Receives(control, WM_MOUSEHOVER));

    ASSERT_EQ(1, RequestHoverAndLeave(control));
    SetCursorPos(10, 10);
    EXPECT_TRUE(Receives(control, WM_MOUSELEAVE));
}

} // namespace
