// At start the program shows the camera's live picture at its place in the
// main window, or an empty place when no camera is plugged in.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "harness.h"
#include "simulated_camera.h"
#include "tests/wait_until.h"

namespace {

// A row across the middle of the picture, as the screen shows it.
std::vector<COLORREF> PictureRow(HWND main) {
    std::vector<COLORREF> row;
    HDC dc = GetDC(main);
    for (int x = 14; x < 14 + 320; x += 8) {
        row.push_back(GetPixel(dc, x, 82 + 120));
    }
    ReleaseDC(main, dc);
    return row;
}

// Starts the program after a set-up that was finished, with the camera
// plugged in or not; answers its main window.
HWND StartWithCamera(SimulatedCamera* camera, bool plugged, ProgramRun* run) {
    EXPECT_TRUE(camera->Ready());
    camera->Reset(plugged);
    WriteSharedDword("Morvane_AudioSetting", 1);
    EXPECT_TRUE(run->StartMorvane());
    return run->WaitForMainWindow();
}

} // namespace

TEST(Preview, ANewUserSeesTheLivePictureAtItsPlace) {
    SimulatedCamera camera;
    ProgramRun run;
    HWND main = StartWithCamera(&camera, true, &run);
    ASSERT_NE(nullptr, main);

    // The video window is made first and shown after: wait for both.
    HWND video = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        video = VideoWindowOf(main);
        return video && IsWindowVisible(video);
    })) << "the video window shows";
    RECT place;
    GetWindowRect(video, &place);
    MapWindowPoints(HWND_DESKTOP, main, reinterpret_cast<POINT*>(&place), 2);
    EXPECT_EQ(14, place.left);
    EXPECT_EQ(82, place.top);
    EXPECT_EQ(320, place.right - place.left);
    EXPECT_EQ(240, place.bottom - place.top);

    uint32_t frames = camera.FramesDelivered();
    std::vector<COLORREF> before = PictureRow(main);
    EXPECT_TRUE(WaitUntil([&] { return camera.FramesDelivered() > frames + 10; }))
        << "the preview runs";
    // The test picture's bars scroll: the place shows a moving picture.
    EXPECT_TRUE(WaitUntil([&] { return PictureRow(main) != before; }));
}

TEST(Preview, WithoutCameraThePlaceStaysEmpty) {
    SimulatedCamera camera;
    ProgramRun run;
    HWND main = StartWithCamera(&camera, false, &run);
    ASSERT_NE(nullptr, main);
    SendWithTimeout(main, WM_NULL, 0, 0); // the window's set-up, where the camera is attached
    EXPECT_EQ(nullptr, VideoWindowOf(main));
    camera.Reset(true);
}
