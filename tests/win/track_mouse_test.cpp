#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "skin/track_mouse.h"
#include "tests/wait_until.h"

namespace {

// The tracking messages the control has received, counted in front of its
// own procedure.
int hovers = 0, leaves = 0;
WNDPROC buttonProc = nullptr;

LRESULT CALLBACK CountTracking(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    hovers += message == WM_MOUSEHOVER;
    leaves += message == WM_MOUSELEAVE;
    return CallWindowProcA(buttonProc, window, message, wParam, lParam);
}

class MouseTracking : public ::testing::Test {
  protected:
    void SetUp() override {
        // A push button under the pointer, as the skinned buttons are.
        control = CreateWindowExA(WS_EX_TOPMOST, "BUTTON", "", WS_POPUP | WS_VISIBLE, 100, 100, 80,
                                  40, NULL, NULL, GetModuleHandleA(NULL), NULL);
        ASSERT_TRUE(control);
        hovers = leaves = 0;
        buttonProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountTracking)));
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
    WaitUntil([] { return hovers > 0; }, "the control to hear the hover");

    ASSERT_EQ(1, RequestHoverAndLeave(control));
    SetCursorPos(10, 10);
    WaitUntil([] { return leaves > 0; }, "the control to hear the leave");
}

} // namespace
