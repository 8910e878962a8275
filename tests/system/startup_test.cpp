// Start-up, single instance and the main window, seen from outside.
#include <windows.h>

#include <gtest/gtest.h>

#include "res/resource_ids.h"
#include "screenshot.h"
#include "system_test.h"

namespace {

const char kMissingLibraryText[] =
    "A required file was not found.\nUninstall the application and then re-install it.";

HWND FindChildWithText(HWND parent, const char* text) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (TextOf(child) == text) {
            return child;
        }
    }
    return nullptr;
}

RECT WindowRect(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return rect;
}

// Mouse messages are sent, not posted, so that each has been handled when
// the call returns.
void Mouse(HWND window, UINT message, int x, int y) {
    SendWithTimeout(window, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
}

using Startup = SystemTest;

// A started program whose set-up was finished before, and its main window.
class MainWindow : public SystemTest {
  protected:
    void SetUp() override {
        SystemTest::SetUp();
        MarkSetupDone();
    }
    void Start(const std::string& arguments = "") {
        // The pointer waits in a corner, as a user's hand would: a window
        // that appears under the pointer gets a move from Wine, which would
        // take part in the drags these tests make with messages.
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
        SystemTest::Start(kPluggedIn, arguments);
        // A user clicks what is on the screen: until the X server has drawn
        // the window, Wine may still undo a change of its state (a minimise).
        WaitForFace(GetDlgItem(main, IDC_CLOSE), IDB_CLOSE_NORMAL);
    }
};

} // namespace

// A copy of Morvane.exe in a folder of its own, without its library, and
// the folder it is started from, which holds a Morvane.dll when decoy is set.
struct LonelyProgram {
    std::string startFolder;
    explicit LonelyProgram(bool decoy) {
        startFolder = MakeScratchFolder(decoy ? "decoy" : "nolibrary");
        std::string programFolder = startFolder + "\\program";
        CreateDirectoryA(programFolder.c_str(), nullptr);
        CopyFileA((ProgramFolder() + "\\Morvane.exe").c_str(),
                  (programFolder + "\\Morvane.exe").c_str(), FALSE);
        if (decoy) {
            // The real library, in the wrong place: the current folder.
            CopyFileA((ProgramFolder() + "\\Morvane.dll").c_str(),
                      (startFolder + "\\Morvane.dll").c_str(), FALSE);
        }
    }
};

TEST_F(Startup, WithoutTheLibraryBesideItShowsTheErrorBoxAndNothingElse) {
    for (bool decoy : {false, true}) {
        SCOPED_TRACE(decoy ? "a Morvane.dll in the current folder" : "no Morvane.dll anywhere");
        LonelyProgram program(decoy);
        ProgramRun lonely;
        ASSERT_TRUE(lonely.Start(program.startFolder, "program\\Morvane.exe"));
        HWND box = lonely.WaitForWindow("#32770", "Morvane");
        EXPECT_NE(nullptr, FindChildWithText(box, kMissingLibraryText));
        EXPECT_EQ(1u, lonely.Windows().size());
        // No instance marker is taken before the library is found.
        HANDLE marker = OpenMutexA(SYNCHRONIZE, FALSE, "KivoMorvane");
        EXPECT_EQ(nullptr, marker);
        if (marker) {
            CloseHandle(marker);
        }
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(0u, lonely.WaitForExit());
    }
}

TEST_F(Startup, SecondCopyEndsAtOnceAndLeavesTheFirstAlone) {
    MarkSetupDone();
    Start();
    RECT before = WindowRect(main);

    ProgramRun second;
    ASSERT_TRUE(second.StartMorvane());
    // Watched while it runs: a window it showed and closed again counts too.
    bool secondShowedAWindow = false;
    WaitUntil(
        [&] {
            secondShowedAWindow = secondShowedAWindow || !second.Windows().empty();
            return second.Ended();
        },
        "the second copy to end");
    EXPECT_EQ(0u, second.WaitForExit());
    EXPECT_FALSE(secondShowedAWindow);

    RECT after = WindowRect(main);
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_FALSE(run->Ended());

    // Once the first copy has ended, a new start runs normally.
    PostMessageA(main, WM_CLOSE, 0, 0);
    WaitForExit();
    Start();
}

TEST_F(MainWindow, IsTheFixedSizeSkinnedWindowCentredAndTopmost) {
    Start("/ignored --arguments");

    RECT rect = WindowRect(main);
    EXPECT_EQ(349, rect.right - rect.left);
    EXPECT_EQ(560, rect.bottom - rect.top);
    int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ((screenWidth - 349) / 2, rect.left);
    EXPECT_EQ((screenHeight - 560) / 2, rect.top);

    LONG_PTR style = GetWindowLongPtrA(main, GWL_STYLE);
    EXPECT_EQ(static_cast<LONG_PTR>(WS_SYSMENU),
              style & ~static_cast<LONG_PTR>(WS_VISIBLE | WS_CLIPSIBLINGS));
    EXPECT_TRUE(GetWindowLongPtrA(main, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(MainWindow, EnterAndEscapeDoNothingAndCloseEndsWithExitCodeZero) {
    Start();
    // What the dialog manager sends for Enter and Escape.
    SendWithTimeout(main, WM_COMMAND, IDOK, 0);
    SendWithTimeout(main, WM_COMMAND, IDCANCEL, 0);
    // Everything they could have set going, a close it posted included, is
    // handled before the window paints again and answers.
    WaitForQueueHandled(main);
    SendWithTimeout(main, WM_NULL, 0, 0);
    EXPECT_TRUE(IsWindow(main) && IsWindowVisible(main)) << "the window still stands";

    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, WaitForExit());
}

TEST_F(MainWindow, TopStripDragsTheWindowAndTheCornerDoesNot) {
    Start();

    struct Press {
        int x, y;
        bool drags; // the press starts a drag (takes the capture)
        bool moves; // a move of the pointer then moves the window
    } presses[] = {
        {30, 5, true, true},   {5, 30, true, true},    {0, 5, true, true},
        {100, 34, true, true}, {100, 35, true, false}, {200, 400, true, false},
    };
    for (const Press& press : presses) {
        RECT before = WindowRect(main);
        Mouse(main, WM_LBUTTONDOWN, press.x, press.y);
        EXPECT_EQ(press.drags ? main : nullptr, CaptureOf()) << press.x << "," << press.y;
        Mouse(main, WM_MOUSEMOVE, press.x + 7, press.y + 4);
        RECT after = WindowRect(main);
        EXPECT_EQ(press.moves ? before.left + 7 : before.left, after.left)
            << press.x << "," << press.y;
        EXPECT_EQ(press.moves ? before.top + 4 : before.top, after.top)
            << press.x << "," << press.y;
        Mouse(main, WM_LBUTTONUP, press.x + 7, press.y + 4);
        EXPECT_EQ(nullptr, CaptureOf());
    }
}

TEST_F(MainWindow, AboutCornerTakesNoCaptureAndDoesNotDrag) {
    Start();
    for (POINT corner : {POINT{1, 1}, POINT{29, 29}}) {
        RECT before = WindowRect(main);
        // The corner opens the about box, modally: post the press, then wait for the box.
        PostMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(corner.x, corner.y));
        HWND box = run->WaitForWindow("#32770", "");
        EXPECT_EQ(nullptr, CaptureOf());
        Mouse(main, WM_MOUSEMOVE, corner.x + 9, corner.y + 9);
        RECT after = WindowRect(main);
        EXPECT_TRUE(EqualRect(&before, &after));
        // Close the box, then release the button.
        PostMessageA(box, WM_COMMAND, IDC_ABOUT_OK, 0);
        Mouse(main, WM_LBUTTONUP, corner.x, corner.y);
        WaitUntil([&] { return !IsWindow(box); }, "the about box to close");
    }
}

TEST_F(MainWindow, EachClickOfADoubleClickDragsOrOpensTheAboutBox) {
    Start();
    RECT before = WindowRect(main);
    Mouse(main, WM_LBUTTONDOWN, 100, 10);
    Mouse(main, WM_LBUTTONUP, 100, 10);
    Mouse(main, WM_LBUTTONDBLCLK, 100, 10);
    EXPECT_EQ(main, CaptureOf());
    Mouse(main, WM_MOUSEMOVE, 107, 14);
    Mouse(main, WM_LBUTTONUP, 107, 14);
    RECT after = WindowRect(main);
    EXPECT_EQ(before.left + 7, after.left);
    EXPECT_EQ(before.top + 4, after.top);

    // The box opens modally: post the second click, then wait for the box.
    PostMessageA(main, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    WaitUntil([&] { return run->Windows().size() == 2; }, "the about box to open");
    for (HWND other : run->Windows()) {
        if (other != main) {
            PostMessageA(other, WM_COMMAND, IDC_ABOUT_OK, 0);
        }
    }
}

TEST_F(MainWindow, ALostCaptureEndsTheDrag) {
    Start();
    RECT before = WindowRect(main);
    Mouse(main, WM_LBUTTONDOWN, 100, 10);
    ASSERT_EQ(main, CaptureOf());
    SendWithTimeout(main, WM_CANCELMODE, 0, 0);
    EXPECT_EQ(nullptr, CaptureOf());
    // The pointer goes on over the window with the button up.
    Mouse(main, WM_MOUSEMOVE, 130, 20);
    RECT after = WindowRect(main);
    EXPECT_TRUE(EqualRect(&before, &after));
}

TEST_F(MainWindow, TheMinimiseButtonMinimisesTheWindow) {
    Start();
    // A real click: its press activates the window before the button sees
    // it, so no change of focus can end the button's press before its release.
    HWND minimise = GetDlgItem(main, IDC_MINIMIZE);
    POINT at = {5, 5};
    ClientToScreen(minimise, &at);
    SendRealMouse(at, MOUSEEVENTF_LEFTDOWN);
    WaitUntil([&] { return CaptureOf() == minimise; }, "Minimise to take the capture");
    SendRealMouse(at, MOUSEEVENTF_LEFTUP);
    WaitUntil([&] { return IsIconic(main) != FALSE; }, "the window to minimise");
    EXPECT_TRUE(IsWindow(main));
}

TEST_F(MainWindow, DisplayChangeRestoresTheSizeAndBringsBackOnlyATopStripOffTheScreen) {
    Start();
    int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const struct {
        int x, y;
        int keptX, keptY;
    } places[] = {
        {50, 60, 50, 60},                                 // on the screen: kept
        {50, screenHeight - 100, 50, screenHeight - 100}, // strip on, the rest below
        {50, screenHeight + 200, 50, screenHeight - 35},  // left below a smaller screen
        {-100, -40, 0, 0},
        {screenWidth - 100, 60, screenWidth - 349, 60},
    };
    for (const auto& place : places) {
        SetWindowPos(main, nullptr, place.x, place.y, 200, 100, SWP_NOZORDER);
        SendWithTimeout(main, WM_DISPLAYCHANGE, 24, MAKELPARAM(screenWidth, screenHeight));
        RECT rect = WindowRect(main);
        EXPECT_EQ(place.keptX, rect.left) << place.x << "," << place.y;
        EXPECT_EQ(place.keptY, rect.top) << place.x << "," << place.y;
        EXPECT_EQ(349, rect.right - rect.left);
        EXPECT_EQ(560, rect.bottom - rect.top);
    }
}

namespace {

// Runs Morvane on a Wine desktop of its own, of the given screen size, and
// answers where its window went.
RECT PlaceOnScreen(int width, int height) {
    ProgramRun run;
    if (!run.StartMorvaneOnScreen(width, height)) {
        throw std::runtime_error("Morvane.exe cannot be started on a desktop of its own");
    }
    HWND window = run.WaitForMainWindow();
    RECT placed;
    GetWindowRect(window, &placed);
    PostMessageA(window, WM_CLOSE, 0, 0);
    run.WaitForExit();
    return placed;
}

} // namespace

TEST_F(MainWindow, KeepsItsTopOnALowScreenAndMayLeaveANarrowOneToTheLeft) {
    struct Screen {
        int width, height;
        int left, top;
    } screens[] = {
        // Wine keeps the last virtual desktop's size for the programs started
        // after it: the last start is on a screen that holds the window.
        {300, 640, -24, 40}, // narrower than the window: left edge off screen
        {800, 500, 225, 0},  // lower than the window: top at 0
        {800, 600, 225, 20}, // larger: centred
    };
    for (const Screen& screen : screens) {
        RECT placed = PlaceOnScreen(screen.width, screen.height);
        EXPECT_EQ(screen.left, placed.left) << screen.width << "x" << screen.height;
        EXPECT_EQ(screen.top, placed.top) << screen.width << "x" << screen.height;
        // Whole on every screen: on a low one its buttons can be dragged into view.
        EXPECT_EQ(349, placed.right - placed.left) << screen.width << "x" << screen.height;
        EXPECT_EQ(560, placed.bottom - placed.top) << screen.width << "x" << screen.height;
    }
}
