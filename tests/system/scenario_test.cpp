// Morvane.exe end to end along the roads a user takes: pressing Play, paging
// the quality slider, unplugging and plugging the camera in again, and
// finishing; then the same under the camera's faults switched at random.
// Each step is checked in the camera's command log, the registry, the window
// and the picture on screen.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "camsim/control_block.h"
#include "res/resource_ids.h"
#include "screenshot.h"
#include "soak.h"
#include "system_test.h"

namespace {

const int kStartQuality = 50;
const int kBrightness = 77;

int CountCommands(const std::vector<CommandRecord>& log, uint32_t commandClass, uint32_t code) {
    int count = 0;
    for (const CommandRecord& record : log) {
        count += IsCommand(record, commandClass, code) ? 1 : 0;
    }
    return count;
}

class Scenario : public SystemTest {
  protected:
    void SetUp() override {
        SystemTest::SetUp();
        MarkSetupDone();
        WriteSharedDword("Morvane_VideoBright", kBrightness);
        ASSERT_TRUE(WriteDriverDword("SFMin", kStartQuality));
        Start();
        WaitForPage(1);
        // The first status poll after an attach enables the deck.
        WaitForFace(GetDlgItem(main, IDC_PLAY), IDB_PLAY_NORMAL);
    }

    void Next(int toPage) {
        ClickButton(main, IDC_NEXT);
        WaitForPage(toPage);
    }
};

} // namespace

TEST_F(Scenario, PlayQualityReplugAndFinishAlongTheThreeRoads) {
    WaitForPreview(main, camera);
    WaitForMovingPicture(main); // a live picture at start

    // Pressing Play: the command at once, the button lit, and the poll keeps
    // the playback going by sending it again.
    size_t before = camera.Commands().size();
    ClickButton(main, IDC_PLAY);
    std::vector<CommandRecord> log = camera.Commands();
    ASSERT_GT(log.size(), before);
    EXPECT_TRUE(IsCommand(log[before], 1, 26));
    EXPECT_TRUE(Shows(IDC_PLAY, IDB_PLAY_PRESSED));
    WaitForNextPoll();
    log = camera.Commands();
    EXPECT_TRUE(IsCommand(log.back(), 1, 26)) << "the poll re-sends play";
    EXPECT_TRUE(Shows(IDC_PLAY, IDB_PLAY_PRESSED)) << "the deck reports playing";

    // Paging the quality slider: stored, and a new preview shows the picture.
    Next(2);
    uint32_t graph = camera.GraphJoinMs();
    PageSlider(main, IDC_QUALITY, kPageRight);
    int quality = std::atoi(ReadSetting(kDriverSettingsKey, "SFMin").c_str());
    EXPECT_LT(quality, kStartQuality);
    EXPECT_EQ(std::to_string(std::min(quality + 16, 80)), ReadSetting(kDriverSettingsKey, "SF"));
    EXPECT_NE(graph, camera.GraphJoinMs()) << "the preview was rebuilt";
    WaitForPreview(main, camera);
    WaitForMovingPicture(main);

    // Unplugging: page 0 without a picture; plugging in: page 1 with one,
    // and the deck answers again.
    camera.SetPlugged(false);
    WaitForPage(0);
    EXPECT_EQ(nullptr, VideoWindowOf(main));
    EXPECT_EQ(std::to_string(quality), ReadSetting(kDriverSettingsKey, "SFMin"))
        << "the setting outlives the camera";
    size_t beforePlug = camera.Commands().size();
    camera.SetPlugged(true);
    WaitForPage(1);
    WaitForPreview(main, camera);
    WaitForMovingPicture(main);
    // The deck played on while unplugged; a new link shows and stops it.
    // The poll after the re-attach reads the playing deck.
    WaitForFace(GetDlgItem(main, IDC_PLAY), IDB_PLAY_PRESSED);
    before = camera.Commands().size();
    ClickButton(main, IDC_STOP);
    log = camera.Commands();
    ASSERT_GT(log.size(), before);
    EXPECT_TRUE(IsCommand(log[before], 1, 24));
    // A new camera link: its first command is the brightness, numbered 1.
    ASSERT_GT(log.size(), beforePlug);
    EXPECT_TRUE(IsCommand(log[beforePlug], 8, kBrightness));
    EXPECT_EQ(1u, log[beforePlug].sequence) << "a new camera link after the re-attach";

    // Finish: every choice stored, the deck stopped, the program ended.
    Next(2);
    Next(3);
    Next(4);
    before = camera.Commands().size();
    ClickButton(main, IDC_NEXT);
    WaitForExit();
    log = camera.Commands();
    std::vector<CommandRecord> stop(log.begin() + before, log.end());
    EXPECT_EQ(1, CountCommands(stop, 1, 24)) << "the stop command as the window closes";
    EXPECT_EQ(std::to_string(quality), ReadSetting(kDriverSettingsKey, "SFMin"));
    EXPECT_EQ(std::to_string(kBrightness), ReadSetting(kSharedSettingsKey, "Morvane_VideoBright"));
    EXPECT_EQ("Orvelle Audio", ReadSetting(kSharedSettingsKey, "Morvane_AudioDevice"));
}

TEST_F(Scenario, CloseFromTheSystemMenuEndsWithoutStoringThePageStepsUndone) {
    Next(2);
    PageSlider(main, IDC_QUALITY, kPageRight);
    std::string stepped = ReadSetting(kDriverSettingsKey, "SFMin");
    ASSERT_NE(std::to_string(kStartQuality), stepped) << "a page step stores at once";
    size_t before = camera.Commands().size();
    PostMessageA(main, WM_CLOSE, 0, 0);
    // The window's controller is destroyed at exit, after the program's main
    // function has returned: a fault there ends it with another code or a box.
    EXPECT_EQ(0u, WaitForExit());
    EXPECT_EQ(nullptr, FindWindowA("#32770", "Program Error")) << "Wine's crash box";
    std::vector<CommandRecord> log = camera.Commands();
    EXPECT_EQ(1, CountCommands({log.begin() + before, log.end()}, 1, 24));
    EXPECT_EQ(stepped, ReadSetting(kDriverSettingsKey, "SFMin")) << "nothing restored";
}

// Random faults, plugging and unplugging, quality steps and deck presses,
// from a fixed seed. After each event the window shows what it implies; at
// the end the stored quality is the last one stepped to. MORVANE_SOAK_EVENTS
// sets the number of events (a short run by default).
TEST_F(Scenario, RandomFaultsAndUnplugsNeverLoseTheWindowOrASetting) {
    const char* kLength = "MORVANE_SOAK_EVENTS";
    SoakPlan plan = ReadSoakPlan(kLength, 20240611, 12);
    std::printf("seed %u, %d events\n", plan.seed, plan.length);
    std::mt19937 random(plan.seed);
    CameraModel model;
    int page = 1;
    std::string quality = ReadSetting(kDriverSettingsKey, "SFMin");
    HWND qualityReset = GetDlgItem(main, IDC_QUALITY_RESET);
    for (int event = 0; event < plan.length; ++event) {
        int choice = static_cast<int>(random() % 5);
        SCOPED_TRACE(ReplayHint(kLength, plan, event) + ", kind " + std::to_string(choice));
        switch (choice) {
        case 0: // a fault switch toggled
            ToggleRandomFault(random, model, camera);
            break;
        case 1: // unplug or plug
            TogglePlug(model, camera);
            if (!model.plugged) {
                page = 0;
            } else if (page == 0) {
                page = model.VideoFound() ? 1 : 0;
            }
            break;
        case 2: // a quality step, from page 2
            if (page == 0) {
                continue;
            }
            while (page < 2) {
                Next(++page);
            }
            while (page > 2) {
                ClickButton(main, IDC_PREV);
                WaitForPage(--page);
            }
            // As a user: see whether the settings come to show they can be
            // used (the status poll after an attach enables them; without
            // camera control they never do), then page toward the end with
            // room.
            if (!HoldsWithin([&] { return ShownSkinFace(qualityReset) == IDB_RESET_NORMAL; },
                             kProgramBoundMs)) {
                page = 2;
                break;
            }
            PageSlider(main, IDC_QUALITY, std::stoi(quality) > 42 ? kPageRight : kPageLeft);
            ASSERT_NE(quality, ReadSetting(kDriverSettingsKey, "SFMin")) << "a step stores at once";
            quality = ReadSetting(kDriverSettingsKey, "SFMin");
            page = model.VideoFound() ? 2 : 0;
            break;
        default: { // a deck button, as a user can press it
            int button = random() % 2 ? IDC_PLAY : IDC_STOP;
            int disabledFace = button == IDC_PLAY ? IDB_PLAY_DISABLED : IDB_STOP_DISABLED;
            HWND control = GetDlgItem(main, button);
            if (IsShown(control) && ShownSkinFace(control) != disabledFace) {
                ClickButton(main, button);
            }
            break;
        }
        }
        // A plug-in attaches 3 s after the arrival; everything else at once.
        WaitForPage(page);
        ASSERT_EQ(quality, ReadSetting(kDriverSettingsKey, "SFMin"));
        SendWithTimeout(main, WM_NULL, 0, 0); // a window that never answers fails the test
    }
    if (page != 0) {
        WaitForPreview(main, camera);
    } else {
        EXPECT_FALSE(ShowsPicture(main));
    }
    EXPECT_EQ(std::to_string(kBrightness), ReadSetting(kSharedSettingsKey, "Morvane_VideoBright"));
}
