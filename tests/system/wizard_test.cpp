// The wizard as its user meets it: the pages, the settings controls driven
// through real messages to their windows, and what Finish, Cancel and the
// title-bar close leave in the registry and tell the launcher.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "res/resource_ids.h"
#include "screenshot.h"
#include "system_test.h"
#include "tests/system/launcher_standin.h"
#include "tests/win/device_list.h"

namespace {

using Lines = std::vector<std::string>;
using Controls = std::set<int>;

// Spelled out here, not taken from the product, so that a misspelt key fails.
const char kSharedKey[] = "SOFTWARE\\Kivo Corporation\\Pelvorn\\";
const char kDriverKey[] = "SOFTWARE\\KIVO ZUL\\Orvelle\\REL3";

const uint32_t kBrightnessClass = 8;

void WriteValue(const char* subkey, const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, nullptr, 0,
                              KEY_ALL_ACCESS | ProgramRegistryView(), nullptr, &key, nullptr));
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

void WriteDword(const char* subkey, const char* name, DWORD value) {
    WriteValue(subkey, name, REG_DWORD, &value, sizeof value);
}

void WriteText(const char* subkey, const char* name, const char* text) {
    WriteValue(subkey, name, REG_SZ, text, static_cast<DWORD>(strlen(text) + 1));
}

// A stored value as text: a DWORD in decimal (signed), a string as it is.
int ReadNumber(const char* subkey, const char* name) {
    return std::stoi(ReadSetting(subkey, name));
}

// The page's own controls that are visible: they tell which page is shown.
Controls VisiblePageControls(HWND main) {
    const int pageControls[] = {IDC_AUDIO_DEVICE, IDC_QUALITY,          IDC_QUALITY_RESET,
                                IDC_BRIGHTNESS,   IDC_BRIGHTNESS_RESET, IDC_PREV,
                                IDC_NEXT};
    Controls visible;
    for (int id : pageControls) {
        if (IsWindowVisible(GetDlgItem(main, id))) {
            visible.insert(id);
        }
    }
    return visible;
}

const Controls kPage0 = {};
const Controls kPage1 = {IDC_AUDIO_DEVICE, IDC_NEXT};
const Controls kPage2 = {IDC_QUALITY, IDC_QUALITY_RESET, IDC_PREV, IDC_NEXT};
const Controls kPage3 = {IDC_BRIGHTNESS, IDC_BRIGHTNESS_RESET, IDC_PREV, IDC_NEXT};
const Controls kPage4 = {IDC_PREV, IDC_NEXT};

// The audio devices a list shows: the camera's, then the machine's own.
Lines Listed(Lines camsims) {
    for (const std::string& name : MachineAudioDeviceNames()) {
        camsims.push_back(name);
    }
    return camsims;
}

std::vector<std::string> ComboItems(HWND combo) {
    std::vector<std::string> items;
    int count = static_cast<int>(SendWithTimeout(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        // Across processes the list answers in UTF-16 whatever the caller asks.
        wchar_t text[300] = {};
        SendWideWithTimeout(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        items.push_back(std::string(text, text + wcslen(text)));
    }
    return items;
}

class Wizard : public SystemTest {
  protected:
    void Press(int id) { PressButton(main, id); }
    // Two clicks that both wait in the queue before the first is handled, as
    // a quick double click or a click and Enter would.
    void PressTwiceAtOnce(int id) {
        DWORD threadId = GetWindowThreadProcessId(main, nullptr);
        HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, threadId);
        ASSERT_NE(nullptr, thread);
        SuspendThread(thread);
        for (int i = 0; i < 2; ++i) {
            PostMessageA(main, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(main, id)));
        }
        ResumeThread(thread);
        CloseHandle(thread);
    }
    void PressTimes(int id, int times) {
        for (int i = 0; i < times; ++i) {
            Press(id);
        }
    }

    // The screen x of a slider's thumb centre, found by the thumb bitmap's
    // bottom-right pixel once the page shows it (pages 2 and 3 show one at
    // the same place: the page before must not); -1 when it does not.
    int ThumbCentre(int id) {
        RECT place;
        GetWindowRect(GetDlgItem(main, id), &place);
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&place), 2);
        const int thumbBitmap = 125;
        int centre = -1;
        WaitUntil(
            [&] {
                Screenshot shot = CaptureFromScreen(main);
                for (int x = place.left; x < place.right && centre < 0; ++x) {
                    centre =
                        shot.BitmapIdAt(x, place.top + 24) == thumbBitmap ? x - 5 - place.left : -1;
                }
                return centre >= 0;
            },
            "the slider's thumb to show");
        return centre;
    }

    void SaveScreenshot(const char* name) {
        // Answers once the program has painted whatever it had still to paint.
        RedrawWindow(main, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        EXPECT_TRUE(CaptureFromScreen(main).SaveBitmap(ProgramFolder() + "\\" + name + ".bmp"));
    }
};

TEST_F(Wizard, NextWalksThroughThePagesAndPrevWalksBackWritingNothing) {
    Start();
    EXPECT_EQ(kPage1, VisiblePageControls(main));
    SaveScreenshot("wizard_page1");
    const Controls forward[] = {kPage2, kPage3, kPage4};
    const char* shots[] = {"wizard_page2", "wizard_page3", "wizard_page4"};
    for (int i = 0; i < 3; ++i) {
        Press(IDC_NEXT);
        EXPECT_EQ(forward[i], VisiblePageControls(main)) << "forward to page " << i + 2;
        SaveScreenshot(shots[i]);
    }
    const Controls back[] = {kPage3, kPage2, kPage1};
    for (int i = 0; i < 3; ++i) {
        Press(IDC_PREV);
        EXPECT_EQ(back[i], VisiblePageControls(main)) << "back to page " << 3 - i;
    }
    // Leaving through the system menu: walking the pages stored nothing.
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, WaitForExit());
    EXPECT_EQ(kMissingSetting, ReadSetting(kDriverKey, "SFMin"));
    EXPECT_EQ(kMissingSetting, ReadSetting(kSharedKey, "Morvane_AudioSetting"));
}

TEST_F(Wizard, WithoutACameraOnlyWaitingOrLeavingIsOffered) {
    Start(kUnplugged);
    EXPECT_EQ(kPage0, VisiblePageControls(main));
    SaveScreenshot("wizard_page0");
}

TEST_F(Wizard, FinishStoresEveryChoiceAndTellsTheLauncherOnlyOnAFirstRun) {
    for (bool firstRun : {true, false}) {
        SCOPED_TRACE(firstRun ? "first run" : "later run");
        RemoveProgramSettings();
        WriteDword(kDriverKey, "SFMin", 50);
        WriteDword(kSharedKey, "Morvane_VideoBright", 100);
        if (!firstRun) {
            WriteDword(kSharedKey, "Morvane_AudioSetting", 1);
        }
        LauncherStandIn launcher;
        launcher.Start();
        Start();
        Press(IDC_NEXT);
        PageSlider(main, IDC_QUALITY, kPageRight);
        Press(IDC_NEXT);
        PageSlider(main, IDC_BRIGHTNESS, kPageRight);
        Press(IDC_NEXT);
        EXPECT_EQ(kPage4, VisiblePageControls(main));
        PressTwiceAtOnce(IDC_NEXT); // the second changes nothing
        EXPECT_EQ(0u, WaitForExit());

        int quality = ReadNumber(kDriverKey, "SFMin");
        EXPECT_LT(quality, 50) << "paging right lowers the quality";
        EXPECT_GE(quality, 4);
        EXPECT_EQ(std::min(quality + 16, 80), ReadNumber(kDriverKey, "SF"));
        EXPECT_GT(ReadNumber(kSharedKey, "Morvane_VideoBright"), 100);
        EXPECT_EQ("Orvelle Audio", ReadSetting(kSharedKey, "Morvane_AudioDevice"));
        EXPECT_EQ("1", ReadSetting(kSharedKey, "Morvane_AudioSetting"));
        Lines expected;
        if (firstRun) {
            expected = {"Lumet Show Icon 0 0", "Lumet Show Normal 0 0"};
        }
        EXPECT_EQ(expected, launcher.StopAndReadReceipts());
    }
}

TEST_F(Wizard, CancelAndCloseWriteBackTheStartValuesOrTheResetFallbacks) {
    const struct {
        int control;
        bool reset;
        const char* quality;
        const char* companion;
        const char* brightness;
    } cases[] = {
        {IDC_CANCEL, false, "50", "66", "100"},
        {IDC_CLOSE, false, "50", "66", "100"},
        {IDC_CANCEL, true, "4", "20", "128"},
        {IDC_CLOSE, true, "4", "20", "128"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.control) + (c.reset ? " after resets" : ""));
        RemoveProgramSettings();
        WriteDword(kDriverKey, "SFMin", 50);
        WriteDword(kDriverKey, "SFMinOriginal", 30);
        WriteDword(kSharedKey, "Morvane_VideoBright", 100);
        WriteDword(kSharedKey, "Morvane_VideoBrightOriginal", 90);
        WriteText(kSharedKey, "Morvane_AudioDevice", "Orvelle Audio");
        LauncherStandIn launcher;
        launcher.Start();
        Start({true, true, {L"Test Mic"}});

        // Another device, another quality and another brightness, all undone.
        HWND combo = GetDlgItem(main, IDC_AUDIO_DEVICE);
        SendWithTimeout(combo, CB_SETCURSEL, 1, 0);
        SendWithTimeout(main, WM_COMMAND, MAKEWPARAM(IDC_AUDIO_DEVICE, CBN_SELENDOK),
                        reinterpret_cast<LPARAM>(combo));
        Press(IDC_NEXT);
        PageSlider(main, IDC_QUALITY, kPageRight);
        if (c.reset) {
            Press(IDC_QUALITY_RESET);
            EXPECT_EQ("30", ReadSetting(kDriverKey, "SFMin")) << "the reset applies the original";
        }
        Press(IDC_NEXT);
        PageSlider(main, IDC_BRIGHTNESS, kPageRight);
        if (c.reset) {
            Press(IDC_BRIGHTNESS_RESET);
        }
        PressTwiceAtOnce(c.control); // the second changes nothing
        EXPECT_EQ(0u, WaitForExit());

        EXPECT_EQ(c.quality, ReadSetting(kDriverKey, "SFMin"));
        EXPECT_EQ(c.companion, ReadSetting(kDriverKey, "SF"));
        EXPECT_EQ(c.brightness, ReadSetting(kSharedKey, "Morvane_VideoBright"));
        EXPECT_EQ("Orvelle Audio", ReadSetting(kSharedKey, "Morvane_AudioDevice"));
        EXPECT_EQ(kMissingSetting, ReadSetting(kSharedKey, "Morvane_AudioSetting"));
        Lines expected = {"Lumet Show Icon 0 0", "Lumet Show Normal 0 0"};
        EXPECT_EQ(expected, launcher.StopAndReadReceipts());
    }
}

TEST_F(Wizard, QualityPageStepsRebuildThePreviewEachADragOnlyAtTheRelease) {
    WriteDword(kDriverKey, "SFMin", 50);
    Start();
    Press(IDC_NEXT);
    int thumb = ThumbCentre(IDC_QUALITY);
    ASSERT_GT(thumb, 0);

    uint32_t graph = camera.GraphJoinMs();
    HWND slider = GetDlgItem(main, IDC_QUALITY);
    SendWithTimeout(slider, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(thumb, kSliderMiddleY));
    for (int x = thumb + 10; x <= thumb + 40; x += 10) {
        SendWithTimeout(slider, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, kSliderMiddleY));
    }
    EXPECT_EQ(graph, camera.GraphJoinMs()) << "no rebuild while dragging";
    EXPECT_EQ("50", ReadSetting(kDriverKey, "SFMin")) << "nothing stored while dragging";
    SendWithTimeout(slider, WM_LBUTTONUP, 0, MAKELPARAM(thumb + 40, kSliderMiddleY));
    EXPECT_NE(graph, camera.GraphJoinMs()) << "the release rebuilds";
    int dropped = ReadNumber(kDriverKey, "SFMin");
    EXPECT_LT(dropped, 50);

    int previous = dropped;
    for (int step = 0; step < 2; ++step) {
        uint32_t joins = camera.GraphJoins();
        PageSlider(main, IDC_QUALITY, kPageRight);
        EXPECT_NE(joins, camera.GraphJoins()) << "step " << step;
        int quality = ReadNumber(kDriverKey, "SFMin");
        EXPECT_LT(quality, previous) << "step " << step;
        EXPECT_EQ(std::min(quality + 16, 80), ReadNumber(kDriverKey, "SF"));
        previous = quality;
    }
    uint32_t joins = camera.GraphJoins();
    // Whatever the release left posted or running acts before the next poll.
    WaitForNextPoll();
    EXPECT_EQ(joins, camera.GraphJoins()) << "nothing rebuilds after a step's release";
    EXPECT_EQ(kPage2, VisiblePageControls(main));
}

// A drag that the program cuts short is undone: the preview kept the
// quality, and so do the thumb and what Finish stores. A new audio device's
// re-detection cuts it as its rebuild takes the mouse away, a page change
// as it hides the slider.
TEST_F(Wizard, AQualityDragCutShortIsUndone) {
    for (bool byArrival : {true, false}) {
        SCOPED_TRACE(byArrival ? "a new audio device" : "Next from the keyboard");
        RemoveProgramSettings();
        WriteDword(kDriverKey, "SFMin", 50);
        Start();
        Press(IDC_NEXT);
        int thumb = ThumbCentre(IDC_QUALITY);
        ASSERT_GT(thumb, 0);
        HWND slider = GetDlgItem(main, IDC_QUALITY);
        SendWithTimeout(slider, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(thumb, kSliderMiddleY));
        SendWithTimeout(slider, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(thumb + 40, kSliderMiddleY));
        if (byArrival) {
            camera.AddAudioDevice(L"Test Mic");
            WaitForPage(1);
            Press(IDC_NEXT);
        } else {
            Press(IDC_NEXT);
            Press(IDC_PREV);
        }
        SendWithTimeout(slider, WM_LBUTTONUP, 0, MAKELPARAM(thumb + 40, kSliderMiddleY));
        EXPECT_EQ("50", ReadSetting(kDriverKey, "SFMin"));
        // Page 3 shows its own thumb at the same place: wait for this one.
        WaitUntil([&] { return ThumbCentre(IDC_QUALITY) == thumb; },
                  "the thumb to show the quality in force");
        PressTimes(IDC_NEXT, 3);
        EXPECT_EQ(0u, WaitForExit());
        EXPECT_EQ("50", ReadSetting(kDriverKey, "SFMin"))
            << "Finish stores what the preview showed";
    }
}

// As the brightness reset does, the quality reset puts an original beyond
// 4..80 at the nearest end of the track, and applies it there.
TEST_F(Wizard, TheQualityResetPutsAnOriginalOutOfRangeAtTheNearestEnd) {
    WriteDword(kDriverKey, "SFMin", 50);
    Start();
    Press(IDC_NEXT);
    const struct {
        DWORD original;
        const char* stored;
    } cases[] = {
        {80, "80"}, {200, "80"}, {4, "4"}, {static_cast<DWORD>(-7), "4"}, {0x80000000, "4"}};
    std::map<std::string, int> thumbAt;
    int last = ThumbCentre(IDC_QUALITY);
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.original));
        WriteDword(kDriverKey, "SFMinOriginal", c.original);
        Press(IDC_QUALITY_RESET);
        EXPECT_EQ(c.stored, ReadSetting(kDriverKey, "SFMin"));
        // Read once the slider has repainted: at the place this end showed
        // before, or away from where the last reset left the thumb.
        int thumb = -1;
        WaitUntil(
            [&] {
                thumb = ThumbCentre(IDC_QUALITY);
                return thumbAt.count(c.stored) ? thumb == thumbAt[c.stored]
                                               : thumb >= 0 && thumb != last;
            },
            std::string("the thumb to show ") + c.stored);
        thumbAt.emplace(c.stored, thumb);
        last = thumb;
    }
    EXPECT_LT(thumbAt["80"], thumbAt["4"]) << "the best quality at the left end";
}

TEST_F(Wizard, BrightnessGoesToTheCameraAtEveryMoveOfADrag) {
    WriteDword(kSharedKey, "Morvane_VideoBright", 100);
    Start();
    PressTwiceAtOnce(IDC_NEXT); // straight to page 3: page 2 has a thumb at its place
    int thumb = ThumbCentre(IDC_BRIGHTNESS);
    ASSERT_GT(thumb, 0);
    size_t before = camera.Commands().size();
    uint32_t graph = camera.GraphJoinMs();

    DragSlider(main, IDC_BRIGHTNESS, thumb, {thumb + 10, thumb + 20, thumb + 30, thumb + 40});
    std::vector<uint32_t> codes = camera.BrightnessSent(before);
    // The press, four moves and the release each send the thumb's value.
    ASSERT_EQ(6u, codes.size());
    for (size_t i = 2; i < 5; ++i) {
        EXPECT_GT(codes[i], codes[i - 1]) << "move " << i;
    }
    EXPECT_EQ(graph, camera.GraphJoinMs()) << "brightness needs no rebuild";

    Press(IDC_NEXT);
    Press(IDC_NEXT);
    EXPECT_EQ(0u, WaitForExit());
    EXPECT_EQ(std::to_string(codes.back()), ReadSetting(kSharedKey, "Morvane_VideoBright"));
}

TEST_F(Wizard, MuteShowsTheButtonPressedUntilUnmuted) {
    Start();
    HWND mute = GetDlgItem(main, IDC_MUTE);
    WaitForFace(mute, IDB_MUTE_NORMAL);
    Press(IDC_MUTE);
    WaitForFace(mute, IDB_MUTE_PRESSED);
    Press(IDC_MUTE);
    WaitForFace(mute, IDB_MUTE_NORMAL);
}

TEST_F(Wizard, ChoosingAnAudioDeviceRebuildsWithItInFront) {
    Start({true, true, {L"Test Mic"}});
    HWND combo = GetDlgItem(main, IDC_AUDIO_DEVICE);
    EXPECT_EQ(Listed({"Orvelle Audio", "Test Mic"}), ComboItems(combo));

    // Other notifications, or no selection at all, choose nothing.
    uint32_t graph = camera.GraphJoinMs();
    SendWithTimeout(combo, CB_SETCURSEL, 1, 0);
    SendWithTimeout(main, WM_COMMAND, MAKEWPARAM(IDC_AUDIO_DEVICE, CBN_SELCHANGE),
                    reinterpret_cast<LPARAM>(combo));
    SendWithTimeout(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SendWithTimeout(main, WM_COMMAND, MAKEWPARAM(IDC_AUDIO_DEVICE, CBN_SELENDOK),
                    reinterpret_cast<LPARAM>(combo));
    EXPECT_EQ(graph, camera.GraphJoinMs());

    Press(IDC_NEXT);
    SendWithTimeout(combo, CB_SETCURSEL, 1, 0);
    SendWithTimeout(main, WM_COMMAND, MAKEWPARAM(IDC_AUDIO_DEVICE, CBN_SELENDOK),
                    reinterpret_cast<LPARAM>(combo));
    EXPECT_NE(graph, camera.GraphJoinMs()) << "a new preview with the chosen device";
    EXPECT_EQ(Listed({"Test Mic", "Orvelle Audio"}), ComboItems(combo));
    EXPECT_EQ(0, SendWithTimeout(combo, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(kPage1, VisiblePageControls(main)) << "the choice shows page 1";

    PressTimes(IDC_NEXT, 4);
    EXPECT_EQ(0u, WaitForExit());
    EXPECT_EQ("Test Mic", ReadSetting(kSharedKey, "Morvane_AudioDevice"));
}

TEST_F(Wizard, TheAudioDeviceChosenIsTheOneShownAndTheOneBuilt) {
    // Slots 1 to 3 hold the extra devices in their order.
    Start({true, true, {L"Mic A", L"Mic B", L"Mic C"}});
    HWND combo = GetDlgItem(main, IDC_AUDIO_DEVICE);
    auto choose = [&](int index) {
        SendWithTimeout(combo, CB_SETCURSEL, index, 0);
        SendWithTimeout(main, WM_COMMAND, MAKEWPARAM(IDC_AUDIO_DEVICE, CBN_SELENDOK),
                        reinterpret_cast<LPARAM>(combo));
    };
    // The device in use, chosen again (as each arrow key of a closed list
    // does), keeps its preview.
    uint32_t graph = camera.GraphJoinMs();
    choose(0);
    EXPECT_EQ(graph, camera.GraphJoinMs());

    // A device goes and a quality step lists the devices anew; the list
    // shown stays as it was filled.
    camera.RemoveAudioDevice(1);
    Press(IDC_NEXT);
    PageSlider(main, IDC_QUALITY, kPageRight);
    Press(IDC_PREV);
    ASSERT_EQ(Listed({"Orvelle Audio", "Mic A", "Mic B", "Mic C"}), ComboItems(combo));
    choose(2);
    EXPECT_EQ(2, camera.LastAudioJoined()) << "Mic B was shown and chosen";
    EXPECT_EQ(Listed({"Mic B", "Orvelle Audio", "Mic C"}), ComboItems(combo));

    // A choice whose build fails leaves Mic B in use, in front and stored.
    camera.SetFaults(FaultVideoMissing);
    choose(2);
    camera.SetFaults(0);
    EXPECT_EQ(Listed({"Mic B", "Mic C", "Orvelle Audio"}), ComboItems(combo));
    EXPECT_EQ(0, SendWithTimeout(combo, CB_GETCURSEL, 0, 0));
    Press(IDC_NEXT);
    PageSlider(main, IDC_QUALITY, kPageLeft);
    EXPECT_EQ(2, camera.LastAudioJoined()) << "the next rebuild takes Mic B again";
    PressTimes(IDC_NEXT, 3);
    EXPECT_EQ(0u, WaitForExit());
    EXPECT_EQ("Mic B", ReadSetting(kSharedKey, "Morvane_AudioDevice"));
}

TEST_F(Wizard, AQualityStepWhoseRebuildFailsShowsPageZeroAndKeepsTheCameraLink) {
    WriteDword(kDriverKey, "SFMin", 50);
    Start();
    Press(IDC_NEXT);
    camera.SetFaults(FaultVideoMissing);
    PageSlider(main, IDC_QUALITY, kPageRight);
    EXPECT_EQ(kPage0, VisiblePageControls(main));
    EXPECT_LT(ReadNumber(kDriverKey, "SFMin"), 50) << "the quality stays written";

    // Page 0 with the camera link of before: the poll disables the deck and
    // Mute too (without a link Mute stays usable).
    HWND mute = GetDlgItem(main, IDC_MUTE);
    HWND play = GetDlgItem(main, IDC_PLAY);
    // Each control repaints in its own time: wait for both.
    WaitForFace(mute, IDB_MUTE_DISABLED);
    WaitForFace(play, IDB_PLAY_DISABLED);
    // An arrival whose attach fails keeps that link: Mute stays disabled. The
    // camera's own sound has gone with it, so the attach takes the new device.
    camera.RemoveAudioDevice(0);
    camera.AddAudioDevice(L"Test Mic");
    WaitUntil([&] { return camera.LastAudioJoined() == 1; }, "the attach to take Test Mic");
    WaitForQueueHandled(main); // the rest of the attach: its poll and the repaints
    EXPECT_EQ(kPage0, VisiblePageControls(main));
    EXPECT_EQ(IDB_MUTE_DISABLED, ShownSkinFace(mute));

    // Once the camera is back, the next arrival attaches with a new link.
    camera.SetFaults(0);
    size_t before = camera.Commands().size();
    camera.AddAudioDevice(L"Second Mic");
    WaitForPage(1);
    EXPECT_EQ(kPage1, VisiblePageControls(main));
    // The page shows before the attach has sent its first command.
    WaitUntil([&] { return camera.Commands().size() > before; }, "the attach's first command");
    std::vector<CommandRecord> log = camera.Commands();
    EXPECT_EQ(kBrightnessClass, log[before].commandClass);
    EXPECT_EQ(1u, log[before].sequence);
}

// A quality out of range is written back clamped; a brightness out of range
// reaches the camera, and the slider, as the nearest end of 0..255, while the
// registry keeps it as stored until the user moves the slider.
TEST_F(Wizard, ThePreviewEndsBeforeItsWindowOnEveryWayOut) {
    for (int way : {IDC_CANCEL, IDC_CLOSE, IDC_NEXT}) {
        SCOPED_TRACE(way);
        Start();
        if (way == IDC_NEXT) {
            PressTimes(IDC_NEXT, 4);
        } else {
            Press(way);
        }
        EXPECT_EQ(0u, WaitForExit());
        EXPECT_EQ(0u, camera.GraphsLeftAfterWindows());
    }
}

TEST_F(Wizard, EventsTheOldGraphLeftQueuedKeepAWorkingCamera) {
    Start();
    Press(IDC_NEXT);
    camera.SetFaults(FaultEventsOnStop);
    for (int step = 0; step < 3; ++step) {
        PageSlider(main, IDC_QUALITY, step == 1 ? kPageLeft : kPageRight);
        WaitForQueueHandled(main); // the events the old graph left
        EXPECT_EQ(kPage2, VisiblePageControls(main)) << "step " << step;
    }
    WaitForPreview(main, camera);
}

TEST_F(Wizard, StoredValuesOutOfRangeAreSentAndShownWithinRange) {
    const struct {
        DWORD quality;
        DWORD brightness;
        const char* storedQuality;
        const char* storedCompanion;
        const char* storedBrightness;
        uint32_t sentBrightness;
    } cases[] = {
        {200, 0, "80", "80", "0", 0},
        {3, 255, "4", "20", "255", 255},
        {50, static_cast<DWORD>(-5), "50", "66", "-5", 0},
        {static_cast<DWORD>(-7), 300, "4", "20", "300", 255},
    };
    std::map<uint32_t, int> thumbAt;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(static_cast<int>(c.quality)) + " / " +
                     std::to_string(static_cast<int>(c.brightness)));
        RemoveProgramSettings();
        WriteDword(kDriverKey, "SFMin", c.quality);
        WriteDword(kSharedKey, "Morvane_VideoBright", c.brightness);
        Start(); // with a fresh camera, whose log begins with this run
        EXPECT_EQ(std::vector<uint32_t>{c.sentBrightness}, camera.BrightnessSent());
        PressTwiceAtOnce(IDC_NEXT); // straight to page 3: page 2 has a thumb at its place
        WaitForPage(3);
        EXPECT_EQ(kPage3, VisiblePageControls(main));
        int thumb = ThumbCentre(IDC_BRIGHTNESS);
        EXPECT_GE(thumb, 0) << "the thumb lies on the track";
        // The in-range cases come first and place the thumb at either end.
        if (!thumbAt.emplace(c.sentBrightness, thumb).second) {
            EXPECT_EQ(thumbAt[c.sentBrightness], thumb);
        }
        Press(IDC_CANCEL);
        EXPECT_EQ(0u, WaitForExit());
        EXPECT_EQ(c.storedQuality, ReadSetting(kDriverKey, "SFMin"));
        EXPECT_EQ(c.storedCompanion, ReadSetting(kDriverKey, "SF"));
        EXPECT_EQ(c.storedBrightness, ReadSetting(kSharedKey, "Morvane_VideoBright"));
    }
}

} // namespace
