// The skinned controls of the main window: attached with their bitmaps and
// labels, given their first values and placed in pixels.
#include "wizard/streaming_wizard.h"

#include "base/library_text.h"
#include "res/resource_ids.h"
#include "wizard/page_table.h"

namespace {

struct Faces {
    UINT normal;
    UINT hover;
    UINT pressed; // also the highlighted look
    UINT disabled;
};

const Faces kNavigationFaces = {IDB_NAV_NORMAL, IDB_NAV_HOVER, IDB_NAV_PRESSED, 0};
const Faces kResetFaces = {IDB_RESET_NORMAL, IDB_RESET_HOVER, IDB_RESET_PRESSED,
                           IDB_RESET_DISABLED};
const Faces kPlayFaces = {IDB_PLAY_NORMAL, IDB_PLAY_HOVER, IDB_PLAY_PRESSED, IDB_PLAY_DISABLED};
const Faces kPauseFaces = {IDB_PAUSE_NORMAL, IDB_PAUSE_HOVER, IDB_PAUSE_PRESSED,
                           IDB_PAUSE_DISABLED};
const Faces kStopFaces = {IDB_STOP_NORMAL, IDB_STOP_HOVER, IDB_STOP_PRESSED, IDB_STOP_DISABLED};
const Faces kRewindFaces = {IDB_REWIND_NORMAL, IDB_REWIND_HOVER, IDB_REWIND_PRESSED,
                            IDB_REWIND_DISABLED};
const Faces kForwardFaces = {IDB_FORWARD_NORMAL, IDB_FORWARD_HOVER, IDB_FORWARD_PRESSED,
                             IDB_FORWARD_DISABLED};
const Faces kMuteFaces = {IDB_MUTE_NORMAL, IDB_MUTE_HOVER, IDB_MUTE_PRESSED, IDB_MUTE_DISABLED};
const Faces kMinimizeFaces = {IDB_MINIMIZE_NORMAL, IDB_MINIMIZE_HOVER, IDB_MINIMIZE_PRESSED,
                              IDB_MINIMIZE_DISABLED};
const Faces kCloseFaces = {IDB_CLOSE_NORMAL, IDB_CLOSE_HOVER, IDB_CLOSE_PRESSED,
                           IDB_CLOSE_DISABLED};

struct Place {
    int id;
    int x;
    int y;
};

// Top-left corners in client pixels, in the order they are placed. The
// two sliders of pages 2 and 3 share a place, as do their reset buttons.
const Place kPlaces[] = {
    {IDC_MINIMIZE, 290, 5},         {IDC_CLOSE, 316, 5},          {IDC_STOP, 14, 325},
    {IDC_PLAY, 47, 325},            {IDC_PAUSE, 80, 325},         {IDC_REWIND, 126, 325},
    {IDC_FORWARD, 159, 325},        {IDC_MUTE, 205, 325},         {IDC_VOLUME, 246, 325},
    {IDC_AUDIO_DEVICE, 22, 385},    {IDC_QUALITY, 22, 383},       {IDC_BRIGHTNESS, 22, 383},
    {IDC_QUALITY_RESET, 216, 383},  {IDC_BRIGHTNESS_RESET, 216, 383}, {IDC_PREV, 72, 516},
    {IDC_NEXT, 163, 516},           {IDC_CANCEL, 254, 516},
};
// The name each picture-only skinned control gives a screen reader as its
// window text (a labelled button is named by its label): the skins draw their
// own faces, so it is never shown.
const struct {
    int controlId;
    int nameId;
} kNames[] = {
    {IDC_PLAY, IDS_NAME_PLAY},
    {IDC_PAUSE, IDS_NAME_PAUSE},
    {IDC_STOP, IDS_NAME_STOP},
    {IDC_FORWARD, IDS_NAME_FORWARD},
    {IDC_REWIND, IDS_NAME_REWIND},
    {IDC_MUTE, IDS_NAME_MUTE},
    {IDC_VOLUME, IDS_NAME_VOLUME},
    {IDC_QUALITY, IDS_NAME_QUALITY},
    {IDC_BRIGHTNESS, IDS_NAME_BRIGHTNESS},
    {IDC_CLOSE, IDS_NAME_CLOSE},
    {IDC_MINIMIZE, IDS_NAME_MINIMIZE},
};
// The controls that show only a picture: each shows its name as a tip.
const int kTippedControls[] = {IDC_STOP,    IDC_PLAY, IDC_PAUSE,    IDC_REWIND,
                               IDC_FORWARD, IDC_MUTE, IDC_MINIMIZE, IDC_CLOSE};
const int kComboWidth = 300;
const int kComboHeight = 15;

void AttachButton(SkinButton& button, HWND window, int id, const Faces& faces) {
    button.Attach(GetDlgItem(window, id), id, faces.normal, faces.hover, faces.pressed,
                  faces.disabled);
}

void AttachRepeatButton(RepeatButton& button, HWND window, int id, const Faces& faces) {
    button.Attach(GetDlgItem(window, id), id, faces.normal, faces.hover, faces.pressed,
                  faces.disabled, WM_SEARCH_RELEASE);
}

void AttachLabelledButton(SkinButton& button, HWND window, int id, const Faces& faces,
                          int stringId) {
    AttachButton(button, window, id, faces);
    char label[kLibraryTextSize];
    LoadLibraryText(resourceLibrary, stringId, label, kLibraryTextSize);
    SetButtonLabel(button, label);
}

} // namespace

void StreamingWizard::AttachControls() {
    AttachLabelledButton(prevButton, hwnd, IDC_PREV, kNavigationFaces, IDS_PREV);
    AttachLabelledButton(nextButton, hwnd, IDC_NEXT, kNavigationFaces, IDS_NEXT);
    AttachLabelledButton(cancelButton, hwnd, IDC_CANCEL, kNavigationFaces, IDS_CANCEL);
    char resetLabel[kLibraryTextSize];
    LoadLibraryText(resourceLibrary, IDS_RESET, resetLabel, kLibraryTextSize);
    AttachButton(qualityResetButton, hwnd, IDC_QUALITY_RESET, kResetFaces);
    SetButtonLabel(qualityResetButton, resetLabel);
    AttachButton(brightnessResetButton, hwnd, IDC_BRIGHTNESS_RESET, kResetFaces);
    SetButtonLabel(brightnessResetButton, resetLabel);
    AttachButton(playButton, hwnd, IDC_PLAY, kPlayFaces);
    AttachButton(pauseButton, hwnd, IDC_PAUSE, kPauseFaces);
    AttachButton(stopButton, hwnd, IDC_STOP, kStopFaces);
    AttachRepeatButton(rewindButton, hwnd, IDC_REWIND, kRewindFaces);
    AttachRepeatButton(forwardButton, hwnd, IDC_FORWARD, kForwardFaces);
    AttachButton(muteButton, hwnd, IDC_MUTE, kMuteFaces);
    AttachButton(minimizeButton, hwnd, IDC_MINIMIZE, kMinimizeFaces);
    AttachButton(closeButton, hwnd, IDC_CLOSE, kCloseFaces);
    volumeSlider.Attach(GetDlgItem(hwnd, IDC_VOLUME), IDC_VOLUME, 0, 5000, 5, IDB_VOLUME_TRACK,
                        IDB_VOLUME_THUMB, 0, 21);
    qualitySlider.Attach(GetDlgItem(hwnd, IDC_QUALITY), IDC_QUALITY, 4, 80, 10, IDB_SLIDER_TRACK,
                         IDB_SLIDER_THUMB, IDB_SLIDER_THUMB_DISABLED, 22);
    brightnessSlider.Attach(GetDlgItem(hwnd, IDC_BRIGHTNESS), IDC_BRIGHTNESS, 0, 255, 10,
                            IDB_SLIDER_TRACK, IDB_SLIDER_THUMB, IDB_SLIDER_THUMB_DISABLED, 22);
    for (const auto& name : kNames) {
        NameControl(resourceLibrary, hwnd, name.controlId, name.nameId);
    }
}

void StreamingWizard::AddPictureTips() {
    pictureTips.Create(hwnd);
    for (int controlId : kTippedControls) {
        HWND control = GetDlgItem(hwnd, controlId);
        char name[kLibraryTextSize];
        GetWindowTextA(control, name, sizeof name);
        pictureTips.Add(control, name);
    }
}

void StreamingWizard::SetSliderValues() {
    qualitySlider.SetValue(SliderFromQuality(quality));
    volumeSlider.SetValue(volume);
    brightnessSlider.SetValue(BrightnessInRange(brightness));
}

void StreamingWizard::PlaceControls() {
    // The window is already shown: without this every move would repaint the
    // whole skin at once, once per control, before the camera is attached.
    SendMessageA(hwnd, WM_SETREDRAW, FALSE, 0);
    for (const Place& place : kPlaces) {
        HWND control = GetDlgItem(hwnd, place.id);
        if (place.id == IDC_AUDIO_DEVICE) {
            SetWindowPos(control, NULL, place.x, place.y, kComboWidth, kComboHeight,
                         SWP_SHOWWINDOW);
        } else {
            SetWindowPos(control, NULL, place.x, place.y, 0, 0, SWP_NOSIZE);
        }
    }
    SendMessageA(hwnd, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(hwnd, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}
