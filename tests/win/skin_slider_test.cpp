// SkinSlider on the real owner-drawn buttons of the main window's template:
// the WM_HSCROLL codes its parent receives, the thumb read back from screen.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/resource_ids.h"
#include "skin/skin_slider.h"
#include "skin_harness.h"

namespace {

const int kCycles = 40;

const int kPagingTimer = 1;
const int kThumbHalf = 5;

// The quality slider: 187-pixel track, margin 22, range 4..80, page step 14.
struct QualitySlider {
    SkinDialog dialog;
    SkinSlider slider;
    HWND control;

    QualitySlider() {
        control = dialog.Control(IDC_QUALITY);
        slider.Attach(control, IDC_QUALITY, 4, 80, 10, IDB_SLIDER_TRACK, IDB_SLIDER_THUMB,
                      IDB_SLIDER_THUMB_DISABLED, 22);
    }
    void Tick() { SendMessageA(control, WM_TIMER, kPagingTimer, 0); }
    // The bitmap under the thumb's bottom-right pixel with its centre at x.
    int ThumbAt(int x) { return ProbeBitmapId(control, x + kThumbHalf, 24); }
};

typedef std::vector<int> Codes;

} // namespace

TEST(SkinSlider, AttachSizesTheControlToTheTrackAndSetValuePlacesTheThumb) {
    QualitySlider q;
    RECT r;
    GetClientRect(q.control, &r);
    EXPECT_EQ(187, r.right);
    EXPECT_EQ(29, r.bottom);
    q.slider.SetValue(10); // position 33, which would read back as 9
    EXPECT_EQ(10, q.slider.GetValue());
    EXPECT_EQ(IDB_SLIDER_THUMB, q.ThumbAt(33));
    EXPECT_EQ(IDB_SLIDER_TRACK, ProbeCorner(q.control));
    q.slider.SetDisabled(1);
    EXPECT_EQ(IDB_SLIDER_THUMB_DISABLED, q.ThumbAt(33));
    EXPECT_TRUE(q.dialog.Received().empty()); // SetValue sends nothing
}

TEST(SkinSlider, PressOnTheThumbReleasedWithoutMovingSendsOneTrackingCode) {
    QualitySlider q;
    q.slider.SetValue(42); // position 93
    SkinDialog::Mouse(q.control, WM_LBUTTONDOWN, 95, 10);
    EXPECT_EQ(q.control, GetCapture());
    SkinDialog::Mouse(q.control, WM_LBUTTONUP, 95, 10);
    EXPECT_EQ(Codes({0}), q.dialog.ScrollCodes());
    EXPECT_EQ(reinterpret_cast<LPARAM>(q.control), q.dialog.Received()[0].lParam);
    EXPECT_NE(q.control, GetCapture());
    EXPECT_EQ(42, q.slider.GetValue()); // the thumb stayed: so did the value
}

TEST(SkinSlider, DragPastTheRightEndStopsAtTheEndAndEndsWithThumbPosition) {
    QualitySlider q;
    q.slider.SetValue(42);
    SkinDialog::Mouse(q.control, WM_LBUTTONDOWN, 93, 10);
    SkinDialog::Mouse(q.control, WM_MOUSEMOVE, 120, 10);
    SkinDialog::Mouse(q.control, WM_MOUSEMOVE, 200, 10);
    SkinDialog::Mouse(q.control, WM_MOUSEMOVE, 400, 10);
    SkinDialog::Mouse(q.control, WM_LBUTTONUP, 400, 10);
    EXPECT_EQ(Codes({0, 0, 0, 0, 4}), q.dialog.ScrollCodes());
    EXPECT_EQ(80, q.slider.GetValue());
    EXPECT_EQ(IDB_SLIDER_THUMB, q.ThumbAt(165));
}

TEST(SkinSlider, HoldingOnTheTrackPagesTowardThePointerOnEachTick) {
    QualitySlider q;
    q.slider.SetValue(4); // position 22
    SkinDialog::Mouse(q.control, WM_LBUTTONDOWN, 75, 10);
    EXPECT_EQ(Codes({3}), q.dialog.ScrollCodes());
    EXPECT_EQ(IDB_SLIDER_THUMB, q.ThumbAt(36));
    for (int tick = 0; tick < 4; ++tick) {
        q.Tick();
    }
    EXPECT_EQ(Codes({3, 3, 3, 3, 0}), q.dialog.ScrollCodes()); // 50, 64, 78, then on it
    EXPECT_EQ(IDB_SLIDER_THUMB, q.ThumbAt(78));
    SkinDialog::Mouse(q.control, WM_LBUTTONUP, 75, 10);
    EXPECT_EQ(Codes({3, 3, 3, 3, 0}), q.dialog.ScrollCodes()); // no code 4
    EXPECT_FALSE(KillTimer(q.control, kPagingTimer));
}

TEST(SkinSlider, PagingRunsOnTheControlsOwnTimer) {
    QualitySlider q;
    q.slider.SetValue(4);
    SkinDialog::Mouse(q.control, WM_LBUTTONDOWN, 160, 10);
    WaitUntil([&] { return q.dialog.ScrollCodes().size() >= 3; },
              "the paging timer to send three page codes");
    SkinDialog::Mouse(q.control, WM_LBUTTONUP, 160, 10);
    EXPECT_EQ(Codes(q.dialog.ScrollCodes().size(), 3), q.dialog.ScrollCodes());
}

TEST(SkinSlider, PressBeyondTheReachWaitsForTheReleaseAndMovesNothing) {
    QualitySlider q;
    q.slider.SetValue(42);
    for (int x : {16, 171}) {
        q.dialog.ClearReceived();
        SkinDialog::Mouse(q.control, WM_LBUTTONDOWN, x, 10);
        EXPECT_TRUE(q.dialog.ScrollCodes().empty()) << x;
        EXPECT_EQ(q.control, GetCapture());
        SkinDialog::Mouse(q.control, WM_LBUTTONUP, x, 10);
        EXPECT_EQ(Codes({4}), q.dialog.ScrollCodes()) << x;
        EXPECT_EQ(42, q.slider.GetValue());
        EXPECT_FALSE(KillTimer(q.control, kPagingTimer)); // no paging was started
    }
}

TEST(SkinSlider, DisabledSliderIgnoresTheMouse) {
    QualitySlider q;
    q.slider.SetValue(42);
    q.slider.SetDisabled(1);
    SkinDialog::Mouse(q.control, WM_LBUTTONDOWN, 150, 10);
    SkinDialog::Mouse(q.control, WM_MOUSEMOVE, 20, 10);
    SkinDialog::Mouse(q.control, WM_LBUTTONUP, 20, 10);
    EXPECT_TRUE(q.dialog.ScrollCodes().empty());
    EXPECT_EQ(42, q.slider.GetValue());
}

TEST(SkinSlider, HideOrDisableEndsAPressForGood) {
    for (bool hide : {true, false}) {
        SCOPED_TRACE(hide ? "Hide" : "SetDisabled");
        QualitySlider q;
        q.slider.SetValue(4);
        SkinDialog::Mouse(q.control, WM_LBUTTONDOWN, 150, 10);
        ASSERT_EQ(q.control, GetCapture());
        if (hide) {
            q.slider.Hide();
            EXPECT_FALSE(IsWindowVisible(q.control));
        } else {
            q.slider.SetDisabled(1);
        }
        EXPECT_NE(q.control, GetCapture());
        EXPECT_FALSE(KillTimer(q.control, kPagingTimer));
        q.dialog.ClearReceived();
        q.Tick();
        q.slider.SetDisabled(0);
        SkinDialog::Mouse(q.control, WM_LBUTTONUP, 150, 10);
        // The button-up of a press that was ended reports nothing.
        EXPECT_EQ(Codes(), q.dialog.ScrollCodes());
    }
}

TEST(SkinSlider, ALostCaptureEndsThePressAsAReleaseWould) {
    for (CaptureLoss loss : kCaptureLosses) {
        for (bool drag : {true, false}) {
            SCOPED_TRACE(std::to_string(loss) + (drag ? " drag" : " paging"));
            QualitySlider q;
            q.slider.SetValue(42); // position 93
            SkinDialog::Mouse(q.control, WM_LBUTTONDOWN, drag ? 93 : 150, 10);
            if (drag) {
                SkinDialog::Mouse(q.control, WM_MOUSEMOVE, 120, 10);
            }
            q.dialog.ClearReceived();
            LoseCapture(q.control, loss);
            EXPECT_NE(q.control, GetCapture());
            // A drag reports where it ended; paging has already.
            EXPECT_EQ(drag ? Codes({4}) : Codes(), q.dialog.ScrollCodes());
            EXPECT_FALSE(KillTimer(q.control, kPagingTimer));
            int value = q.slider.GetValue();
            // Neither the paging nor the thumb follows the pointer any more.
            q.Tick();
            SendMessageA(q.control, WM_MOUSEMOVE, 0, MAKELPARAM(30, 10));
            SkinDialog::Mouse(q.control, WM_LBUTTONUP, 30, 10);
            EXPECT_EQ(drag ? Codes({4}) : Codes(), q.dialog.ScrollCodes());
            EXPECT_EQ(value, q.slider.GetValue());
        }
    }
}

TEST(SkinSlider, AButtonUpWithoutAPressReportsNothing) {
    QualitySlider q;
    q.slider.SetValue(42);
    SkinDialog::Mouse(q.control, WM_LBUTTONUP, 93, 10);
    EXPECT_TRUE(q.dialog.ScrollCodes().empty());
}

TEST(SkinSlider, EachClickOfADoubleClickOnTheTrackPagesOnce) {
    QualitySlider q;
    q.slider.SetValue(4); // position 22
    RealClicks(q.control, 150, 10, 2);
    EXPECT_EQ(Codes({3, 3}), q.dialog.ScrollCodes());
    EXPECT_EQ(IDB_SLIDER_THUMB, q.ThumbAt(50));
    EXPECT_NE(q.control, GetCapture());
}

TEST(SkinSlider, AClickOnTheThumbKeepsTheValueSet) {
    QualitySlider q;
    // Each would read back one lower from the thumb's position.
    const struct { int value, position; } places[] = {{10, 33}, {42, 93}, {79, 163}};
    for (const auto& p : places) {
        q.slider.SetValue(p.value);
        SkinDialog::Mouse(q.control, WM_LBUTTONDOWN, p.position + 2, 10);
        SkinDialog::Mouse(q.control, WM_LBUTTONUP, p.position + 2, 10);
        EXPECT_EQ(p.value, q.slider.GetValue());
    }
    SkinSlider brightness;
    brightness.Attach(q.dialog.Control(IDC_BRIGHTNESS), IDC_BRIGHTNESS, 0, 255, 10,
                      IDB_SLIDER_TRACK, IDB_SLIDER_THUMB, IDB_SLIDER_THUMB_DISABLED, 22);
    brightness.SetValue(100); // position 78, which reads back as 99
    RealClicks(q.dialog.Control(IDC_BRIGHTNESS), 78, 10, 1);
    EXPECT_EQ(100, brightness.GetValue());
}

// A key sends what the mouse would for the same move, and nothing when the
// value stays: at an end, or a pixel that reads back as the same value.
TEST(SkinSlider, AKeyNotifiesOnlyWhenItChangesTheValue) {
    const struct {
        int from;
        WPARAM key;
        Codes codes;
        int value;
    } keys[] = {
        {4, VK_HOME, {}, 4},    {4, VK_LEFT, {}, 4},    {4, VK_PRIOR, {}, 4},
        {80, VK_END, {}, 80},   {10, VK_RIGHT, {}, 10}, {10, VK_LEFT, {0, 4}, 9},
        {42, VK_NEXT, {3}, 49},
    };
    for (const auto& k : keys) {
        SCOPED_TRACE(testing::Message() << k.from << " " << k.key);
        QualitySlider q;
        q.slider.SetValue(k.from);
        SendMessageA(q.control, WM_KEYDOWN, k.key, 0);
        EXPECT_EQ(k.codes, q.dialog.ScrollCodes());
        EXPECT_EQ(k.value, q.slider.GetValue());
    }
}

TEST(SkinSlider, MissingBitmapsDrawNothingAndMapSafely) {
    SkinDialog dialog;
    SkinSlider slider;
    HWND control = dialog.Control(IDC_VOLUME);
    RECT before;
    GetClientRect(control, &before);
    slider.Attach(control, IDC_VOLUME, 0, 5000, 5, 0, 9999, 0, 21);
    slider.SetValue(2500);
    RECT after;
    GetClientRect(control, &after);
    EXPECT_EQ(before.right, after.right); // no track to take the size of
    EXPECT_EQ(-1, ProbeCorner(control));
    // Without a track no press is within the thumb's reach: the release
    // reports the place, unchanged.
    SkinDialog::Mouse(control, WM_LBUTTONDOWN, 10, 5);
    EXPECT_TRUE(dialog.ScrollCodes().empty());
    SkinDialog::Mouse(control, WM_LBUTTONUP, 10, 5);
    EXPECT_EQ(Codes({4}), dialog.ScrollCodes());
    EXPECT_EQ(2500, slider.GetValue());
    EXPECT_EQ(-1, ProbeCorner(control));
}

TEST(SkinSlider, ReattachingAccumulatesNoGdiObjects) {
    SkinSlider slider;
    SkinDialog dialog;
    auto cycle = [&] {
        slider.Attach(dialog.NewControl(IDC_BRIGHTNESS), IDC_BRIGHTNESS, 0, 255, 10, IDB_SLIDER_TRACK,
                      IDB_SLIDER_THUMB, IDB_SLIDER_THUMB_DISABLED, 22);
        slider.SetValue(128);
        EXPECT_EQ(IDB_SLIDER_TRACK, ProbeCorner(dialog.Control(IDC_BRIGHTNESS)));
    };
    EXPECT_LT(GdiObjectsKeptBy(cycle, kCycles), kCycles / 2);
}
