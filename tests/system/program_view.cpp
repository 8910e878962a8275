#include "program_view.h"

#include <cstring>

#include "res/resource_ids.h"
#include "screenshot.h"

const char kSharedSettingsKey[] = "SOFTWARE\\Kivo Corporation\\Pelvorn\\";
const char kDriverSettingsKey[] = "SOFTWARE\\KIVO ZUL\\Orvelle\\REL3";
const char kMissingSetting[] = "<missing>";

namespace {

// Points near a track's ends that a press still reaches (a press outside the
// margins less half a thumb does nothing).
const int kSliderFarLeft = 18;
const int kSliderFarRight = 165;

} // namespace

int PageOf(HWND main) {
    if (!IsShown(GetDlgItem(main, IDC_NEXT))) {
        return 0;
    }
    if (IsShown(GetDlgItem(main, IDC_AUDIO_DEVICE))) {
        return 1;
    }
    if (IsShown(GetDlgItem(main, IDC_QUALITY))) {
        return 2;
    }
    return IsShown(GetDlgItem(main, IDC_BRIGHTNESS)) ? 3 : 4;
}

bool WaitForPage(HWND main, int page, DWORD timeoutMs) {
    if (!WaitUntil([&] { return PageOf(main) == page; }, timeoutMs)) {
        return false;
    }
    WaitForQueueHandled(main);
    return true;
}

HWND StartMorvaneAndWaitForFirstPoll(ProgramRun& run) {
    SimulatedCamera camera; // the test's camera, seen again: it counts the status reads
    const uint32_t before = camera.StatusReads();
    HWND main = run.StartMorvane() ? run.WaitForMainWindow() : nullptr;
    if (main) {
        // The set-up, the camera's attach included, is over when the page
        // says that no camera was found, or when the first poll reads the
        // attached camera's status. An answer to a message proves nothing:
        // the program may answer in the middle of its set-up, while it waits
        // on a message of its own (on a 256-colour screen, its palette's news
        // to every window).
        WaitUntil([&] { return PageOf(main) == 0 || camera.StatusReads() != before; });
        SendWithTimeout(main, WM_NULL, 0, 0); // answered once that is handled
    }
    return main;
}

bool WaitForNextPoll(HWND main, SimulatedCamera& camera) {
    const uint32_t before = camera.StatusReads();
    if (!WaitUntil([&] { return camera.StatusReads() != before; })) {
        return false;
    }
    SendWithTimeout(main, WM_NULL, 0, 0); // answered once the poll is handled
    return true;
}

bool PreviewRuns(HWND main, SimulatedCamera& camera) {
    if (!WaitUntil([&] { return VideoWindowOf(main) && IsShown(VideoWindowOf(main)); }, 3000)) {
        return false;
    }
    uint32_t frames = camera.FramesDelivered();
    return WaitUntil([&] { return camera.FramesDelivered() > frames + 5; }, 2000);
}

std::string ReadSetting(const char* subkey, const char* name) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, KEY_QUERY_VALUE | ProgramRegistryView(),
                      &key) != ERROR_SUCCESS) {
        return kMissingSetting;
    }
    char data[300] = {};
    DWORD size = sizeof data - 1;
    DWORD type = 0;
    LONG result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) {
        return kMissingSetting;
    }
    if (type == REG_DWORD) {
        int32_t number;
        memcpy(&number, data, sizeof number);
        return std::to_string(number);
    }
    return data;
}

void PageSlider(HWND main, int sliderId, PageDirection direction) {
    DragSlider(main, sliderId, direction == kPageLeft ? kSliderFarLeft : kSliderFarRight, {});
}

void DragSlider(HWND main, int sliderId, int x, const std::vector<int>& moves) {
    HWND slider = GetDlgItem(main, sliderId);
    SendWithTimeout(slider, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, kSliderMiddleY));
    for (int to : moves) {
        SendWithTimeout(slider, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to, kSliderMiddleY));
    }
    SendWithTimeout(slider, WM_LBUTTONUP, 0,
                    MAKELPARAM(moves.empty() ? x : moves.back(), kSliderMiddleY));
}

void PressButton(HWND main, int buttonId) {
    SendWithTimeout(main, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                    reinterpret_cast<LPARAM>(GetDlgItem(main, buttonId)));
}

void ClickButton(HWND main, int buttonId) {
    HWND button = GetDlgItem(main, buttonId);
    // A user waits until the button shows it can be pressed.
    WaitUntil([&] { return IsWindowEnabled(button) != FALSE; }, 3000);
    SendWithTimeout(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendWithTimeout(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}
