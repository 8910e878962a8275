// The deck buttons drive the simulated camera's deck and follow its state.
#include <windows.h>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "res/resource_ids.h"
#include "system_test.h"

namespace {

class Deck : public SystemTest {
  protected:
    void SetUp() override {
        SystemTest::SetUp();
        MarkSetupDone();
    }

    void Press(int id) { PressButton(main, id); }

    // Commands the camera received after the first `from` of its log.
    std::vector<CommandRecord> CommandsSince(size_t from) {
        std::vector<CommandRecord> all = camera.Commands();
        return std::vector<CommandRecord>(all.begin() + std::min(from, all.size()), all.end());
    }
    size_t CommandCount() { return camera.Commands().size(); }
    // A press the deck does not answer stands for 6 s; the deck is polled
    // every 2 s, so the fourth poll after the press shows the deck's report.
    void WaitOutAnUnansweredPress() {
        for (int poll = 0; poll < 4; ++poll) {
            WaitForNextPoll();
        }
    }
    // Those commands once the last of them is play: a release has gone back
    // to play.
    std::vector<CommandRecord> CommandsUntilPlay(size_t from) {
        std::vector<CommandRecord> sent;
        WaitUntil(
            [&] {
                sent = CommandsSince(from);
                return !sent.empty() && IsCommand(sent.back(), 1, 26);
            },
            "the release to go back to play");
        return sent;
    }
};

// A deck button pressed after the button of another mode, so that the deck
// has to move: fast forward and rewind as a click of the mouse.
struct DeckPress {
    const char* name;
    int button;
    int otherMode;
    bool click;
    int pressedFace;
    uint8_t motion;     // the DeckMotion the deck is to end in
    DWORD firstPhaseMs; // of its presses, 400 ms apart in the poll's cycle
};

void PrintTo(const DeckPress& press, std::ostream* out) {
    *out << press.name;
}

// Each press on a deck of each speed: camsim's own, and decks that settle
// after a poll or only after the second poll.
class DeckPhase : public Deck, public testing::WithParamInterface<std::tuple<DeckPress, DWORD>> {};

} // namespace

TEST_F(Deck, PlayLightsAtOnceAndThePollKeepsThePlayback) {
    Start();
    EXPECT_TRUE(Shows(IDC_PLAY, IDB_PLAY_NORMAL));
    size_t before = CommandCount();
    Press(IDC_PLAY);
    std::vector<CommandRecord> sent = CommandsSince(before);
    ASSERT_EQ(1u, sent.size());
    EXPECT_TRUE(IsCommand(sent[0], 1, 26));
    EXPECT_TRUE(Shows(IDC_PLAY, IDB_PLAY_PRESSED));
    EXPECT_TRUE(Shows(IDC_STOP, IDB_STOP_NORMAL));

    WaitForNextPoll();
    std::vector<CommandRecord> polled = CommandsSince(before + 1);
    ASSERT_FALSE(polled.empty());
    EXPECT_TRUE(IsCommand(polled.back(), 1, 26)) << "the poll re-sends play";
    EXPECT_TRUE(Shows(IDC_PLAY, IDB_PLAY_PRESSED));
    EXPECT_TRUE(Shows(IDC_PAUSE, IDB_PAUSE_NORMAL)) << "a playing deck can pause";
}

TEST_F(Deck, HeldFastForwardSearchesFromPlayAndReturnsToPlayOnRelease) {
    Start();
    Press(IDC_PLAY);
    WaitForNextPoll();
    HWND forward = GetDlgItem(main, IDC_FORWARD);
    size_t before = CommandCount();
    SendWithTimeout(forward, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_TRUE(Shows(IDC_PLAY, IDB_PLAY_PRESSED));
    EXPECT_TRUE(Shows(IDC_FORWARD, IDB_FORWARD_PRESSED));

    // Held across a poll (a timer's message comes after every posted one,
    // the press's command included): only the search repeats.
    WaitForNextPoll();
    for (const CommandRecord& record : CommandsSince(before)) {
        EXPECT_TRUE(IsCommand(record, 1, 28)) << record.commandClass << "/" << record.code;
    }

    size_t held = CommandCount();
    SendWithTimeout(forward, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    // The click notification winds once more (a repeat may have fired just
    // before the release), then the posted release returns to play.
    std::vector<CommandRecord> released = CommandsUntilPlay(held);
    size_t firstPlay = 0;
    while (firstPlay < released.size() && IsCommand(released[firstPlay], 1, 28)) {
        ++firstPlay;
    }
    EXPECT_GE(firstPlay, 1u) << "the click winds";
    for (size_t i = firstPlay; i < released.size(); ++i) {
        EXPECT_TRUE(IsCommand(released[i], 1, 26))
            << released[i].commandClass << "/" << released[i].code;
    }
    // The deck cues for a moment after the release; the next poll sees it
    // playing again.
    WaitForNextPoll();
    EXPECT_TRUE(Shows(IDC_PLAY, IDB_PLAY_PRESSED));
    EXPECT_TRUE(Shows(IDC_FORWARD, IDB_FORWARD_NORMAL));
}

TEST_F(Deck, ShortClickOnFastForwardWhileStoppedWindsTheTape) {
    Start();
    HWND forward = GetDlgItem(main, IDC_FORWARD);
    size_t before = CommandCount();
    SendWithTimeout(forward, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendWithTimeout(forward, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_TRUE(Shows(IDC_FORWARD, IDB_FORWARD_PRESSED));
    EXPECT_TRUE(Shows(IDC_PLAY, IDB_PLAY_NORMAL));

    // The posted release is handled before the poll's timer message.
    WaitForNextPoll();
    std::vector<CommandRecord> sent = CommandsSince(before);
    ASSERT_EQ(3u, sent.size())
        << "press, click notification and the poll's; the release sends nothing";
    EXPECT_TRUE(IsCommand(sent[0], 1, 28));
    EXPECT_TRUE(IsCommand(sent[1], 1, 28));
    EXPECT_TRUE(IsCommand(sent[2], 15, 255)) << "keep-alive while winding";
    EXPECT_TRUE(Shows(IDC_FORWARD, IDB_FORWARD_PRESSED)) << "the deck reports winding";
    EXPECT_TRUE(Shows(IDC_PAUSE, IDB_PAUSE_DISABLED)) << "a winding deck cannot pause";
}

TEST_F(Deck, WithoutATapeTheDeckIsDisabledAndMuteStaysUsable) {
    Start(kWithoutTape);
    EXPECT_TRUE(Shows(IDC_PLAY, IDB_PLAY_DISABLED));
    EXPECT_TRUE(Shows(IDC_PAUSE, IDB_PAUSE_DISABLED));
    EXPECT_TRUE(Shows(IDC_STOP, IDB_STOP_DISABLED));
    EXPECT_TRUE(Shows(IDC_FORWARD, IDB_FORWARD_DISABLED));
    EXPECT_TRUE(Shows(IDC_REWIND, IDB_REWIND_DISABLED));
    EXPECT_TRUE(Shows(IDC_MUTE, IDB_MUTE_NORMAL));
}

TEST_F(Deck, ADisabledDeckButtonCommandsNothingByAnyRoad) {
    Start(kWithoutTape);
    size_t before = CommandCount();
    for (int id : {IDC_PLAY, IDC_PAUSE, IDC_FORWARD, IDC_REWIND}) {
        HWND button = GetDlgItem(main, id);
        // Sent and posted presses, Space and Enter as the focused button
        // would receive them, and the button's command posted from outside.
        SendWithTimeout(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        SendWithTimeout(button, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
        PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
        for (WPARAM key : {VK_SPACE, VK_RETURN}) {
            PostMessageA(button, WM_KEYDOWN, key, 1);
            PostMessageA(button, WM_KEYUP, key, 0xC0000001);
        }
        PostMessageA(main, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    }
    // Everything posted is handled before the poll's timer message.
    WaitForNextPoll();
    // Only the poll's own command goes out: the stopped deck's.
    for (const CommandRecord& record : CommandsSince(before)) {
        EXPECT_TRUE(IsCommand(record, 1, 24)) << record.commandClass << "/" << record.code;
    }
}

TEST_F(Deck, SpaceOnTheFocusedFastForwardSearchesWhileHeldAndReturnsToPlay) {
    Start();
    Press(IDC_PLAY);
    WaitForNextPoll();
    HWND forward = GetDlgItem(main, IDC_FORWARD);
    size_t before = CommandCount();
    PostMessageA(forward, WM_KEYDOWN, VK_SPACE, 1);
    PostMessageA(forward, WM_KEYUP, VK_SPACE, 0xC0000001);
    // The release, posted last, returns to play.
    std::vector<CommandRecord> sent = CommandsUntilPlay(before);
    EXPECT_TRUE(IsCommand(sent.front(), 1, 28));
    // No search is left behind: the poll keeps the playback again.
    size_t released = CommandCount();
    WaitForNextPoll();
    std::vector<CommandRecord> polled = CommandsSince(released);
    ASSERT_FALSE(polled.empty());
    EXPECT_TRUE(IsCommand(polled.back(), 1, 26));
}

TEST_F(Deck, ADeckThatStopsByItselfShowsStoppedWithinOnePoll) {
    Start();
    Press(IDC_PLAY);
    WaitForNextPoll();
    ASSERT_TRUE(Shows(IDC_PLAY, IDB_PLAY_PRESSED));
    camera.ForceMode(2); // the tape's end: the deck reports stopped
    WaitForNextPoll();
    EXPECT_TRUE(Shows(IDC_STOP, IDB_STOP_PRESSED));
    EXPECT_TRUE(Shows(IDC_PLAY, IDB_PLAY_NORMAL));
    EXPECT_TRUE(Shows(IDC_PAUSE, IDB_PAUSE_DISABLED));
    std::vector<CommandRecord> all = camera.Commands();
    EXPECT_TRUE(IsCommand(all.back(), 1, 24)) << "the poll now keeps the deck stopped";
}

TEST_F(Deck, AFailingStatusReadIsCorrectedByThePollAfterRecovery) {
    Start();
    camera.SetFaults(FaultStatusFails);
    Press(IDC_PLAY);
    EXPECT_TRUE(Shows(IDC_PLAY, IDB_PLAY_PRESSED)) << "the button is followed at once";
    WaitOutAnUnansweredPress();
    // The last status the program could read said stopped.
    EXPECT_TRUE(Shows(IDC_STOP, IDB_STOP_PRESSED));
    camera.SetFaults(0);
    // The stale poll re-sent stop; play again, then one poll shows the truth.
    Press(IDC_PLAY);
    WaitForNextPoll();
    EXPECT_TRUE(Shows(IDC_PLAY, IDB_PLAY_PRESSED));
    EXPECT_TRUE(Shows(IDC_STOP, IDB_STOP_NORMAL));
}

// A deck that never reaches the asked mode looks at first like one still
// threading tape; once the press has stood its time, its report wins.
TEST_F(Deck, ACameraThatRefusesCommandsStillShowsItsRealState) {
    Start();
    camera.SetFaults(FaultSetFails);
    Press(IDC_PLAY);
    EXPECT_TRUE(Shows(IDC_PLAY, IDB_PLAY_PRESSED));
    WaitForNextPoll();
    EXPECT_TRUE(Shows(IDC_PLAY, IDB_PLAY_PRESSED)) << "the deck may still be threading";
    WaitOutAnUnansweredPress();
    EXPECT_TRUE(Shows(IDC_STOP, IDB_STOP_PRESSED)) << "the deck never started";
    EXPECT_TRUE(Shows(IDC_PLAY, IDB_PLAY_NORMAL));
    EXPECT_TRUE(IsWindow(main));
}

// The deck takes a moment to move after each command: a poll just after a
// press reads it still in the mode before. Wherever the press falls in the
// poll's 2 s cycle, the deck goes on to the pressed mode and the button stays
// lit. The buttons take turns at two offsets, so that together they press
// every 200 ms of the cycle and each presses once within 300 ms before a poll.
TEST_P(DeckPhase, APressStandsWhereverItFallsInThePollsCycle) {
    const DeckPress& press = std::get<0>(GetParam());
    Start();
    camera.SetDeckDelay(std::get<1>(GetParam()));
    Press(press.otherMode); // its poll enables the buttons a deck in that mode offers
    WaitForNextPoll();
    DWORD polled = GetTickCount();
    HWND button = GetDlgItem(main, press.button);
    // Each press is judged by the poll after it, which the next press follows.
    for (DWORD phase = press.firstPhaseMs; phase < 2000; phase += 400) {
        SCOPED_TRACE(phase);
        Press(press.otherMode);
        // A pause that places the press in the cycle; what it leads to is
        // waited for below.
        const DWORD sincePoll = GetTickCount() - polled;
        if (sincePoll < phase) {
            Sleep(phase - sincePoll);
        }
        if (press.click) {
            SendWithTimeout(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
            SendWithTimeout(button, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
        } else {
            Press(press.button);
        }
        WaitForNextPoll(); // the first poll after the press, however soon
        polled = GetTickCount();
        EXPECT_EQ(press.motion, camera.DeckTarget()) << "the deck was sent back";
        EXPECT_TRUE(Shows(press.button, press.pressedFace));
    }
}

const DeckPress kDeckPresses[] = {
    {"Play", IDC_PLAY, IDC_STOP, false, IDB_PLAY_PRESSED, DeckPlaying, 100},
    {"Pause", IDC_PAUSE, IDC_PLAY, false, IDB_PAUSE_PRESSED, DeckPaused, 300},
    {"Stop", IDC_STOP, IDC_PLAY, false, IDB_STOP_PRESSED, DeckStopped, 100},
    {"FastForward", IDC_FORWARD, IDC_STOP, true, IDB_FORWARD_PRESSED, DeckFastForward, 300},
    {"Rewind", IDC_REWIND, IDC_STOP, true, IDB_REWIND_PRESSED, DeckRewinding, 100},
};

INSTANTIATE_TEST_SUITE_P(EveryButtonAndSpeed, DeckPhase,
                         testing::Combine(testing::ValuesIn(kDeckPresses),
                                          testing::Values(DWORD(400), DWORD(1500), DWORD(3000))),
                         [](const testing::TestParamInfo<std::tuple<DeckPress, DWORD>>& info) {
                             return std::string(std::get<0>(info.param).name) + "SettlingIn" +
                                    std::to_string(std::get<1>(info.param)) + "ms";
                         });

TEST_F(Deck, ASearchThatAPollEndsByDisablingTheDeckResumesNothing) {
    Start();
    Press(IDC_PLAY);
    WaitForNextPoll();
    SendWithTimeout(GetDlgItem(main, IDC_FORWARD), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    size_t before = CommandCount();
    camera.ForceTransport(0); // the camera no longer offers its deck
    WaitForNextPoll();        // disables the deck, which ends the hold
    WaitForNextPoll();        // keeps the playback, as every poll in that state does
    int plays = 0;
    for (const CommandRecord& record : CommandsSince(before)) {
        plays += IsCommand(record, 1, 26) ? 1 : 0;
    }
    EXPECT_EQ(1, plays) << "only the second poll's: the release sends nothing";
}
