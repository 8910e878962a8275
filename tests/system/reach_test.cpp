// Reaching every control whatever the screen: the window dragged into view
// with the real mouse on a screen lower than it, and the keyboard's route
// through the wizard with real keys. Positions come from the work area (the
// screen less its taskbar), so the tests hold on any screen.
#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "res/resource_ids.h"
#include "soak.h"
#include "system_test.h"

namespace {

RECT ScreenRectOf(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

// The screen less the bars docked at its edges (the test tiers stand one in
// for the taskbar on the small screen).
RECT WorkArea() {
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

bool WhollyInWorkArea(HWND control) {
    RECT rect = ScreenRectOf(control);
    RECT work = WorkArea();
    return rect.left >= work.left && rect.top >= work.top && rect.right <= work.right &&
           rect.bottom <= work.bottom;
}

class Reach : public SystemTest {
  protected:
    void SetUp() override {
        SystemTest::SetUp();
        MarkSetupDone();
        ASSERT_TRUE(WriteDriverDword("SFMin", 50));
        Start();
        WaitForPage(1);
        SetForegroundWindow(main);
        WaitForQueueHandled(main);
    }

    // Presses the window's background left of the picture and drags the
    // pointer by dy, in steps as a hand moves.
    void DragBackground(int dy) {
        POINT at = {5, 200};
        ClientToScreen(main, &at);
        int height = GetSystemMetrics(SM_CYSCREEN);
        at.y = at.y < 0 ? 0 : (at.y >= height ? height - 1 : at.y);
        RealMouse(at, MOUSEEVENTF_LEFTDOWN);
        for (int step = 1; step <= 4; ++step) {
            POINT to = {at.x, at.y + dy * step / 4};
            to.y = to.y < 0 ? 0 : (to.y >= height ? height - 1 : to.y);
            RealMouse(to, 0);
        }
        RealMouse(pointer, MOUSEEVENTF_LEFTUP);
    }

    void ClickCentreOf(int id) {
        RECT rect = ScreenRectOf(GetDlgItem(main, id));
        POINT centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        RealMouse(centre, MOUSEEVENTF_LEFTDOWN);
        RealMouse(centre, MOUSEEVENTF_LEFTUP);
    }
};

TEST_F(Reach, TheMouseDragsTheButtonsIntoViewAndTheTopStripBack) {
    RECT placed = ScreenRectOf(main);
    EXPECT_EQ(560, placed.bottom - placed.top) << "the window is whole";
    DragBackground(-GetSystemMetrics(SM_CYSCREEN));
    for (int id : {IDC_NEXT, IDC_CANCEL}) {
        EXPECT_TRUE(WhollyInWorkArea(GetDlgItem(main, id))) << id;
    }
    ClickCentreOf(IDC_NEXT);
    WaitForPage(2);
    EXPECT_TRUE(WhollyInWorkArea(GetDlgItem(main, IDC_PREV)));

    DragBackground(GetSystemMetrics(SM_CYSCREEN));
    for (int id : {IDC_CLOSE, IDC_MINIMIZE}) {
        EXPECT_TRUE(WhollyInWorkArea(GetDlgItem(main, id))) << id;
    }
    // A window the work area holds stays where it was placed.
    if (WorkArea().bottom - WorkArea().top >= 560) {
        RECT now = ScreenRectOf(main);
        EXPECT_TRUE(EqualRect(&placed, &now));
    }
}

TEST_F(Reach, TheKeyboardWalksTheWizardInReadingOrderAndWorksItsControls) {
    EXPECT_EQ(0, FocusedId()) << "no focus until the keyboard moves it";
    // Each row: keys typed (a negative key is typed with Shift), then the
    // control with the focus and the page on show; check, when given, what
    // else the keys must have done.
    struct Step {
        std::vector<int> keys;
        int focus;
        int page;
        std::function<bool()> check;
    };
    // What the camera had heard before a step's keys: a key that moves
    // nothing adds nothing to it.
    uint32_t joinsBefore = 0;
    size_t sentBefore = 0;
    const std::vector<Step> steps = {
        {{VK_TAB}, IDC_MINIMIZE, 1, nullptr},
        {{VK_TAB, VK_TAB, VK_TAB}, IDC_PLAY, 1, nullptr},
        {{-VK_TAB, -VK_TAB, -VK_TAB, -VK_TAB}, IDC_CANCEL, 1, nullptr},
        {{-VK_TAB}, IDC_NEXT, 1, nullptr}, // Prev is hidden on page 1
        {{VK_RETURN}, IDC_NEXT, 2, nullptr},
        {{-VK_TAB, -VK_TAB, -VK_TAB}, IDC_QUALITY, 2, nullptr},
        {{VK_END}, IDC_QUALITY, 2, [&] { return ReadSetting(kDriverSettingsKey, "SFMin") == "4"; }},
        {{VK_END}, IDC_QUALITY, 2, [&] { return camera.GraphJoins() == joinsBefore; }}, // no move
        {{VK_PRIOR},
         IDC_QUALITY,
         2,
         [&] {
             std::string stored = ReadSetting(kDriverSettingsKey, "SFMin");
             return stored != "4" && stored != "50"; // a page up from the end
         }},
        {{VK_TAB, VK_TAB, VK_SPACE}, IDC_NEXT, 1, nullptr}, // Prev hands the focus on
        {{VK_RETURN, VK_SPACE}, IDC_NEXT, 3, nullptr},
        {{-VK_TAB, -VK_TAB, -VK_TAB, VK_HOME},
         IDC_BRIGHTNESS,
         3,
         [&] { return !camera.BrightnessSent().empty() && camera.BrightnessSent().back() == 0; }},
        {{VK_HOME},
         IDC_BRIGHTNESS,
         3,
         [&] { return camera.BrightnessSent().size() == sentBefore; }},
        {{VK_RIGHT},
         IDC_BRIGHTNESS,
         3,
         [&] { return !camera.BrightnessSent().empty() && camera.BrightnessSent().back() > 0; }},
        {{VK_ESCAPE}, IDC_BRIGHTNESS, 3, nullptr}, // Escape does nothing
        {{VK_TAB, VK_TAB, VK_TAB, VK_TAB}, IDC_CANCEL, 3, nullptr},
    };
    for (size_t i = 0; i < steps.size(); ++i) {
        joinsBefore = camera.GraphJoins();
        sentBefore = camera.BrightnessSent().size();
        for (int key : steps[i].keys) {
            TypeKey(static_cast<WORD>(key < 0 ? -key : key), key < 0);
        }
        EXPECT_EQ(steps[i].focus, FocusedId()) << "step " << i;
        EXPECT_EQ(steps[i].page, PageOf(main)) << "step " << i;
        EXPECT_TRUE(WhollyInWorkArea(GetDlgItem(main, steps[i].focus))) << "step " << i;
        if (steps[i].check) {
            WaitUntil(steps[i].check, "the effect of step " + std::to_string(i));
        }
        // A quality step rebuilds the preview: the walk goes on once the
        // picture is back, as a user would.
        if (steps[i].focus == IDC_QUALITY && steps[i].check) {
            WaitForPreview(main, camera);
        }
    }
    // Cancel pressed from the keyboard: the program ends and the quality is
    // stored back.
    TypeKey(VK_SPACE);
    WaitForExit();
    EXPECT_EQ("50", ReadSetting(kDriverSettingsKey, "SFMin"));
}

// A page that hides the focused control while the window is inactive: back
// in front, the window gives the focus to no control (page 0 shows no Next),
// and Enter and Space press nothing hidden.
TEST_F(Reach, TheFocusAPageHidWhileTheWindowWasInactiveGoesToNoControl) {
    TypeKey(VK_TAB, true); // from no control: Cancel, then Next
    TypeKey(VK_TAB, true);
    ASSERT_EQ(IDC_NEXT, FocusedId());
    HWND other = CreateWindowExA(0, "STATIC", "another program", WS_POPUP | WS_VISIBLE, 0, 0, 60,
                                 40, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(other);
    WaitForQueueHandled(main);
    camera.SetPlugged(false);
    WaitForPage(0);
    SetForegroundWindow(main);
    WaitForQueueHandled(main);
    DestroyWindow(other);
    EXPECT_EQ(0, FocusedId());
    TypeKey(VK_RETURN);
    TypeKey(VK_SPACE);
    EXPECT_EQ(0, PageOf(main));
}

// What a screen reader hears for a control: the answer of the control itself
// to WM_GETTEXT (the window manager's copy that GetWindowText reads from
// another process never asks it), and the name the accessibility interface
// gives where the system answers for it.
std::string AnsweredText(HWND window) {
    char text[256] = "";
    DWORD_PTR copied = 0;
    EXPECT_TRUE(SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                                    SMTO_ABORTIFHUNG, Bound(kAnswerBoundMs), &copied))
        << "the window answers WM_GETTEXT";
    return text;
}

void ExpectNamed(HWND control, const std::string& name) {
    EXPECT_EQ(name, AnsweredText(control));
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, IID_IAccessible,
                                          reinterpret_cast<void**>(&accessible)))) {
        return;
    }
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR spoken = nullptr;
    if (accessible->get_accName(self, &spoken) == S_OK && spoken) {
        char text[256] = "";
        WideCharToMultiByte(CP_ACP, 0, spoken, -1, text, sizeof text, nullptr, nullptr);
        EXPECT_EQ(name, text);
        SysFreeString(spoken);
    }
    accessible->Release();
}

// A control and the library text that names it.
struct ControlName {
    int id;
    int textId;
};

// Names come from the library under test, English or Japanese.
void ExpectAllNamed(HWND window, const std::vector<ControlName>& controls) {
    for (const auto& control : controls) {
        const std::string name = ProgramText(control.textId);
        SCOPED_TRACE(name);
        ASSERT_FALSE(name.empty()) << "text " << control.textId;
        ExpectNamed(GetDlgItem(window, control.id), name);
    }
}

// Each control is named as it is seen: a picture by what it does, a labelled
// button by its label, disabled or not.
TEST_F(Reach, EverySkinnedControlIsNamedForAScreenReader) {
    CoInitialize(nullptr);
    const std::vector<ControlName> deck = {
        {IDC_PLAY, IDS_NAME_PLAY},       {IDC_PAUSE, IDS_NAME_PAUSE},   {IDC_STOP, IDS_NAME_STOP},
        {IDC_FORWARD, IDS_NAME_FORWARD}, {IDC_REWIND, IDS_NAME_REWIND},
    };
    ExpectAllNamed(main, deck);
    ExpectAllNamed(main, {
                             {IDC_MUTE, IDS_NAME_MUTE},
                             {IDC_VOLUME, IDS_NAME_VOLUME},
                             {IDC_QUALITY, IDS_NAME_QUALITY},
                             {IDC_BRIGHTNESS, IDS_NAME_BRIGHTNESS},
                             {IDC_QUALITY_RESET, IDS_RESET},
                             {IDC_BRIGHTNESS_RESET, IDS_RESET},
                             {IDC_PREV, IDS_PREV},
                             {IDC_NEXT, IDS_NEXT},
                             {IDC_CANCEL, IDS_CANCEL},
                             {IDC_CLOSE, IDS_NAME_CLOSE},
                             {IDC_MINIMIZE, IDS_NAME_MINIMIZE},
                         });
    camera.SetTape(false);
    // The second poll after the tape left has disabled the deck (the first
    // may come while the deck still settles).
    WaitForNextPoll();
    WaitForNextPoll();
    ExpectAllNamed(main, deck);
    for (int page = 2; page <= 4; ++page) {
        PostMessageA(main, WM_COMMAND, IDC_NEXT, 0);
        WaitForPage(page);
    }
    ExpectAllNamed(main, {{IDC_NEXT, IDS_FINISH}});
    // The about box opens modally from the logo: post the click, then wait.
    PostClick(main, 5, 5);
    HWND box = run->WaitForWindow("#32770", "");
    ExpectAllNamed(box, {{IDC_ABOUT_OK, IDS_ABOUT_OK}, {IDC_CLOSE, IDS_NAME_CLOSE}});
    PostMessageA(box, WM_COMMAND, IDC_ABOUT_OK, 0);
    CoUninitialize();
}

// The tip window of the program's own thread, or null.
HWND TipWindowOf(HWND main) {
    DWORD thread = GetWindowThreadProcessId(main, nullptr);
    for (HWND tip = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr); tip;
         tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr)) {
        if (GetWindowThreadProcessId(tip, nullptr) == thread) {
            return tip;
        }
    }
    return nullptr;
}

// A control that shows only a picture names itself in a tip while the
// pointer rests on it; a labelled one has none.
TEST_F(Reach, APictureOnlyControlShowsItsNameInATipOnHover) {
    HWND tip = TipWindowOf(main);
    ASSERT_NE(nullptr, tip) << "the program has a tip window";
    const std::vector<ControlName> pictures = {
        {IDC_STOP, IDS_NAME_STOP},         {IDC_PLAY, IDS_NAME_PLAY},
        {IDC_PAUSE, IDS_NAME_PAUSE},       {IDC_REWIND, IDS_NAME_REWIND},
        {IDC_FORWARD, IDS_NAME_FORWARD},   {IDC_MUTE, IDS_NAME_MUTE},
        {IDC_MINIMIZE, IDS_NAME_MINIMIZE}, {IDC_CLOSE, IDS_NAME_CLOSE},
    };
    EXPECT_EQ(pictures.size(), static_cast<size_t>(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0)));
    for (const auto& picture : pictures) {
        RECT rect = ScreenRectOf(GetDlgItem(main, picture.id));
        RealMouse({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}, 0);
        const std::string name = ProgramText(picture.textId);
        WaitUntil([&] { return IsWindowVisible(tip) && AnsweredText(tip) == name; },
                  "the tip to name " + name);
    }
}

} // namespace
