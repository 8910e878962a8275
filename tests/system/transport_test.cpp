// The deck buttons drive the simulated camera's deck and follow its state.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "harness.h"
#include "res/resource_ids.h"
#include "screenshot.h"
#include "simulated_camera.h"

namespace {

const DWORD kPollMs = 2000;

struct Face {
    int normal, pressed, disabled;
};

Face FacesOf(int controlId) {
    switch (controlId) {
    case IDC_PLAY: return {IDB_PLAY_NORMAL, IDB_PLAY_PRESSED, IDB_PLAY_DISABLED};
    case IDC_PAUSE: return {IDB_PAUSE_NORMAL, IDB_PAUSE_PRESSED, IDB_PAUSE_DISABLED};
    case IDC_STOP: return {IDB_STOP_NORMAL, IDB_STOP_PRESSED, IDB_STOP_DISABLED};
    case IDC_FORWARD: return {IDB_FORWARD_NORMAL, IDB_FORWARD_PRESSED, IDB_FORWARD_DISABLED};
    case IDC_REWIND: return {IDB_REWIND_NORMAL, IDB_REWIND_PRESSED, IDB_REWIND_DISABLED};
    default: return {IDB_MUTE_NORMAL, IDB_MUTE_PRESSED, IDB_MUTE_DISABLED};
    }
}

enum Look { kNormal, kHighlighted, kDisabled, kUnknown };

class Deck : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(camera.Ready());
        camera.Reset(true);
        WriteSharedDword("Morvane_AudioSetting", 1);
    }
    void TearDown() override {
        run.reset();
        camera.Reset(true);
    }

    // Starts the program and waits for the first poll that sees the camera.
    void Start() {
        run.reset(new ProgramRun);
        main = StartMorvaneAndWaitForFirstPoll(*run);
        ASSERT_NE(nullptr, main);
    }

    void WaitForPoll() {
        Sleep(kPollMs + 300);
        SendWithTimeout(main, WM_NULL, 0, 0);
    }

    void Press(int id) {
        SendWithTimeout(main, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(GetDlgItem(main, id)));
    }

    // How a button looks on screen now.
    Look LookOf(int id) {
        Sleep(150); // let the repaint reach the screen
        RECT place;
        GetWindowRect(GetDlgItem(main, id), &place);
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&place), 2);
        int shown = CaptureFromScreen(main).BitmapIdAt(place.right - 1, place.bottom - 1);
        Face faces = FacesOf(id);
        return shown == faces.normal     ? kNormal
               : shown == faces.pressed  ? kHighlighted
               : shown == faces.disabled ? kDisabled
                                         : kUnknown;
    }

    // Commands the camera received after the first `from` of its log.
    std::vector<CommandRecord> CommandsSince(size_t from) {
        std::vector<CommandRecord> all = camera.Commands();
        return std::vector<CommandRecord>(all.begin() + std::min(from, all.size()), all.end());
    }
    size_t CommandCount() { return camera.Commands().size(); }

    SimulatedCamera camera;
    std::unique_ptr<ProgramRun> run;
    HWND main = nullptr;
};

bool IsCommand(const CommandRecord& record, uint32_t commandClass, uint32_t code) {
    return record.commandClass == commandClass && record.code == code;
}

} // namespace

TEST_F(Deck, PlayLightsAtOnceAndThePollKeepsThePlayback) {
    Start();
    EXPECT_EQ(kNormal, LookOf(IDC_PLAY));
    size_t before = CommandCount();
    Press(IDC_PLAY);
    std::vector<CommandRecord> sent = CommandsSince(before);
    ASSERT_EQ(1u, sent.size());
    EXPECT_TRUE(IsCommand(sent[0], 1, 26));
    EXPECT_EQ(kHighlighted, LookOf(IDC_PLAY));
    EXPECT_EQ(kNormal, LookOf(IDC_STOP));

    WaitForPoll();
    std::vector<CommandRecord> polled = CommandsSince(before + 1);
    ASSERT_FALSE(polled.empty());
    EXPECT_TRUE(IsCommand(polled.back(), 1, 26)) << "the poll re-sends play";
    EXPECT_EQ(kHighlighted, LookOf(IDC_PLAY));
    EXPECT_EQ(kNormal, LookOf(IDC_PAUSE)) << "a playing deck can pause";
}

TEST_F(Deck, HeldFastForwardSearchesFromPlayAndReturnsToPlayOnRelease) {
    Start();
    Press(IDC_PLAY);
    WaitForPoll();
    HWND forward = GetDlgItem(main, IDC_FORWARD);
    size_t before = CommandCount();
    SendWithTimeout(forward, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendWithTimeout(main, WM_NULL, 0, 0); // the posted command is handled
    EXPECT_EQ(kHighlighted, LookOf(IDC_PLAY));
    EXPECT_EQ(kHighlighted, LookOf(IDC_FORWARD));

    Sleep(kPollMs + 500); // held across a poll: only the search repeats
    for (const CommandRecord& record : CommandsSince(before)) {
        EXPECT_TRUE(IsCommand(record, 1, 28)) << record.commandClass << "/" << record.code;
    }

    size_t held = CommandCount();
    SendWithTimeout(forward, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    SendWithTimeout(main, WM_NULL, 0, 0);
    Sleep(200);
    std::vector<CommandRecord> released = CommandsSince(held);
    // The click notification winds once more, then the release returns to
    // play (a repeat may have fired just before the release).
    ASSERT_GE(released.size(), 2u);
    for (size_t i = 0; i + 1 < released.size(); ++i) {
        EXPECT_TRUE(IsCommand(released[i], 1, 28));
    }
    EXPECT_TRUE(IsCommand(released.back(), 1, 26)) << "back to play";
    // A poll may still see the deck cueing for a moment; the next one sees it
    // playing again.
    WaitForPoll();
    EXPECT_EQ(kHighlighted, LookOf(IDC_PLAY));
    EXPECT_EQ(kNormal, LookOf(IDC_FORWARD));
}

TEST_F(Deck, ShortClickOnFastForwardWhileStoppedWindsTheTape) {
    Start();
    HWND forward = GetDlgItem(main, IDC_FORWARD);
    size_t before = CommandCount();
    SendWithTimeout(forward, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendWithTimeout(forward, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    SendWithTimeout(main, WM_NULL, 0, 0);
    Sleep(200);
    std::vector<CommandRecord> sent = CommandsSince(before);
    ASSERT_EQ(2u, sent.size()) << "press and click notification; the release sends nothing";
    EXPECT_TRUE(IsCommand(sent[0], 1, 28));
    EXPECT_TRUE(IsCommand(sent[1], 1, 28));
    EXPECT_EQ(kHighlighted, LookOf(IDC_FORWARD));
    EXPECT_EQ(kNormal, LookOf(IDC_PLAY));

    WaitForPoll();
    EXPECT_EQ(kHighlighted, LookOf(IDC_FORWARD)) << "the deck reports winding";
    EXPECT_EQ(kDisabled, LookOf(IDC_PAUSE)) << "a winding deck cannot pause";
    std::vector<CommandRecord> polled = CommandsSince(before + 2);
    ASSERT_FALSE(polled.empty());
    EXPECT_TRUE(IsCommand(polled.back(), 15, 255)) << "keep-alive while winding";
}

TEST_F(Deck, WithoutATapeTheDeckIsDisabledAndMuteStaysUsable) {
    camera.SetTape(false);
    Start();
    for (int id : {IDC_PLAY, IDC_PAUSE, IDC_STOP, IDC_FORWARD, IDC_REWIND}) {
        EXPECT_EQ(kDisabled, LookOf(id)) << id;
    }
    EXPECT_EQ(kNormal, LookOf(IDC_MUTE));
}

TEST_F(Deck, ADisabledDeckButtonCommandsNothingByAnyRoad) {
    camera.SetTape(false);
    Start();
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
    SendWithTimeout(main, WM_NULL, 0, 0);
    Sleep(200);
    SendWithTimeout(main, WM_NULL, 0, 0);
    // Only the poll's own command goes out: the stopped deck's.
    for (const CommandRecord& record : CommandsSince(before)) {
        EXPECT_TRUE(IsCommand(record, 1, 24)) << record.commandClass << "/" << record.code;
    }
}

TEST_F(Deck, SpaceOnTheFocusedFastForwardSearchesWhileHeldAndReturnsToPlay) {
    Start();
    Press(IDC_PLAY);
    WaitForPoll();
    HWND forward = GetDlgItem(main, IDC_FORWARD);
    size_t before = CommandCount();
    PostMessageA(forward, WM_KEYDOWN, VK_SPACE, 1);
    PostMessageA(forward, WM_KEYUP, VK_SPACE, 0xC0000001);
    SendWithTimeout(main, WM_NULL, 0, 0);
    Sleep(200);
    SendWithTimeout(main, WM_NULL, 0, 0);
    std::vector<CommandRecord> sent = CommandsSince(before);
    ASSERT_FALSE(sent.empty());
    EXPECT_TRUE(IsCommand(sent.front(), 1, 28));
    EXPECT_TRUE(IsCommand(sent.back(), 1, 26)) << "back to play";
    // No search is left behind: the poll keeps the playback again.
    size_t released = CommandCount();
    WaitForPoll();
    std::vector<CommandRecord> polled = CommandsSince(released);
    ASSERT_FALSE(polled.empty());
    EXPECT_TRUE(IsCommand(polled.back(), 1, 26));
}

TEST_F(Deck, ADeckThatStopsByItselfShowsStoppedWithinOnePoll) {
    Start();
    Press(IDC_PLAY);
    WaitForPoll();
    ASSERT_EQ(kHighlighted, LookOf(IDC_PLAY));
    camera.ForceMode(2); // the tape's end: the deck reports stopped
    WaitForPoll();
    EXPECT_EQ(kHighlighted, LookOf(IDC_STOP));
    EXPECT_EQ(kNormal, LookOf(IDC_PLAY));
    EXPECT_EQ(kDisabled, LookOf(IDC_PAUSE));
    std::vector<CommandRecord> all = camera.Commands();
    EXPECT_TRUE(IsCommand(all.back(), 1, 24)) << "the poll now keeps the deck stopped";
}

TEST_F(Deck, AFailingStatusReadIsCorrectedByThePollAfterRecovery) {
    Start();
    camera.SetFaults(FaultStatusFails);
    Press(IDC_PLAY);
    EXPECT_EQ(kHighlighted, LookOf(IDC_PLAY)) << "the button is followed at once";
    WaitForPoll();
    // The last status the program could read said stopped.
    EXPECT_EQ(kHighlighted, LookOf(IDC_STOP));
    camera.SetFaults(0);
    // The stale poll re-sent stop; play again, then one poll shows the truth.
    Press(IDC_PLAY);
    WaitForPoll();
    EXPECT_EQ(kHighlighted, LookOf(IDC_PLAY));
    EXPECT_EQ(kNormal, LookOf(IDC_STOP));
}

TEST_F(Deck, ACameraThatRefusesCommandsStillShowsItsRealState) {
    Start();
    camera.SetFaults(FaultSetFails);
    Press(IDC_PLAY);
    EXPECT_EQ(kHighlighted, LookOf(IDC_PLAY));
    WaitForPoll();
    EXPECT_EQ(kHighlighted, LookOf(IDC_STOP)) << "the deck never started";
    EXPECT_EQ(kNormal, LookOf(IDC_PLAY));
    EXPECT_TRUE(IsWindow(main));
}
