// The about box run modally from its real template: a second thread plays
// the user while the box's own modal loop runs on the test's thread.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "app/about_box.h"
#include "base/library_text.h"
#include "res/resource_ids.h"
#include "res/strings_en.h"
#include "skin/font_spec.h"
#include "skin_harness.h"
#include "tests/system/screenshot.h"
#include "tests/win/modal_dialog.h"

namespace {

const int kBoxWidth = 395;
const int kBoxHeight = 234;

// Presses and releases a skinned button as the platform would deliver it.
void Click(HWND control) {
    SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
}

// Opens the box on this thread and runs script on another while it is open;
// unless the script closed it, OK does. Answers the box's result.
INT_PTR RunAboutBox(const std::function<void(HWND box)>& script) {
    return RunModalDialog(IDD_ABOUT, AboutBoxProc, script,
                          [](HWND box) { Click(GetDlgItem(box, IDC_ABOUT_OK)); });
}

RECT ScreenRect(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return r;
}

// Puts the real pointer on the screen's corner, off the box, and waits until
// the box's thread has handled its queue. A window holding the capture is
// told of every move of the real pointer, and Wine may tell it late (the X
// server's report of an earlier move); with the pointer parked away from the
// box, no such move comes, so only the test's own messages drag it. Wine
// moves the X server's pointer only when the place it holds changes, and the
// two may differ (a new screen's pointer is in its centre, while Wine may
// hold the corner): a step aside first makes the move to the corner real.
void ParkPointerOffBox(HWND box) {
    RECT place = ScreenRect(box);
    ASSERT_FALSE(PtInRect(&place, POINT{0, 0}));
    SetCursorPos(1, 1);
    SetCursorPos(0, 0);
    WaitForQueueHandled(box);
}

class AboutBox : public testing::Test {
  protected:
    static void SetUpTestSuite() { resourceLibrary = LoadLibraryA("Morvane.dll"); }
};

} // namespace

TEST_F(AboutBox, TakesTheBackgroundsSizeAndPlacesItsSkinnedButtons) {
    RunAboutBox([](HWND window) {
        const RECT box = ScreenRect(window);
        EXPECT_EQ(kBoxWidth, box.right - box.left);
        EXPECT_EQ(kBoxHeight, box.bottom - box.top);
        const struct {
            int id, x, y, width, height, face;
            const char* name;
        } buttons[] = {{IDC_ABOUT_OK, 290, 176, 84, 29, IDB_OK_NORMAL, "OK"},
                       {IDC_CLOSE, 362, 5, 28, 26, IDB_CLOSE_NORMAL, "Close"}};
        for (const auto& b : buttons) {
            SCOPED_TRACE(b.name);
            const HWND control = GetDlgItem(window, b.id);
            const RECT place = ScreenRect(control);
            EXPECT_EQ(b.x, place.left - box.left);
            EXPECT_EQ(b.y, place.top - box.top);
            EXPECT_EQ(b.width, place.right - place.left);
            EXPECT_EQ(b.height, place.bottom - place.top);
            // The box is visible before the X server has drawn it.
            WaitForFace(control, b.face, std::string(b.name) + " to show its normal face");
        }
    });
}

TEST_F(AboutBox, EndsWithOneThroughOkOrCloseOnly) {
    for (int id : {IDC_ABOUT_OK, IDC_CLOSE}) {
        SCOPED_TRACE(id);
        bool openAfterEscape = false;
        INT_PTR result = RunAboutBox([&](HWND box) {
            // Escape reaches the box as IDCANCEL, the system close as
            // WM_CLOSE, Enter as IDOK: none of them ends it.
            PostMessageA(box, WM_KEYDOWN, VK_ESCAPE, 0);
            SendMessageA(box, WM_COMMAND, IDCANCEL, 0);
            SendMessageA(box, WM_COMMAND, IDOK, 0);
            SendMessageA(box, WM_CLOSE, 0, 0);
            // A press posted after the Escape takes the mouse once the box
            // has handled the Escape too.
            HWND button = GetDlgItem(box, id);
            PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
            WaitUntil([&] { return ThreadInputOf(box).capture == button; },
                      "the pressed button to take the mouse after the Escape");
            openAfterEscape = IsWindow(box) && IsWindowVisible(box);
            SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
        });
        EXPECT_TRUE(openAfterEscape);
        EXPECT_EQ(1, result);
    }
}

TEST_F(AboutBox, DragsOnlyFromTheTopStrip) {
    POINT movedFromStrip{}, movedFromBelow{};
    bool capturedBelow = false, releasedAfter = false;
    RunAboutBox([&](HWND box) {
        ParkPointerOffBox(box);
        auto dragBy = [&](int pressY) {
            RECT before = ScreenRect(box);
            SendMessageA(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, pressY));
            capturedBelow = ThreadInputOf(box).capture == box;
            SendMessageA(box, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(120, pressY + 10));
            SendMessageA(box, WM_LBUTTONUP, 0, MAKELPARAM(120, pressY + 10));
            releasedAfter = ThreadInputOf(box).capture == NULL;
            RECT after = ScreenRect(box);
            return POINT{after.left - before.left, after.top - before.top};
        };
        movedFromStrip = dragBy(34);
        movedFromBelow = dragBy(35);
    });
    EXPECT_EQ(20, movedFromStrip.x);
    EXPECT_EQ(10, movedFromStrip.y);
    EXPECT_EQ(0, movedFromBelow.x);
    EXPECT_EQ(0, movedFromBelow.y);
    EXPECT_TRUE(capturedBelow); // a press lower down still takes the mouse
    EXPECT_TRUE(releasedAfter);
}

TEST_F(AboutBox, DoubleClickDragsAndALostCaptureEndsTheDrag) {
    POINT movedByPair{}, movedAfterLoss{};
    bool releasedByLoss = false;
    RunAboutBox([&](HWND box) {
        ParkPointerOffBox(box);
        RECT start = ScreenRect(box);
        SendMessageA(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 10));
        SendMessageA(box, WM_LBUTTONUP, 0, MAKELPARAM(100, 10));
        SendMessageA(box, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 10));
        SendMessageA(box, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(110, 15));
        SendMessageA(box, WM_LBUTTONUP, 0, MAKELPARAM(110, 15));
        RECT paired = ScreenRect(box);
        movedByPair = POINT{paired.left - start.left, paired.top - start.top};

        SendMessageA(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 10));
        SendMessageA(box, WM_CANCELMODE, 0, 0);
        releasedByLoss = ThreadInputOf(box).capture == NULL;
        SendMessageA(box, WM_MOUSEMOVE, 0, MAKELPARAM(130, 30));
        RECT after = ScreenRect(box);
        movedAfterLoss = POINT{after.left - paired.left, after.top - paired.top};
    });
    EXPECT_EQ(10, movedByPair.x);
    EXPECT_EQ(5, movedByPair.y);
    EXPECT_TRUE(releasedByLoss);
    EXPECT_EQ(0, movedAfterLoss.x);
    EXPECT_EQ(0, movedAfterLoss.y);
}

TEST_F(AboutBox, TwentyOpeningsKeepNoBitmapsOrFonts) {
    auto open = [] {
        RunAboutBox([](HWND box) {
            WaitForFace(GetDlgItem(box, IDC_ABOUT_OK), IDB_OK_NORMAL, "OK to show its normal face");
        });
    };
    const int kOpenings = 20;
    EXPECT_LT(GdiObjectsKeptBy(open, kOpenings), kOpenings / 2);
}

namespace {

const DWORD kTitleGrey = 0x3F3F3F;

struct Extent {
    int left = 10000, top = 10000, right = -1, bottom = -1, count = 0;
    void Add(int x, int y) {
        left = x < left ? x : left;
        top = y < top ? y : top;
        right = x > right ? x : right;
        bottom = y > bottom ? y : bottom;
        ++count;
    }
};

} // namespace

// The dark grey pixels of a title drawn over anything: where its ink is whole.
Extent TitleInk(const Screenshot& shot, const RECT& within) {
    Extent ink;
    for (int y = within.top; y < within.bottom; ++y) {
        for (int x = within.left; x < within.right; ++x) {
            if (shot.At(x, y) == kTitleGrey) {
                ink.Add(x, y);
            }
        }
    }
    return ink;
}

TEST_F(AboutBox, TitleIsWholeDarkGreyOverAWhiteShadowOnePixelDownRight) {
    // The title as it looks whole: drawn alone, unclipped, in the font the
    // box fits to its strip left of the close button.
    const RECT kTitleBox = {10, 8, 356, 32};
    Canvas canvas(kBoxWidth, kBoxHeight);
    RECT all = {0, 0, kBoxWidth, kBoxHeight};
    FillRect(canvas.Dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    FontSpec spec;
    spec.SetPointSize(11);
    spec.SetWeight(FW_BOLD);
    HFONT font = spec.CreateFittingFont(canvas.Dc(), TEXT_ABOUT_TITLE, kTitleBox, DT_SINGLELINE);
    HGDIOBJ previous = SelectObject(canvas.Dc(), font);
    SetBkMode(canvas.Dc(), TRANSPARENT);
    SetTextColor(canvas.Dc(), kTitleGrey);
    RECT place = kTitleBox;
    DrawTextA(canvas.Dc(), TEXT_ABOUT_TITLE, -1, &place, DT_SINGLELINE | DT_NOCLIP);
    SelectObject(canvas.Dc(), previous);
    DeleteObject(font);
    const Extent whole = TitleInk(canvas.Read(), all);
    ASSERT_GT(whole.count, 20);

    Extent grey, white;
    RunAboutBox([&](HWND box) {
        // The title and its shadow, once the screen shows both.
        Screenshot shot;
        WaitUntil(
            [&] {
                shot = CaptureFromScreen(box);
                grey = TitleInk(shot, all);
                white = Extent();
                for (int y = grey.top; y <= grey.bottom + 1; ++y) {
                    for (int x = grey.left; x <= grey.right + 1; ++x) {
                        if (shot.At(x, y) == 0xFFFFFF) {
                            white.Add(x, y);
                        }
                    }
                }
                return grey.count >= whole.count && white.count > 20;
            },
            "the screen to show the whole title and its shadow");
        char path[MAX_PATH];
        GetModuleFileNameA(NULL, path, sizeof path);
        std::string folder(path);
        shot.SaveBitmap(folder.substr(0, folder.find_last_of("\\/")) + "\\about_box.bmp");
    });
    // Nothing of the title is cut: it shows as it looks whole.
    EXPECT_EQ(whole.count, grey.count);
    EXPECT_EQ(whole.top, grey.top);
    EXPECT_EQ(whole.bottom, grey.bottom);
    EXPECT_EQ(whole.right, grey.right);
    ASSERT_GT(white.count, 20);
    // The shadow shows where the grey title leaves it uncovered: past its
    // right and bottom edges, never left of or above it.
    EXPECT_EQ(grey.right + 1, white.right);
    EXPECT_EQ(grey.bottom + 1, white.bottom);
    EXPECT_GT(white.left, grey.left);
    EXPECT_GT(white.top, grey.top);
}
