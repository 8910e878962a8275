// Reaching every control whatever the screen: the window dragged into view
// with the real mouse on a screen lower than it, and the keyboard's route
// through the wizard with real keys. Positions come from the screen's own
// size, so the tests hold on any screen.
#include <windows.h>

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

bool WhollyOnScreen(HWND control) {
    RECT rect = ScreenRectOf(control);
    return rect.left >= 0 && rect.top >= 0 && rect.right <= GetSystemMetrics(SM_CXSCREEN) &&
           rect.bottom <= GetSystemMetrics(SM_CYSCREEN);
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
        EXPECT_TRUE(WhollyOnScreen(GetDlgItem(main, id))) << id;
    }
    ClickCentreOf(IDC_NEXT);
    WaitForPage(2);
    EXPECT_TRUE(WhollyOnScreen(GetDlgItem(main, IDC_PREV)));

    DragBackground(GetSystemMetrics(SM_CYSCREEN));
    for (int id : {IDC_CLOSE, IDC_MINIMIZE}) {
        EXPECT_TRUE(WhollyOnScreen(GetDlgItem(main, id))) << id;
    }
    // A window the screen holds stays where it was placed.
    if (GetSystemMetrics(SM_CYSCREEN) >= 560) {
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
    const std::vector<Step> steps = {
        {{VK_TAB}, IDC_MINIMIZE, 1, nullptr},
        {{VK_TAB, VK_TAB, VK_TAB}, IDC_PLAY, 1, nullptr},
        {{-VK_TAB, -VK_TAB, -VK_TAB, -VK_TAB}, IDC_CANCEL, 1, nullptr},
        {{-VK_TAB}, IDC_NEXT, 1, nullptr}, // Prev is hidden on page 1
        {{VK_RETURN}, IDC_NEXT, 2, nullptr},
        {{-VK_TAB, -VK_TAB, -VK_TAB}, IDC_QUALITY, 2, nullptr},
        {{VK_END}, IDC_QUALITY, 2, [&] { return ReadSetting(kDriverSettingsKey, "SFMin") == "4"; }},
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
        {{VK_RIGHT},
         IDC_BRIGHTNESS,
         3,
         [&] { return !camera.BrightnessSent().empty() && camera.BrightnessSent().back() > 0; }},
        {{VK_ESCAPE}, IDC_BRIGHTNESS, 3, nullptr}, // Escape does nothing
        {{VK_TAB, VK_TAB, VK_TAB, VK_TAB}, IDC_CANCEL, 3, nullptr},
    };
    for (size_t i = 0; i < steps.size(); ++i) {
        for (int key : steps[i].keys) {
            TypeKey(static_cast<WORD>(key < 0 ? -key : key), key < 0);
        }
        EXPECT_EQ(steps[i].focus, FocusedId()) << "step " << i;
        EXPECT_EQ(steps[i].page, PageOf(main)) << "step " << i;
        EXPECT_TRUE(WhollyOnScreen(GetDlgItem(main, steps[i].focus))) << "step " << i;
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

// What a screen reader hears for a control: its window text, and the name
// the accessibility interface gives where the system answers for it.
void ExpectNamed(HWND control, const std::string& name) {
    EXPECT_EQ(name, TextOf(control));
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

TEST_F(Reach, EverySkinnedControlIsNamedForAScreenReader) {
    CoInitialize(nullptr);
    // The names come from the library under test, English or Japanese.
    const struct {
        int id;
        int nameId;
    } controls[] = {
        {IDC_PLAY, IDS_NAME_PLAY},
        {IDC_PAUSE, IDS_NAME_PAUSE},
        {IDC_STOP, IDS_NAME_STOP},
        {IDC_FORWARD, IDS_NAME_FORWARD},
        {IDC_REWIND, IDS_NAME_REWIND},
        {IDC_MUTE, IDS_NAME_MUTE},
        {IDC_VOLUME, IDS_NAME_VOLUME},
        {IDC_QUALITY, IDS_NAME_QUALITY},
        {IDC_BRIGHTNESS, IDS_NAME_BRIGHTNESS},
        {IDC_QUALITY_RESET, IDS_NAME_RESET},
        {IDC_BRIGHTNESS_RESET, IDS_NAME_RESET},
        {IDC_PREV, IDS_NAME_PREV},
        {IDC_NEXT, IDS_NAME_NEXT},
        {IDC_CANCEL, IDS_NAME_CANCEL},
        {IDC_CLOSE, IDS_NAME_CLOSE},
        {IDC_MINIMIZE, IDS_NAME_MINIMIZE},
    };
    for (const auto& control : controls) {
        const std::string name = ProgramText(control.nameId);
        SCOPED_TRACE(name);
        ASSERT_FALSE(name.empty()) << "name " << control.nameId;
        ExpectNamed(GetDlgItem(main, control.id), name);
    }
    // The about box opens modally from the logo: post the click, then wait.
    PostClick(main, 5, 5);
    HWND box = run->WaitForWindow("#32770", "");
    ExpectNamed(GetDlgItem(box, IDC_ABOUT_OK), ProgramText(IDS_NAME_OK));
    ExpectNamed(GetDlgItem(box, IDC_CLOSE), ProgramText(IDS_NAME_CLOSE));
    PostMessageA(box, WM_COMMAND, IDC_ABOUT_OK, 0);
    CoUninitialize();
}

} // namespace
