// At start the program shows the camera's live picture at its place in the
// main window, or an empty place when no camera is plugged in.
#include <windows.h>

#include <gtest/gtest.h>

#include "system_test.h"

using Preview = SystemTest;

TEST_F(Preview, ANewUserSeesTheLivePictureAtItsPlace) {
    MarkSetupDone();
    Start();
    WaitForPreview(main, camera);
    RECT place;
    GetWindowRect(VideoWindowOf(main), &place);
    MapWindowPoints(HWND_DESKTOP, main, reinterpret_cast<POINT*>(&place), 2);
    EXPECT_EQ(14, place.left);
    EXPECT_EQ(82, place.top);
    EXPECT_EQ(320, place.right - place.left);
    EXPECT_EQ(240, place.bottom - place.top);
    // The test picture's bars scroll: the place shows a moving picture.
    WaitForMovingPicture(main);
}

TEST_F(Preview, WithoutCameraThePlaceStaysEmpty) {
    MarkSetupDone();
    Start(kUnplugged); // the set-up, where the camera would be attached, has ended
    EXPECT_EQ(nullptr, VideoWindowOf(main));
}
