#include "program_view.h"

#include <cstring>

#include "res/resource_ids.h"
#include "screenshot.h"

const char kSharedSettingsKey[] = "SOFTWARE\\Kivo Corporation\\Pelvorn\\";
const char kDriverSettingsKey[] = "SOFTWARE\\KIVO ZUL\\Orvelle\\REL3";
const char kMissingSetting[] = "<missing>";

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

void WaitForPage(HWND main, int page) {
    WaitUntil([&] { return PageOf(main) == page; }, "page " + std::to_string(page) + " to show");
    WaitForQueueHandled(main);
}

void WaitForNextPoll(HWND main, SimulatedCamera& camera) {
    const uint32_t before = camera.StatusReads();
    WaitUntil([&] { return camera.StatusReads() != before; }, "the next status poll");
    SendWithTimeout(main, WM_NULL, 0, 0); // answered once the poll is handled
}

bool ShowsPicture(HWND main) {
    HWND video = VideoWindowOf(main);
    return video && IsShown(video);
}

void WaitForPreview(HWND main, SimulatedCamera& camera) {
    WaitUntil([&] { return ShowsPicture(main); }, "the video window to show");
    const uint32_t frames = camera.FramesDelivered();
    WaitUntil([&] { return camera.FramesDelivered() > frames + 5; },
              "the camera to deliver frames to the preview");
}

bool PreviewRuns(HWND main, SimulatedCamera& camera) {
    try {
        WaitForPreview(main, camera);
        return true;
    } catch (const WaitRanOut&) {
        return false;
    }
}

void WaitForMovingPicture(HWND main) {
    HWND video = VideoWindowOf(main);
    const Screenshot before = CaptureFromScreen(video);
    WaitUntil([&] { return CaptureFromScreen(video).pixels != before.pixels; },
              "the picture to move on the screen");
}

void WaitForFace(HWND control, int face) {
    WaitUntil([&] { return ShownSkinFace(control) == face; },
              "control " + std::to_string(GetDlgCtrlID(control)) + " to show skin face " +
                  std::to_string(face));
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
    WaitUntil([&] { return IsWindowEnabled(button) != FALSE; },
              "button " + std::to_string(buttonId) + " to be enabled");
    SendWithTimeout(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendWithTimeout(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}
