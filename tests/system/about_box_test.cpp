// The about box opens from the logo of the main window, owned by it, and
// ends through its OK button.
#include <windows.h>

#include <gtest/gtest.h>

#include "harness.h"
#include "res/resource_ids.h"

TEST(AboutBox, OpensFromTheLogoAndClosesWithOk) {
    WriteSharedDword("Morvane_AudioSetting", 1);
    ProgramRun run;
    ASSERT_TRUE(run.StartMorvane());
    HWND main = run.WaitForMainWindow();
    ASSERT_NE(nullptr, main);

    PostClick(main, 1, 1);
    HWND box = run.WaitForWindow("#32770", "", 5000);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(main, GetWindow(box, GW_OWNER));
    EXPECT_FALSE(IsWindowEnabled(main)) << "modal";
    RECT place;
    GetWindowRect(box, &place);
    EXPECT_EQ(395, place.right - place.left);
    EXPECT_EQ(234, place.bottom - place.top);

    HWND ok = GetDlgItem(box, IDC_ABOUT_OK);
    PostMessageA(ok, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    PostMessageA(ok, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    for (int i = 0; i < 100 && IsWindow(box); ++i) {
        Sleep(50);
    }
    EXPECT_FALSE(IsWindow(box));
    EXPECT_TRUE(IsWindowEnabled(main));
}
