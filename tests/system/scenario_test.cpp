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
#include "harness.h"
#include "program_view.h"
#include "res/resource_ids.h"
#include "screenshot.h"
#include "simulated_camera.h"
#include "soak.h"

namespace {

const int kStartQuality = 50;
const int kBrightness = 77;

bool IsCommand(const CommandRecord& record, uint32_t commandClass, uint32_t code) {
    return record.commandClass == commandClass && record.code == code;
}

int CountCommands(const std::vector<CommandRecord>& log, uint32_t commandClass, uint32_t code) {
    int count = 0;
    for (const CommandRecord& record : log) {
        count += IsCommand(record, commandClass, code) ? 1 : 0;
    }
    return count;
}

// The picture inside the video window changes from one look to the next.
bool PictureMoves(HWND main) {
    HWND video = VideoWindowOf(main);
    if (!video) {
        return false;
    }
    Screenshot before = CaptureFromScreen(video);
    return before.width > 0 &&
           WaitUntil([&] { return CaptureFromScreen(video).pixels != before.pixels; });
}

class Scenario : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(camera.Ready());
        WriteSharedDword("Morvane_AudioSetting", 1);
        WriteSharedDword("Morvane_VideoBright", kBrightness);
        camera.Reset(true);
        camera.SetTape(true);
        ASSERT_TRUE(WriteDriverDword("SFMin", kStartQuality));
        ASSERT_TRUE(run.StartMorvane());
        main = run.WaitForMainWindow();
        ASSERT_NE(nullptr, main);
        ASSERT_TRUE(WaitForPage(main, 1));
        ASSERT_TRUE(WaitForDeck());
    }
    void TearDown() override { camera.Reset(true); }

    // The first status poll after an attach enables the deck.
    bool WaitForDeck() {
        HWND play = GetDlgItem(main, IDC_PLAY);
        return WaitUntil([&] { return ShownSkinFace(play) == IDB_PLAY_NORMAL; }, 3000);
    }
    bool PlayLit() {
        HWND play = GetDlgItem(main, IDC_PLAY);
        return WaitUntil([&] { return ShownSkinFace(play) == IDB_PLAY_PRESSED; }, 3000);
    }

    void Next(int toPage) {
        ClickButton(main, IDC_NEXT);
        ASSERT_TRUE(WaitForPage(main, toPage, 3000));
    }

    SimulatedCamera camera;
    ProgramRun run;
    HWND main = nullptr;
};

} // namespace

TEST_F(Scenario, PlayQualityReplugAndFinishAlongTheThreeRoads) {
    EXPECT_TRUE(PreviewRuns(main, camera));
    EXPECT_TRUE(PictureMoves(main)) << "a live picture at start";

    // Pressing Play: the command at once, the button lit, and the poll keeps
    // the playback going by sending it again.
    ASSERT_TRUE(WaitForDeck());
    size_t before = camera.Commands().size();
    ClickButton(main, IDC_PLAY);
    std::vector<CommandRecord> log = camera.Commands();
    ASSERT_GT(log.size(), before);
    EXPECT_TRUE(IsCommand(log[before], 1, 26));
    EXPECT_TRUE(PlayLit());
    ASSERT_TRUE(WaitForNextPoll(main, camera));
    log = camera.Commands();
    EXPECT_TRUE(IsCommand(log.back(), 1, 26)) << "the poll re-sends play";
    EXPECT_TRUE(PlayLit()) << "the deck reports playing";

    // Paging the quality slider: stored, and a new preview shows the picture.
    Next(2);
    uint32_t graph = camera.GraphJoinMs();
    PageSlider(main, IDC_QUALITY, kPageRight);
    int quality = std::atoi(ReadSetting(kDriverSettingsKey, "SFMin").c_str());
    EXPECT_LT(quality, kStartQuality);
    EXPECT_EQ(std::to_string(std::min(quality + 16, 80)), ReadSetting(kDriverSettingsKey, "SF"));
    EXPECT_NE(graph, camera.GraphJoinMs()) << "the preview was rebuilt";
    EXPECT_TRUE(PreviewRuns(main, camera));
    EXPECT_TRUE(PictureMoves(main));

    // Unplugging: page 0 without a picture; plugging in: page 1 with one,
    // and the deck answers again.
    camera.SetPlugged(false);
    ASSERT_TRUE(WaitForPage(main, 0, 3000));
    EXPECT_EQ(nullptr, VideoWindowOf(main));
    EXPECT_EQ(std::to_string(quality), ReadSetting(kDriverSettingsKey, "SFMin"))
        << "the setting outlives the camera";
    size_t beforePlug = camera.Commands().size();
    camera.SetPlugged(true);
    ASSERT_TRUE(WaitForPage(main, 1, 6000));
    EXPECT_TRUE(PreviewRuns(main, camera));
    EXPECT_TRUE(PictureMoves(main));
    // The deck played on while unplugged; a new link shows and stops it.
    EXPECT_TRUE(PlayLit()) << "the poll after the re-attach reads the playing deck";
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
    DWORD exitCode = 1;
    ASSERT_TRUE(run.WaitForExit(5000, &exitCode));
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
    DWORD exitCode = 1;
    ASSERT_TRUE(run.WaitForExit(5000, &exitCode));
    // The window's controller is destroyed at exit, after the program's main
    // function has returned: a fault there ends it with another code or a box.
    EXPECT_EQ(0u, exitCode);
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
                ASSERT_TRUE(WaitForPage(main, --page, 3000));
            }
            // As a user: wait until the settings show they can be used (the
            // status poll after an attach enables them; without camera
            // control they stay disabled), then page toward the end with room.
            if (!WaitUntil([&] { return ShownSkinFace(qualityReset) == IDB_RESET_NORMAL; }, 3000)) {
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
        ASSERT_TRUE(WaitForPage(main, page, choice == 1 ? 6000 : 3000)) << "shows " << PageOf(main);
        ASSERT_EQ(quality, ReadSetting(kDriverSettingsKey, "SFMin"));
        DWORD_PTR answer = 0;
        ASSERT_NE(0, SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &answer))
            << "the window answers";
    }
    EXPECT_EQ(page != 0, PreviewRuns(main, camera));
    EXPECT_EQ(std::to_string(kBrightness), ReadSetting(kSharedSettingsKey, "Morvane_VideoBright"));
}
