// SkinButton and RepeatButton on the real push buttons of the main window's
// template: faces read back from the screen, notifications from the parent.
#include <windows.h>

#include <gtest/gtest.h>

#include "res/resource_ids.h"
#include "skin/repeat_button.h"
#include "skin/skin_button.h"
#include "skin_harness.h"

namespace {

const int kCycles = 40;

const int kRepeatTimer = 1;

void AttachPlay(SkinButton& button, HWND control) {
    button.Attach(control, IDC_PLAY, IDB_PLAY_NORMAL, IDB_PLAY_HOVER, IDB_PLAY_PRESSED,
                  IDB_PLAY_DISABLED);
}

void AttachForward(RepeatButton& button, HWND control) {
    button.Attach(control, IDC_FORWARD, IDB_FORWARD_NORMAL, IDB_FORWARD_HOVER,
                  IDB_FORWARD_PRESSED, IDB_FORWARD_DISABLED, WM_SEARCH_RELEASE);
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

void PointAtCentre(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

} // namespace

TEST(SkinButton, PressMoveOffMoveBackAndReleaseShowTheFacesInTurn) {
    SkinDialog dialog;
    SkinButton play;
    HWND control = dialog.Control(IDC_PLAY);
    AttachPlay(play, control);
    EXPECT_EQ(IDB_PLAY_NORMAL, ProbeCorner(control));

    // The real pointer rests on the button: hover tracking lights it.
    PointAtCentre(control);
    SkinDialog::Mouse(control, WM_MOUSEMOVE, 14, 14);
    EXPECT_TRUE(PumpUntil([&] { return ProbeCorner(control) == IDB_PLAY_HOVER; }, 2000));

    SkinDialog::Mouse(control, WM_LBUTTONDOWN, 14, 14);
    EXPECT_EQ(IDB_PLAY_PRESSED, ProbeCorner(control));
    SkinDialog::Mouse(control, WM_MOUSEMOVE, 30, 14); // one pixel past the right edge
    EXPECT_EQ(IDB_PLAY_NORMAL, ProbeCorner(control));
    SkinDialog::Mouse(control, WM_MOUSEMOVE, 29, 29); // the far corner counts as inside
    EXPECT_EQ(IDB_PLAY_PRESSED, ProbeCorner(control));
    SkinDialog::Mouse(control, WM_MOUSEMOVE, -1, 14); // left of the button
    EXPECT_EQ(IDB_PLAY_NORMAL, ProbeCorner(control));
    SkinDialog::Mouse(control, WM_MOUSEMOVE, 14, 14);
    SkinDialog::Mouse(control, WM_LBUTTONUP, 14, 14);
    EXPECT_EQ(IDB_PLAY_HOVER, ProbeCorner(control));
    PumpMessages();
    EXPECT_EQ(1, ClickCount(dialog, IDC_PLAY));
}

TEST(SkinButton, HighlightAndDisableOverrideTheMouseFaces) {
    SkinDialog dialog;
    SkinButton play;
    HWND control = dialog.Control(IDC_PLAY);
    AttachPlay(play, control);
    SendMessageA(control, WM_MOUSEHOVER, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(IDB_PLAY_HOVER, ProbeCorner(control));
    play.SetHighlighted(1);
    EXPECT_EQ(IDB_PLAY_PRESSED, ProbeCorner(control));
    play.SetDisabled(1);
    EXPECT_EQ(IDB_PLAY_DISABLED, ProbeCorner(control));
    play.SetDisabled(0);
    play.SetHighlighted(0);
    SendMessageA(control, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(IDB_PLAY_NORMAL, ProbeCorner(control));

    // Without a disabled face a disabled button looks enabled.
    SkinButton cancel;
    HWND navigation = dialog.Control(IDC_CANCEL);
    cancel.Attach(navigation, IDC_CANCEL, IDB_NAV_NORMAL, IDB_NAV_HOVER, IDB_NAV_PRESSED, 0);
    cancel.SetDisabled(1);
    EXPECT_EQ(IDB_NAV_NORMAL, ProbeCorner(navigation));
}

TEST(SkinButton, DisabledButtonPassesNothingOnAndSendsNoClick) {
    SkinDialog dialog;
    SkinButton play;
    HWND control = dialog.Control(IDC_PLAY);
    AttachPlay(play, control);
    play.SetDisabled(1);
    SkinDialog::Mouse(control, WM_LBUTTONDOWN, 10, 10);
    EXPECT_NE(control, GetCapture()); // the push button never saw the press
    SkinDialog::Mouse(control, WM_LBUTTONUP, 10, 10);
    EXPECT_EQ(0, SendMessageA(control, WM_GETDLGCODE, 0, 0));
    EXPECT_EQ(0, SendMessageA(control, BM_GETSTATE, 0, 0));
    PumpMessages();
    EXPECT_EQ(0, ClickCount(dialog, IDC_PLAY));
    EXPECT_EQ(IDB_PLAY_DISABLED, ProbeCorner(control));

    play.SetDisabled(0);
    SkinDialog::Mouse(control, WM_LBUTTONDOWN, 10, 10);
    SkinDialog::Mouse(control, WM_LBUTTONUP, 10, 10);
    PumpMessages();
    EXPECT_EQ(1, ClickCount(dialog, IDC_PLAY));
}

TEST(SkinButton, DisablingDuringAPressReleasesTheMouseWithoutAClick) {
    SkinDialog dialog;
    SkinButton play;
    HWND control = dialog.Control(IDC_PLAY);
    AttachPlay(play, control);
    SkinDialog::Mouse(control, WM_LBUTTONDOWN, 10, 10);
    ASSERT_EQ(control, GetCapture());
    play.SetDisabled(1);
    EXPECT_NE(control, GetCapture());
    play.SetDisabled(0);
    SkinDialog::Mouse(control, WM_LBUTTONUP, 10, 10);
    PumpMessages();
    EXPECT_EQ(0, ClickCount(dialog, IDC_PLAY));
    EXPECT_EQ(IDB_PLAY_NORMAL, ProbeCorner(control));
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
    SetButtonLabel(stop, "Stop");
    SendMessageA(control, WM_MOUSEHOVER, 0, 0); // no face to draw, only the label
    EXPECT_TRUE(RedrawWindow(control, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW));
    stop.SetHighlighted(1); // the pressed face exists
    EXPECT_TRUE(RedrawWindow(control, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW));
    SkinDialog::Mouse(control, WM_LBUTTONDOWN, 1, 1);
    SkinDialog::Mouse(control, WM_LBUTTONUP, 1, 1);
    PumpMessages();
    EXPECT_EQ(1, ClickCount(dialog, IDC_STOP));
}

TEST(SkinButton, ReattachingToNewControlsAccumulatesNoGdiObjects) {
    SkinButton ok;
    SkinButton close;
    SkinDialog dialog;
    auto openAndClose = [&] {
        ok.Attach(dialog.NewControl(IDC_NEXT), IDC_NEXT, IDB_OK_NORMAL, IDB_OK_HOVER, IDB_OK_PRESSED,
                  IDB_OK_PRESSED);
        SetButtonLabel(ok, "OK");
        close.Attach(dialog.NewControl(IDC_CLOSE), IDC_CLOSE, IDB_CLOSE_NORMAL, IDB_CLOSE_HOVER,
                     IDB_CLOSE_PRESSED, IDB_CLOSE_DISABLED);
        EXPECT_EQ(IDB_OK_NORMAL, ProbeCorner(dialog.Control(IDC_NEXT)));
        EXPECT_EQ(IDB_CLOSE_NORMAL, ProbeCorner(dialog.Control(IDC_CLOSE)));
    };
    for (int i = 0; i < 3; ++i) {
        openAndClose(); // warms the caches of the first openings
    }
    int live = LiveGdiObjects();
    for (int i = 0; i < kCycles; ++i) {
        openAndClose();
    }
    // One object kept per opening would add kCycles.
    EXPECT_LT(LiveGdiObjects() - live, kCycles / 2);
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
    SkinDialog dialog;
    RepeatButton forward;
    HWND control = dialog.Control(IDC_FORWARD);
    AttachForward(forward, control);
    SkinDialog::Mouse(control, WM_LBUTTONDOWN, 10, 10);
    PumpMessages();
    ASSERT_EQ(1u, dialog.Received().size());
    const ReceivedMessage& posted = dialog.Received()[0];
    EXPECT_EQ(static_cast<UINT>(WM_COMMAND), posted.message);
    EXPECT_EQ(MAKEWPARAM(IDC_FORWARD, 0), posted.wParam);
    EXPECT_EQ(0, posted.lParam);
    EXPECT_EQ(IDB_FORWARD_NORMAL, ProbeCorner(control)); // pressed, pointer not yet over it

    // The control's own timer repeats the command while the button is held.
    EXPECT_TRUE(PumpUntil([&] { return dialog.Received().size() >= 2; }, 3500));
    SendMessageA(control, WM_TIMER, kRepeatTimer, 0);
    PumpMessages();
    EXPECT_EQ(3u, dialog.Received().size());
    for (const ReceivedMessage& m : dialog.Received()) {
        EXPECT_EQ(MAKEWPARAM(IDC_FORWARD, 0), m.wParam);
    }
}

TEST(RepeatButton, ClickNotificationArrivesBeforeTheReleaseMessage) {
    SkinDialog dialog;
    RepeatButton forward;
    HWND control = dialog.Control(IDC_FORWARD);
    AttachForward(forward, control);
    SkinDialog::Mouse(control, WM_LBUTTONDOWN, 10, 10);
    PumpMessages();
    dialog.ClearReceived();
    SkinDialog::Mouse(control, WM_LBUTTONUP, 10, 10);
    PumpMessages();
    ASSERT_EQ(2u, dialog.Received().size());
    EXPECT_EQ(1, ClickCount(dialog, IDC_FORWARD));
    EXPECT_EQ(static_cast<UINT>(WM_COMMAND), dialog.Received()[0].message);
    EXPECT_EQ(static_cast<UINT>(WM_SEARCH_RELEASE), dialog.Received()[1].message);
    EXPECT_EQ(0u, dialog.Received()[1].wParam);
    EXPECT_FALSE(KillTimer(control, kRepeatTimer)); // the repeat timer is gone

    // A tick after the release posts nothing.
    dialog.ClearReceived();
    SendMessageA(control, WM_TIMER, kRepeatTimer, 0);
    PumpMessages();
    EXPECT_TRUE(dialog.Received().empty());
}

TEST(RepeatButton, ReleaseOutsideStillPostsTheReleaseMessageButNoClick) {
    SkinDialog dialog;
    RepeatButton forward;
    HWND control = dialog.Control(IDC_FORWARD);
    AttachForward(forward, control);
    SkinDialog::Mouse(control, WM_LBUTTONDOWN, 10, 10);
    SkinDialog::Mouse(control, WM_MOUSEMOVE, 60, 10);
    SkinDialog::Mouse(control, WM_LBUTTONUP, 60, 10);
    PumpMessages();
    ASSERT_EQ(2u, dialog.Received().size());
    EXPECT_EQ(0, ClickCount(dialog, IDC_FORWARD));
    EXPECT_EQ(static_cast<UINT>(WM_SEARCH_RELEASE), dialog.Received()[1].message);
}

TEST(RepeatButton, DisablingDuringAHoldEndsItOnce) {
    SkinDialog dialog;
    RepeatButton forward;
    HWND control = dialog.Control(IDC_FORWARD);
    AttachForward(forward, control);
    SkinDialog::Mouse(control, WM_LBUTTONDOWN, 10, 10);
    PumpMessages();
    dialog.ClearReceived();
    forward.SetDisabled(1);
    PumpMessages();
    ASSERT_EQ(1u, dialog.Received().size());
    EXPECT_EQ(static_cast<UINT>(WM_SEARCH_RELEASE), dialog.Received()[0].message);
    EXPECT_NE(control, GetCapture());
    EXPECT_FALSE(KillTimer(control, kRepeatTimer));
    SendMessageA(control, WM_TIMER, kRepeatTimer, 0);
    PumpMessages();
    EXPECT_EQ(1u, dialog.Received().size());
    EXPECT_EQ(IDB_FORWARD_DISABLED, ProbeCorner(control));
}
