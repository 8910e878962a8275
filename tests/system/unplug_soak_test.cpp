// Morvane.exe unplugged and plugged again at random moments of its work: in
// the middle of a rebuild after a quality step or a reset, of a status poll
// or of a re-detection, during the 3 s wait before an attach, with the about
// box open, with a search held, with the tape pulled. After every replug the
// window is back on page 1 within that wait plus one build, and the deck
// shows the deck's state at the next poll; after the last one the camera's
// sound is heard, and the kernel handles and committed memory are where
// they were after the warm-up, but for what Wine leaves of every graph.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "process_census.h"
#include "res/resource_ids.h"
#include "soak.h"
#include "system_test.h"

namespace {

const char kLength[] = "MORVANE_SOAK_CYCLES";
// The program attaches a camera 3 s after its last arrival.
const DWORD kReattachWaitMs = 3000;
// A run this long counts the handles and committed memory from the end of
// its first cycles, which have taken every moment a few times: COM,
// DirectShow and Wine fill their caches on the first roads through, which a
// short run cannot tell from a leak. Counting changes no cycle: a shorter
// run replays a longer one's cycles.
const int kCountedRunCycles = 100;
const int kWarmUpCycles = 40;
// Bare graphs that tell what Wine leaves per graph: its memory grows by
// less than a page a graph, so only many of them tell how much.
const int kBareGraphsCounted = 100;
// A progress line every so many cycles of a long run.
const int kReportEvery = 50;

enum Moment {
    kQualityStep,
    kQualityReset,
    kPoll,
    kReattachWait,
    kRedetection,
    kAboutBox,
    kSearch,
    kTapePulled,
    kMomentCount
};
const char* const kMomentNames[kMomentCount] = {"mid-rebuild after a quality step",
                                                "mid-rebuild after a quality reset",
                                                "mid-poll",
                                                "during the re-attach wait",
                                                "during a re-detection",
                                                "with the about box open",
                                                "with a search held",
                                                "with the tape pulled"};

// The deck button whose pressed face shows the deck's motion.
struct DeckFace {
    uint8_t motion;
    int id;
    int pressedFace;
};
const DeckFace kDeckFaces[] = {{DeckStopped, IDC_STOP, IDB_STOP_PRESSED},
                               {DeckPlaying, IDC_PLAY, IDB_PLAY_PRESSED},
                               {DeckPaused, IDC_PAUSE, IDB_PAUSE_PRESSED},
                               {DeckFastForward, IDC_FORWARD, IDB_FORWARD_PRESSED},
                               {DeckRewinding, IDC_REWIND, IDB_REWIND_PRESSED},
                               {DeckCue, IDC_FORWARD, IDB_FORWARD_PRESSED},
                               {DeckReview, IDC_REWIND, IDB_REWIND_PRESSED}};

// The handles and committed memory of the program, with the preview graphs
// made so far: those the camera joined, and those an unplug may have cut
// short before it could (Wine keeps a handle of every filter graph made,
// joined or not).
struct Counts {
    HandleCensus handles;
    double committedKb;
    uint32_t graphs;
    uint32_t cutShort;
};

// The moments at which the program may be building a graph when the cable
// goes: a quality step or reset, the attach after the wait, a re-detection.
bool MayCutABuildShort(Moment moment) {
    return moment == kQualityStep || moment == kQualityReset || moment == kReattachWait ||
           moment == kRedetection;
}

class UnplugSoak : public SystemTest {
  protected:
    // A run of about 40 s on the wine64 tier, as many cycles fewer as the
    // tier is slower: the default run gives it at most a minute.
    static int ShortRunCycles() { return std::max(2, 5 / static_cast<int>(TimeScale())); }

    // A button's click, posted: the program takes it up after the call.
    void PostCommand(int id) { PostMessageA(main, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

    // A moment inside work the program has just begun: up to a tenth of a
    // second (times the tier's factor) after it was asked, or at once.
    void SomewhereWithin() { Sleep(random() % (100 * TimeScale())); }

    void GoToPage(int page) {
        while (PageOf(main) != page) {
            PressButton(main, PageOf(main) < page ? IDC_NEXT : IDC_PREV); // sent: handled on return
        }
    }

    // The moments in turns, each turn in a random order: a short run takes
    // different ones, a long run every one within its warm-up.
    Moment NextMoment() {
        if (moments.empty()) {
            for (int m = 0; m < kMomentCount; ++m) {
                moments.push_back(static_cast<Moment>(m));
            }
            std::shuffle(moments.begin(), moments.end(), random);
        }
        const Moment next = moments.back();
        moments.pop_back();
        return next;
    }

    // The program at work when the cable goes.
    void Begin(Moment moment) {
        switch (moment) {
        case kQualityStep:
        case kQualityReset: {
            GoToPage(2);
            const uint32_t joins = camera.GraphJoins();
            if (moment == kQualityStep) {
                // Towards the middle, so that the step moves the slider; the
                // quality falls from its left end to its right.
                const bool high = std::stoi(ReadSetting(kDriverSettingsKey, "SFMin")) > 42;
                PostClick(GetDlgItem(main, IDC_QUALITY), high ? kSliderFarRight : kSliderFarLeft,
                          kSliderMiddleY);
            } else {
                PostCommand(IDC_QUALITY_RESET);
            }
            if (random() % 2) {
                SomewhereWithin();
            } else {
                WaitUntil([&] { return camera.GraphJoins() != joins; },
                          std::string(kMomentNames[moment]) + " to join a new preview graph");
            }
            break;
        }
        case kPoll: {
            const int commands[] = {IDC_STOP, IDC_PLAY, IDC_PAUSE};
            PostCommand(commands[random() % 3]);
            const uint32_t reads = camera.StatusReads();
            WaitUntil([&] { return camera.StatusReads() != reads; }, "a status poll to begin");
            break;
        }
        case kReattachWait:
            Unplug();
            TogglePlug(model, camera);
            Sleep(random() % kReattachWaitMs); // a moment inside the wait
            break;
        case kRedetection:
            // Its arrival re-detects 3 s on: a moment around the rebuild.
            camera.AddAudioDevice(L"Soak Microphone");
            Sleep(kReattachWaitMs - 200 + random() % (600 * TimeScale()));
            break;
        case kAboutBox:
            PostClick(main, 1, 1); // the logo
            aboutBox = run->WaitForWindow("#32770", "");
            break;
        case kSearch: {
            if (!model.tape) {
                ToggleTape(model, camera);
                WaitForNextPoll(); // the deck comes back with the tape
            }
            PostCommand(IDC_PLAY);
            // The deck is enabled: the last poll found the tape.
            HWND button = GetDlgItem(main, random() % 2 ? IDC_FORWARD : IDC_REWIND);
            PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(14, 14));
            WaitUntil([&] { return CaptureOf() == button; }, "the search button to be held");
            break;
        }
        case kTapePulled:
            ToggleTape(model, camera);
            SomewhereWithin();
            break;
        case kMomentCount:
            break;
        }
    }

    // The lost camera leads to page 0; a re-detection whose rebuild it made
    // fail stays on page 1 without a preview, and no graph event tells.
    void Unplug(Moment moment = kMomentCount) {
        TogglePlug(model, camera);
        WaitUntil(
            [&] {
                const int page = PageOf(main);
                return page == 0 || (moment == kRedetection && page == 1 && !ShowsPicture(main));
            },
            "page 0 to show, or page 1 without a preview after a re-detection");
        WaitForQueueHandled(main);
    }

    // Plugged in again: page 1 with a new preview after the re-attach wait
    // and one build.
    void Replug() {
        const uint32_t joins = camera.GraphJoins();
        TogglePlug(model, camera);
        WaitUntil([&] { return PageOf(main) == 1 && camera.GraphJoins() != joins; },
                  "page 1 with a new preview within the re-attach wait plus one build",
                  kReattachWaitMs + kProgramBoundMs);
        WaitForQueueHandled(main);
    }

    // What was left of the moment once the camera is gone.
    void End(Moment moment) {
        if (moment == kRedetection) {
            camera.RemoveAudioDevice(1); // the first slot after the camera's own
        }
        if (aboutBox) {
            PostClick(GetDlgItem(aboutBox, IDC_ABOUT_OK), 5, 5);
            WaitUntil([&] { return !IsWindow(aboutBox); }, "the about box to close");
            aboutBox = nullptr;
        }
    }

    // At the first poll with the new camera the deck shows what it reports:
    // its motion (read before the poll, whose re-sent command may move the
    // deck on), or no deck to work without a tape.
    void ExpectDeckState() {
        const uint8_t motion = camera.DeckTarget();
        WaitForNextPoll();
        if (!model.tape) {
            EXPECT_TRUE(Shows(IDC_PLAY, IDB_PLAY_DISABLED)) << "no tape: no deck to work";
            return;
        }
        for (const DeckFace& deck : kDeckFaces) {
            if (deck.motion == motion) {
                EXPECT_TRUE(Shows(deck.id, deck.pressedFace)) << "the deck's motion " << +motion;
            }
        }
    }

    // What the program shows when a wait runs out, for the replay.
    void PrintWhatShows() {
        const uint32_t frames = camera.FramesDelivered();
        std::printf("the program shows page %d, %s, frames %s; the camera is %s; %u graphs\n",
                    PageOf(main), ShowsPicture(main) ? "a video window" : "no video window",
                    HoldsWithin([&] { return camera.FramesDelivered() != frames; }, 500)
                        ? "delivered"
                        : "not delivered",
                    model.plugged ? "plugged in" : "unplugged", camera.GraphJoins());
    }

    void ExpectAlive() {
        ASSERT_FALSE(run->Ended()) << "the program ended";
        SendWithTimeout(main, WM_NULL, 0, 0); // a program that never answers fails the test
    }

    // Counted with the preview running on page 1, as after the warm-up.
    Counts Count() {
        WaitForPreview(main, camera);
        return {CountHandles(run->Process(), run->ProcessId()),
                MemoryOf(run->Process()).PagefileUsage / 1024.0, camera.GraphJoins() + cutShort,
                cutShort};
    }

    // Prints the counts after the cycles next to those after the warm-up,
    // and answers their floors: those after the warm-up, plus what Wine
    // itself leaves for each preview graph made since (as the benchmark
    // bounds the handles).
    static Counts PrintCounts(int cycles, const Counts& warm, const Counts& now,
                              const LeftPerGraph& left) {
        const uint32_t graphs = now.graphs - warm.graphs;
        const Counts floor = {
            {static_cast<long>(warm.handles.Own() + graphs * std::max(0.0, left.handles)), 0},
            warm.committedKb + graphs * std::max(0.0, left.committedKb), now.graphs, now.cutShort};
        std::printf("after %d cycles, %u graphs since the warm-up (%u perhaps cut short before the "
                    "camera joined): kernel handles %ld -> %ld "
                    "(floor %ld, %.2f left by Wine per graph); committed %.0f KB -> %.0f KB "
                    "(floor %.0f, %.2f KB left by Wine per graph)\n",
                    cycles, graphs, now.cutShort - warm.cutShort, warm.handles.Own(),
                    now.handles.Own(), floor.handles.Own(),
                    left.handles, warm.committedKb, now.committedKb, floor.committedKb,
                    left.committedKb);
        std::fflush(stdout);
        return floor;
    }

    std::mt19937 random;
    std::vector<Moment> moments; // left of this turn
    CameraModel model;
    HWND aboutBox = nullptr;
    uint32_t cutShort = 0; // cycles whose build the camera may not have joined
};

} // namespace

// MORVANE_SOAK_CYCLES sets the number of cycles (a short run by default),
// MORVANE_SOAK_SEED replays another seed.
TEST_F(UnplugSoak, UnpluggedAtAnyMomentEveryReplugAttachesAndNothingGrows) {
    SoakPlan plan = ReadSoakPlan(kLength, 20261210, ShortRunCycles());
    const bool counted = plan.length >= kCountedRunCycles;
    std::printf("seed %u, %d cycles\n", plan.seed, plan.length);
    random.seed(plan.seed);
    SoundMeter meter;
    ASSERT_TRUE(meter.Ready()) << meter.Problem();
    camera.Reset(true);
    const LeftPerGraph left =
        counted ? LeftPerPreviewGraph(camera, meter, kBareGraphsCounted) : LeftPerGraph{0, 0};
    MarkSetupDone();
    ASSERT_TRUE(WriteDriverDword("SFMin", 50)); // a stored quality, read at every step
    ASSERT_TRUE(WriteDriverDword("SF", 66));    // its companion, as the program stores it
    Start();
    WaitForPage(1);
    Counts warm = {};
    const DWORD started = GetTickCount();
    for (int step = 0; step < plan.length; ++step) {
        SCOPED_TRACE(ReplayHint(kLength, plan, step));
        if (counted && step == kWarmUpCycles) {
            warm = Count();
        }
        const Moment moment = NextMoment();
        // Printed as it begins: a wait that runs out ends the test at once.
        std::printf("cycle %d: %s\n", step, kMomentNames[moment]);
        std::fflush(stdout);
        try {
            const uint32_t joins = camera.GraphJoins();
            Begin(moment);
            if (model.plugged) {
                Unplug(moment);
            }
            End(moment);
            cutShort += MayCutABuildShort(moment) && camera.GraphJoins() == joins;
            Replug();
        } catch (const WaitRanOut&) {
            PrintWhatShows();
            throw;
        }
        ASSERT_NO_FATAL_FAILURE(ExpectAlive());
        ExpectDeckState();
        if (HasFailure()) {
            std::printf("failed at %s\n", ReplayHint(kLength, plan, step).c_str());
            return;
        }
        if (counted && step > kWarmUpCycles && step % kReportEvery == 0) {
            PrintCounts(step, warm, Count(), left);
        }
    }
    WaitUntil([&] { return SoundMissing(meter, "Morvane.exe").empty(); },
              "the camera's tone to be heard after the last replug");
    std::printf("seed %u: %d cycles in %lu s\n", plan.seed, plan.length,
                (GetTickCount() - started) / 1000);
    if (!counted) {
        std::printf("handles and committed memory: not measured (a run under %d cycles)\n",
                    kCountedRunCycles);
        return;
    }
    const Counts end = Count();
    const Counts floor = PrintCounts(plan.length, warm, end, left);
    ASSERT_GE(end.handles.total, 0) << "the system does not tell the program's handles";
    EXPECT_LE(end.handles.Own(), floor.handles.Own()) << "kernel handles";
    EXPECT_LE(end.committedKb, floor.committedKb) << "committed memory";
}
