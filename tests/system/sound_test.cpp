// The preview's sound as a listener hears it: recorded from the sound
// server's sink while Morvane.exe plays the simulated camera's tone, at the
// volume slider's level, silent while muted, kept through every rebuild of
// the preview, and gone when the program ends.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "res/resource_ids.h"
#include "sound_meter.h"
#include "system_test.h"

namespace {

// A level read twice agrees within this, dropouts under load included.
const double kBound = 0.5;
// The volume slider's top: full volume.
const long kSliderTop = 5000;
// The camera's tone, and every other audio device's.
const double kCameraTone = 441;
const double kOtherTone = 735;
// Pitches read apart by this much are told apart, dropouts included.
const double kToneBound = 40;
// Every device's tone at full volume, as heard from the sink.
const double kFullVolume = -39.49;

// The roads of the sound to the renderer. The camera's own device offers
// only a Capture pin, as a sound card's filter does: the graph builder puts
// a Smart Tee before the renderer, whose samples carry no times, in the
// program's buffers of half a second. A device with a Preview pin of its
// own plays through it, every sample with its times, in its own tone.
struct Road {
    const char* name;
    const wchar_t* previewPinDevice; // chosen, or null for the camera's own
    double tone;
};
const Road kSoundCardsRoad = {"CapturePin", nullptr, kCameraTone};
const Road kPreviewPinsRoad = {"PreviewPin", L"Preview Mic", kOtherTone};

class Sound : public SystemTest {
  protected:
    void SetUp() override {
        SystemTest::SetUp();
        ASSERT_TRUE(meter.Ready()) << meter.Problem();
    }

    void Start(const Road& road = kSoundCardsRoad) {
        if (road.previewPinDevice) {
            WriteSharedText("Morvane_AudioDevice", "Preview Mic");
        }
        SystemTest::Start({true, true, {L"Test Mic"}, road.previewPinDevice});
    }

    // The level heard once it has settled; the test fails when it never does.
    double Heard() {
        SoundLevel level = meter.Settled();
        EXPECT_FALSE(level.silent) << "nothing is heard";
        return level.dbfs;
    }

    // Rebuilds the preview in one of the ways a user can.
    void Rebuild(const std::string& how) {
        uint32_t graph = camera.GraphJoinMs();
        if (how == "quality step") {
            PressButton(main, IDC_NEXT);
            PageSlider(main, IDC_QUALITY, kPageLeft);
        } else if (how == "re-detection") {
            camera.AddAudioDevice(L"Line In");
        } else if (how == "unplug and plug") {
            camera.SetPlugged(false);
            WaitForPage(0);
            camera.SetPlugged(true);
            WaitForPage(1);
        }
        WaitUntil([&] { return camera.GraphJoinMs() != graph; }, "the " + how + " to rebuild");
        WaitForQueueHandled(main); // the rest of the rebuild, volume included
    }

    SoundMeter meter;
};

// The volume slider's thumb centre at the top of its track (63), and a
// place left of the track.
const int kVolumeThumbAtTop = 63;
const int kLeftOfVolumeTrack = 0;

// Pages of the volume slider down from its top, or a drag of its thumb to
// the bottom (paging stops a few pixels short, where the thumb covers the
// click); the value the slider then shows (a page moves the thumb 8 of the
// track's 42 pixels); and a rebuild.
struct Case {
    int pages;
    bool dragToBottom;
    long slider;
    const char* rebuild;
};

void PrintTo(const Case& row, std::ostream* out) {
    *out << (row.dragToBottom ? "at the bottom" : std::to_string(row.pages) + " pages down")
         << ", then " << row.rebuild;
}

void PrintTo(const Road& road, std::ostream* out) {
    *out << road.name;
}

class SoundAtLevel : public Sound, public ::testing::WithParamInterface<std::tuple<Case, Road>> {
  protected:
    const Case& Row() const { return std::get<0>(GetParam()); }
    const Road& TheRoad() const { return std::get<1>(GetParam()); }
};

std::string CaseName(const ::testing::TestParamInfo<std::tuple<Case, Road>>& info) {
    const Case& row = std::get<0>(info.param);
    std::string name =
        std::string(std::get<1>(info.param).name) + "_" +
        (row.dragToBottom ? std::string("AtTheBottom") : std::to_string(row.pages) + "PagesDown") +
        "Then_" + row.rebuild;
    for (char& c : name) {
        c = isalnum(static_cast<unsigned char>(c)) ? c : '_';
    }
    return name;
}

} // namespace

TEST_P(SoundAtLevel, IsHeardAtTheSlidersLevelThroughARebuild) {
    Start(TheRoad());
    double full = Heard();
    EXPECT_NEAR(kFullVolume, full, kBound) << "as loud on every road";
    SoundLevel tone = meter.Measure(1000);
    EXPECT_NEAR(TheRoad().tone, tone.frequency, kToneBound) << "the chosen device's tone";
    for (int page = 0; page < Row().pages; ++page) {
        PageSlider(main, IDC_VOLUME, kPageLeft);
    }
    if (Row().dragToBottom) {
        DragSlider(main, IDC_VOLUME, kVolumeThumbAtTop, {kLeftOfVolumeTrack});
    }
    const double expected = full + HeardDecibels(Row().slider - kSliderTop);
    EXPECT_NEAR(expected, Heard(), kBound) << "at the slider's level";
    Rebuild(Row().rebuild);
    EXPECT_NEAR(expected, Heard(), kBound) << "kept through the " << Row().rebuild;
}

INSTANTIATE_TEST_SUITE_P(Steps, SoundAtLevel,
                         ::testing::Combine(::testing::Values(Case{0, false, 5000, "quality step"},
                                                              Case{3, false, 2142, "re-detection"},
                                                              Case{0, true, 0, "unplug and plug"},
                                                              Case{3, false, 2142, "quality step"}),
                                            ::testing::Values(kSoundCardsRoad, kPreviewPinsRoad)),
                         CaseName);

TEST_F(Sound, IsSilentWhileMutedThroughARebuildAndEndsWithTheProgram) {
    Start();
    double full = Heard();
    ClickButton(main, IDC_MUTE);
    meter.WaitForSilence("silence while muted");
    Rebuild("re-detection");
    meter.WaitForSilence("silence after the re-detection, still muted");
    ClickButton(main, IDC_MUTE);
    EXPECT_NEAR(full, Heard(), kBound) << "unmuted, at the slider's level";

    PostMessageA(main, WM_CLOSE, 0, 0);
    WaitForExit();
    meter.WaitForSilence("the sound to end with the program");
}

TEST_F(Sound, AnotherAudioDeviceChosenIsHeardWithItsOwnToneAtTheSameLevel) {
    Start();
    PageSlider(main, IDC_VOLUME, kPageLeft);
    double camerasOwn = Heard();
    EXPECT_NEAR(kCameraTone, meter.Measure(1000).frequency, kToneBound) << "the camera's own tone";
    HWND combo = GetDlgItem(main, IDC_AUDIO_DEVICE);
    uint32_t graph = camera.GraphJoinMs();
    SendWithTimeout(combo, CB_SETCURSEL, 1, 0);
    SendWithTimeout(main, WM_COMMAND, MAKEWPARAM(IDC_AUDIO_DEVICE, CBN_SELENDOK),
                    reinterpret_cast<LPARAM>(combo));
    WaitUntil([&] { return camera.GraphJoinMs() != graph; }, "the choice to rebuild");
    EXPECT_NEAR(camerasOwn, Heard(), kBound) << "as loud as before the change";
    EXPECT_NEAR(kOtherTone, meter.Measure(1000).frequency, kToneBound)
        << "the chosen device's tone";
}
