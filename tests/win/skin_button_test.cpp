// SkinButton and RepeatButton on the real push buttons of the main window's
// template: faces read back from the screen, notifications from the parent.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "res/resource_ids.h"
#include "skin/repeat_button.h"
#include "skin/skin_button.h"
#include "skin_harness.h"
#include "tests/system/screenshot.h"

namespace {

const int kCycles = 40;

const int kRepeatTimer = 1;

void AttachPlay(SkinButton& button, HWND control) {
    button.Attach(control, IDC_PLAY, IDB_PLAY_NORMAL, IDB_PLAY_HOVER, IDB_PLAY_PRESSED,
                  IDB_PLAY_DISABLED);
}

// The push button's own click notification: BN_CLICKED with its window.
int ClickCount(const SkinDialog& dialog, int id) {
    int clicks = 0;
    for (const ReceivedMessage& m : dialog.Received()) {
        if (m.message == WM_COMMAND && LOWORD(m.wParam) == id && HIWORD(m.wParam) == BN_CLICKED &&
            reinterpret_cast<HWND>(m.lParam) == dialog.Control(id)) {
            ++clicks;
        }
    }
    return clicks;
}

// The dialog's Play button, skinned.
struct PlayButton {
    SkinDialog dialog;
    SkinButton button;
    HWND control = dialog.Control(IDC_PLAY);

    PlayButton() { AttachPlay(button, control); }
    void Mouse(UINT message, int x, int y) { SkinDialog::Mouse(control, message, x, y); }
    int Face() { return ProbeCorner(control); }
};

// What the repeat button posted of its own: its command (lParam 0, unlike the
// push button's click) and its release message.
struct Posted {
    int commands = 0;
    int releases = 0;
};

// The dialog's fast-forward button, skinned as a repeat button.
struct ForwardButton {
    SkinDialog dialog;
    RepeatButton button;
    HWND control = dialog.Control(IDC_FORWARD);

    ForwardButton() {
        button.Attach(control, IDC_FORWARD, IDB_FORWARD_NORMAL, IDB_FORWARD_HOVER,
                      IDB_FORWARD_PRESSED, IDB_FORWARD_DISABLED, WM_SEARCH_RELEASE);
    }
    void Mouse(UINT message, int x, int y) { SkinDialog::Mouse(control, message, x, y); }
    void Key(UINT message, LPARAM flags = 0, WPARAM key = VK_SPACE) {
        SendMessageA(control, message, key, flags);
        PumpMessages();
    }
    void Tick() { SendMessageA(control, WM_TIMER, kRepeatTimer, 0); }
    Posted PostedOwn() const {
        Posted posted;
        for (const ReceivedMessage& m : dialog.Received()) {
            posted.commands += m.message == WM_COMMAND && m.lParam == 0;
            posted.releases += m.message == WM_SEARCH_RELEASE;
        }
        return posted;
    }
};

// The control as the screen shows it once its repaint has reached it: the
// screen holds what the control drew.
Screenshot Shown(HWND control) {
    UpdateWindow(control);
    Screenshot shown;
    WaitUntil(
        [&] {
            shown = CaptureFromScreen(control);
            return shown.pixels == CaptureClientArea(control).pixels;
        },
        "the screen to show what the control drew");
    return shown;
}

int Channel(DWORD pixel, int shift) {
    return static_cast<int>((pixel >> shift) & 0xFF);
}

// `shown` lies between `under` and `ink` in every channel (a little rounding
// allowed): ink drawn over `under`, wholly or in part.
bool BlendsTowards(DWORD under, DWORD shown, DWORD ink) {
    const int kRounding = 3;
    for (int shift = 0; shift <= 16; shift += 8) {
        int low = std::min(Channel(under, shift), Channel(ink, shift)) - kRounding;
        int high = std::max(Channel(under, shift), Channel(ink, shift)) + kRounding;
        if (Channel(shown, shift) < low || Channel(shown, shift) > high) {
            return false;
        }
    }
    return true;
}

void PointAtCentre(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

} // namespace

TEST(SkinButton, PressMoveOffMoveBackAndReleaseShowTheFacesInTurn) {
    PlayButton play;
    EXPECT_EQ(IDB_PLAY_NORMAL, play.Face());

    // The real pointer rests on the button: hover tracking lights it.
    PointAtCentre(play.control);
    play.Mouse(WM_MOUSEMOVE, 14, 14);
    WaitForFace(play.control, IDB_PLAY_HOVER, "Play to show its hover face");

    play.Mouse(WM_LBUTTONDOWN, 14, 14);
    EXPECT_EQ(IDB_PLAY_PRESSED, play.Face());
    play.Mouse(WM_MOUSEMOVE, 30, 14); // one pixel past the right edge
    EXPECT_EQ(IDB_PLAY_NORMAL, play.Face());
    play.Mouse(WM_MOUSEMOVE, 29, 29); // the far corner counts as inside
    EXPECT_EQ(IDB_PLAY_PRESSED, play.Face());
    play.Mouse(WM_MOUSEMOVE, -1, 14); // left of the button
    EXPECT_EQ(IDB_PLAY_NORMAL, play.Face());
    play.Mouse(WM_MOUSEMOVE, 14, 14);
    play.Mouse(WM_LBUTTONUP, 14, 14);
    EXPECT_EQ(IDB_PLAY_HOVER, play.Face());
    PumpMessages();
    EXPECT_EQ(1, ClickCount(play.dialog, IDC_PLAY));
}

TEST(SkinButton, HighlightAndDisableOverrideTheMouseFaces) {
    PlayButton play;
    SendMessageA(play.control, WM_MOUSEHOVER, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(IDB_PLAY_HOVER, play.Face());
    play.button.SetHighlighted(1);
    EXPECT_EQ(IDB_PLAY_PRESSED, play.Face());
    play.button.SetDisabled(1);
    EXPECT_EQ(IDB_PLAY_DISABLED, play.Face());
    play.button.SetDisabled(0);
    play.button.SetHighlighted(0);
    SendMessageA(play.control, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(IDB_PLAY_NORMAL, play.Face());

    // Without a disabled face a disabled button looks enabled.
    SkinButton cancel;
    HWND navigation = play.dialog.Control(IDC_CANCEL);
    cancel.Attach(navigation, IDC_CANCEL, IDB_NAV_NORMAL, IDB_NAV_HOVER, IDB_NAV_PRESSED, 0);
    cancel.SetDisabled(1);
    EXPECT_EQ(IDB_NAV_NORMAL, ProbeCorner(navigation));
}

TEST(SkinButton, DisabledButtonPassesNothingOnAndSendsNoClick) {
    PlayButton play;
    play.button.SetDisabled(1);
    play.Mouse(WM_LBUTTONDOWN, 10, 10);
    EXPECT_NE(play.control, GetCapture()); // the push button never saw the press
    play.Mouse(WM_LBUTTONUP, 10, 10);
    EXPECT_EQ(0, SendMessageA(play.control, WM_GETDLGCODE, 0, 0));
    EXPECT_EQ(0, SendMessageA(play.control, BM_GETSTATE, 0, 0));
    PumpMessages();
    EXPECT_EQ(0, ClickCount(play.dialog, IDC_PLAY));
    EXPECT_EQ(IDB_PLAY_DISABLED, play.Face());

    play.button.SetDisabled(0);
    play.Mouse(WM_LBUTTONDOWN, 10, 10);
    play.Mouse(WM_LBUTTONUP, 10, 10);
    PumpMessages();
    EXPECT_EQ(1, ClickCount(play.dialog, IDC_PLAY));
}

TEST(SkinButton, DisablingDuringAPressReleasesTheMouseWithoutAClick) {
    PlayButton play;
    play.Mouse(WM_LBUTTONDOWN, 10, 10);
    ASSERT_EQ(play.control, GetCapture());
    play.button.SetDisabled(1);
    EXPECT_NE(play.control, GetCapture());
    play.button.SetDisabled(0);
    play.Mouse(WM_LBUTTONUP, 10, 10);
    PumpMessages();
    EXPECT_EQ(0, ClickCount(play.dialog, IDC_PLAY));
    EXPECT_EQ(IDB_PLAY_NORMAL, play.Face());
}

TEST(SkinButton, MissingBitmapsLeaveTheirSlotsEmptyWithoutHarm) {
    SkinDialog dialog;
    SkinButton stop;
    HWND control = dialog.Control(IDC_STOP);
    RECT before;
    GetClientRect(control, &before);
    // No normal face at all, and a hover face that does not exist.
    stop.Attach(control, IDC_STOP, 0, 9999, IDB_STOP_PRESSED, 0);
    RECT after;
    GetClientRect(control, &after);
    EXPECT_EQ(before.right, after.right);
    EXPECT_EQ(before.bottom, after.bottom);
    SendMessageA(control, WM_MOUSEHOVER, 0, 0);
    // The control keeps its own size: the 29-pixel face covers its top left.
    const int kFaceCorner = 28;
    EXPECT_EQ(-1, ProbeBitmapId(control, kFaceCorner, kFaceCorner)); // no face to draw
    stop.SetHighlighted(1);
    EXPECT_EQ(IDB_STOP_PRESSED, ProbeBitmapId(control, kFaceCorner, kFaceCorner));
    SkinDialog::Mouse(control, WM_LBUTTONDOWN, 1, 1);
    SkinDialog::Mouse(control, WM_LBUTTONUP, 1, 1);
    PumpMessages();
    EXPECT_EQ(1, ClickCount(dialog, IDC_STOP));
}

TEST(SkinButton, LabelIsBlackAtRestWhiteOnHoverAndPressGreyWhenDisabled) {
    SkinDialog dialog;
    SkinButton reset;
    HWND control = dialog.Control(IDC_QUALITY_RESET);
    reset.Attach(control, IDC_QUALITY_RESET, IDB_RESET_NORMAL, IDB_RESET_HOVER, IDB_RESET_PRESSED,
                 IDB_RESET_DISABLED);
    const DWORD kBlack = 0x000000, kWhite = 0xFFFFFF, kGrey = 0x808080;
    // Each step adds a flag that brings the next face forward.
    const struct {
        std::function<void()> show;
        int face;
        DWORD ink;
    } faces[] = {
        {[] {}, IDB_RESET_NORMAL, kBlack},
        {[&] { SendMessageA(control, WM_MOUSEHOVER, 0, 0); }, IDB_RESET_HOVER, kWhite},
        {[&] { reset.SetHighlighted(1); }, IDB_RESET_PRESSED, kWhite},
        {[&] { reset.SetDisabled(1); }, IDB_RESET_DISABLED, kGrey},
    };
    for (const auto& f : faces) {
        SCOPED_TRACE(f.face);
        f.show();
        SetButtonLabel(reset, "");
        ASSERT_EQ(f.face, ProbeCorner(control));
        Screenshot bare = Shown(control);
        SetButtonLabel(reset, "HHHH");
        Screenshot labelled = Shown(control);
        // The pixels the label changed: each a blend of its colour over the
        // face (an anti-aliased face blends its strokes too), several more
        // than half way, none going towards another colour.
        int inked = 0, mostlyInk = 0, notBlended = 0;
        for (size_t i = 0; i < bare.pixels.size(); ++i) {
            if (labelled.pixels[i] != bare.pixels[i]) {
                ++inked;
                // At least half way from the face to the ink.
                mostlyInk += 2 * ColourDistance(labelled.pixels[i], bare.pixels[i]) >=
                             ColourDistance(f.ink, bare.pixels[i]);
                notBlended += !BlendsTowards(bare.pixels[i], labelled.pixels[i], f.ink);
            }
        }
        EXPECT_GT(inked, 20);
        EXPECT_GT(mostlyInk, 4);
        EXPECT_EQ(0, notBlended);
    }
}

TEST(SkinButton, ALostCaptureEndsThePressWithoutAClick) {
    for (CaptureLoss loss : kCaptureLosses) {
        SCOPED_TRACE(loss);
        PlayButton play;
        SendMessageA(play.control, WM_MOUSEHOVER, 0, 0);
        play.Mouse(WM_LBUTTONDOWN, 10, 10);
        ASSERT_EQ(IDB_PLAY_PRESSED, play.Face());
        LoseCapture(play.control, loss);
        EXPECT_NE(play.control, GetCapture());
        EXPECT_EQ(IDB_PLAY_HOVER, play.Face()); // no longer pressed
        play.Mouse(WM_LBUTTONUP, 10, 10);
        PumpMessages();
        EXPECT_EQ(0, ClickCount(play.dialog, IDC_PLAY));
    }
}

TEST(SkinButton, ReattachingToNewControlsAccumulatesNoGdiObjects) {
    SkinButton ok;
    SkinButton close;
    SkinDialog dialog;
    auto openAndClose = [&] {
        ok.Attach(dialog.NewControl(IDC_NEXT), IDC_NEXT, IDB_OK_NORMAL, IDB_OK_HOVER,
                  IDB_OK_PRESSED, IDB_OK_PRESSED);
        SetButtonLabel(ok, "OK");
        close.Attach(dialog.NewControl(IDC_CLOSE), IDC_CLOSE, IDB_CLOSE_NORMAL, IDB_CLOSE_HOVER,
                     IDB_CLOSE_PRESSED, IDB_CLOSE_DISABLED);
        EXPECT_EQ(IDB_OK_NORMAL, ProbeCorner(dialog.Control(IDC_NEXT)));
        EXPECT_EQ(IDB_CLOSE_NORMAL, ProbeCorner(dialog.Control(IDC_CLOSE)));
    };
    EXPECT_LT(GdiObjectsKeptBy(openAndClose, kCycles), kCycles / 2);
}

TEST(SkinButton, DetachGivesTheControlItsOwnProcedureBack) {
    SkinDialog dialog;
    HWND control = dialog.Control(IDC_PLAY);
    LONG_PTR original = GetWindowLongPtrA(control, GWLP_WNDPROC);
    {
        SkinButton play;
        AttachPlay(play, control);
        AttachPlay(play, control); // again on the same control: no chain to itself
        EXPECT_NE(original, GetWindowLongPtrA(control, GWLP_WNDPROC));
        SkinDialog::Mouse(control, WM_LBUTTONDOWN, 5, 5);
        SkinDialog::Mouse(control, WM_LBUTTONUP, 5, 5);
        PumpMessages();
        EXPECT_EQ(1, ClickCount(dialog, IDC_PLAY));
    }
    EXPECT_EQ(original, GetWindowLongPtrA(control, GWLP_WNDPROC));
    EXPECT_EQ(0, GetWindowLongPtrA(control, GWLP_USERDATA));
}

TEST(RepeatButton, PostsItsCommandAtThePressAndOnEveryTick) {
    ForwardButton forward;
    forward.Mouse(WM_LBUTTONDOWN, 10, 10);
    PumpMessages();
    ASSERT_EQ(1u, forward.dialog.Received().size());
    const ReceivedMessage& posted = forward.dialog.Received()[0];
    EXPECT_EQ(static_cast<UINT>(WM_COMMAND), posted.message);
    EXPECT_EQ(MAKEWPARAM(IDC_FORWARD, 0), posted.wParam);
    EXPECT_EQ(0, posted.lParam);
    EXPECT_EQ(IDB_FORWARD_NORMAL, ProbeCorner(forward.control)); // pressed, pointer not yet over it

    // The control's own timer repeats the command while the button is held.
    WaitUntil([&] { return forward.dialog.Received().size() >= 2; },
              "the repeat timer to post the command again");
    forward.Tick();
    PumpMessages();
    EXPECT_EQ(3u, forward.dialog.Received().size());
    for (const ReceivedMessage& m : forward.dialog.Received()) {
        EXPECT_EQ(MAKEWPARAM(IDC_FORWARD, 0), m.wParam);
    }
}

TEST(RepeatButton, ClickNotificationArrivesBeforeTheReleaseMessage) {
    ForwardButton forward;
    forward.Mouse(WM_LBUTTONDOWN, 10, 10);
    PumpMessages();
    forward.dialog.ClearReceived();
    forward.Mouse(WM_LBUTTONUP, 10, 10);
    PumpMessages();
    ASSERT_EQ(2u, forward.dialog.Received().size());
    EXPECT_EQ(1, ClickCount(forward.dialog, IDC_FORWARD));
    EXPECT_EQ(static_cast<UINT>(WM_COMMAND), forward.dialog.Received()[0].message);
    EXPECT_EQ(static_cast<UINT>(WM_SEARCH_RELEASE), forward.dialog.Received()[1].message);
    EXPECT_EQ(0u, forward.dialog.Received()[1].wParam);
    EXPECT_FALSE(KillTimer(forward.control, kRepeatTimer)); // the repeat timer is gone

    // A tick after the release posts nothing.
    forward.dialog.ClearReceived();
    forward.Tick();
    PumpMessages();
    EXPECT_TRUE(forward.dialog.Received().empty());
}

TEST(RepeatButton, ReleaseOutsideStillPostsTheReleaseMessageButNoClick) {
    ForwardButton forward;
    forward.Mouse(WM_LBUTTONDOWN, 10, 10);
    forward.Mouse(WM_MOUSEMOVE, 60, 10);
    forward.Mouse(WM_LBUTTONUP, 60, 10);
    PumpMessages();
    ASSERT_EQ(2u, forward.dialog.Received().size());
    EXPECT_EQ(0, ClickCount(forward.dialog, IDC_FORWARD));
    EXPECT_EQ(static_cast<UINT>(WM_SEARCH_RELEASE), forward.dialog.Received()[1].message);
}

TEST(RepeatButton, DisablingDuringAHoldEndsItOnce) {
    ForwardButton forward;
    forward.Mouse(WM_LBUTTONDOWN, 10, 10);
    PumpMessages();
    forward.dialog.ClearReceived();
    forward.button.SetDisabled(1);
    PumpMessages();
    ASSERT_EQ(1u, forward.dialog.Received().size());
    EXPECT_EQ(static_cast<UINT>(WM_SEARCH_RELEASE), forward.dialog.Received()[0].message);
    EXPECT_NE(forward.control, GetCapture());
    EXPECT_FALSE(KillTimer(forward.control, kRepeatTimer));
    forward.Tick();
    PumpMessages();
    EXPECT_EQ(1u, forward.dialog.Received().size());
    EXPECT_EQ(IDB_FORWARD_DISABLED, ProbeCorner(forward.control));
}

TEST(RepeatButton, ALostCaptureEndsTheHoldWithOneReleaseMessage) {
    for (CaptureLoss loss : kCaptureLosses) {
        SCOPED_TRACE(loss);
        ForwardButton forward;
        forward.Mouse(WM_LBUTTONDOWN, 10, 10);
        LoseCapture(forward.control, loss);
        EXPECT_FALSE(KillTimer(forward.control, kRepeatTimer)); // no more repeats
        forward.Tick();
        forward.Mouse(WM_LBUTTONUP, 10, 10);
        PumpMessages();
        EXPECT_EQ(1, forward.PostedOwn().commands);
        EXPECT_EQ(1, forward.PostedOwn().releases);
        EXPECT_EQ(0, ClickCount(forward.dialog, IDC_FORWARD));
    }
}

TEST(RepeatButton, OnlyAHoldItStartedEndsWithTheReleaseMessage) {
    ForwardButton forward;
    forward.Mouse(WM_LBUTTONUP, 10, 10); // the press went elsewhere
    forward.Key(WM_KEYUP);
    PumpMessages();
    EXPECT_EQ(0, forward.PostedOwn().releases);
}

TEST(RepeatButton, EachClickOfADoubleClickIsAPressAndARelease) {
    ForwardButton forward;
    RealClicks(forward.control, 14, 14, 2);
    EXPECT_EQ(2, forward.PostedOwn().commands);
    EXPECT_EQ(2, forward.PostedOwn().releases);
    EXPECT_EQ(2, ClickCount(forward.dialog, IDC_FORWARD));
    EXPECT_NE(forward.control, GetCapture());
}

TEST(RepeatButton, SpaceOnTheFocusedButtonHoldsItAsTheMouseDoes) {
    ForwardButton forward;
    const LPARAM kAutoRepeat = 1 << 30;
    forward.Key(WM_KEYDOWN);
    forward.Key(WM_KEYDOWN, kAutoRepeat); // the keyboard's repeats are not presses
    EXPECT_EQ(1, forward.PostedOwn().commands);
    WaitUntil([&] { return forward.PostedOwn().commands == 2; },
              "the repeat timer to post the command again");
    forward.Key(WM_KEYUP);
    EXPECT_EQ(1, forward.PostedOwn().releases);
    EXPECT_EQ(1, ClickCount(forward.dialog, IDC_FORWARD));
    // The click comes before the release message, as for the mouse.
    EXPECT_EQ(static_cast<UINT>(WM_SEARCH_RELEASE), forward.dialog.Received().back().message);
}

// A key's hold ends once, at its key-up or when the focus leaves the button,
// whichever comes first.
TEST(RepeatButton, AKeyHoldEndsOnceAtItsKeyUpOrWhenTheFocusLeaves) {
    const struct {
        WPARAM key;
        bool focusLeaves;
        int clicks;
    } holds[] = {
        {VK_SPACE, true, 0},   // its capture goes with the focus
        {VK_RETURN, false, 0}, // Enter holds, it does not click
        {VK_RETURN, true, 0},
    };
    for (const auto& hold : holds) {
        SCOPED_TRACE(testing::Message() << hold.key << " " << hold.focusLeaves);
        ForwardButton forward;
        forward.Key(WM_KEYDOWN, 0, hold.key);
        if (hold.focusLeaves) {
            SendMessageA(forward.control, WM_KILLFOCUS, 0, 0);
            PumpMessages();
            EXPECT_EQ(1, forward.PostedOwn().releases) << "at the focus's leaving";
        }
        forward.Key(WM_KEYUP, 0, hold.key);
        EXPECT_EQ(1, forward.PostedOwn().commands);
        EXPECT_EQ(1, forward.PostedOwn().releases);
        EXPECT_EQ(hold.clicks, ClickCount(forward.dialog, IDC_FORWARD));
        EXPECT_FALSE(KillTimer(forward.control, kRepeatTimer)); // no more repeats
    }
}

TEST(RepeatButton, DisabledButtonPostsNothingByAnyRoad) {
    ForwardButton forward;
    forward.button.SetDisabled(1);
    PostMessageA(forward.control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    PumpMessages();
    forward.Tick();
    PostMessageA(forward.control, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    forward.Key(WM_KEYDOWN);
    forward.Key(WM_KEYUP);
    EXPECT_TRUE(forward.dialog.Received().empty());
}
