// The wizard pages and the settings controls of the main window.
#include "wizard/streaming_wizard.h"

#include "base/library_text.h"
#include "base/text.h"
#include "res/resource_ids.h"
#include "settings/launcher_broadcast.h"
#include "settings/settings_store.h"
#include "skin/focus_cue.h"
#include "wizard/keyboard_route.h"
#include "wizard/page_table.h"

void StreamingWizard::SetPage(int newPage) {
    page = ClampPage(newPage);
    LayoutPage();
}

void StreamingWizard::ShowControl(int controlId, bool shown) {
    ShowWindow(GetDlgItem(hwnd, controlId), shown ? SW_SHOW : SW_HIDE);
}

void StreamingWizard::LayoutPage() {
    // Read before the page hides the focused control and the focus with it.
    int focused = FocusedControl();
    // Every page control goes first; the page then shows its own.
    ShowControl(IDC_AUDIO_DEVICE, false);
    ShowControl(IDC_QUALITY_RESET, false);
    ShowControl(IDC_BRIGHTNESS_RESET, false);
    qualitySlider.Hide();
    brightnessSlider.Hide();
    // A drag the page change cut short is undone: the thumb shows the
    // quality in force again.
    qualitySlider.SetValue(SliderFromQuality(quality));

    PageLayout layout = LayoutOfPage(page);
    LoadLibraryText(resourceLibrary, layout.headingId, headingText, sizeof headingText);
    LoadLibraryText(resourceLibrary, layout.noteId, headingNote, sizeof headingNote);
    LoadLibraryText(resourceLibrary, layout.captionId, captionText, sizeof captionText);
    LoadLibraryText(resourceLibrary, layout.bodyId, bodyText, sizeof bodyText);
    headingFit.Forget();
    noteFit.Forget();
    captionFit.Forget();
    bodyFit.Forget();
    for (int i = 0; i < layout.controlCount; ++i) {
        ShowControl(layout.controls[i].controlId, layout.controls[i].shown);
    }
    if (layout.nextLabelId != 0) {
        char label[kLibraryTextSize];
        LoadLibraryText(resourceLibrary, layout.nextLabelId, label, sizeof label);
        SetButtonLabel(nextButton, label);
    }

    InvalidateRect(hwnd, &headingRect, FALSE);
    RECT textArea = {kPageTextArea.left, kPageTextArea.top, kPageTextArea.right,
                     kPageTextArea.bottom};
    InvalidateRect(hwnd, &textArea, FALSE);

    // An inactive window has no focus to move: its activation places it.
    if (GetActiveWindow() == hwnd) {
        PlaceFocus(focused);
    }
}

void StreamingWizard::OnActivate(WPARAM wParam, LPARAM) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        focusOnReturn = FocusedControl();
    } else if (!HIWORD(wParam)) {
        PlaceFocus(focusOnReturn);
    }
}

// The focus stays on focusedId while it is reachable, else goes as the route
// says; without a control to go to, the window itself takes it, so that no
// key reaches a hidden or disabled control.
void StreamingWizard::PlaceFocus(int focusedId) {
    bool reachable[kRouteLength];
    ReadReachable(reachable);
    int keeper = FocusAfterLayout(focusedId, reachable);
    if (keeper == 0) {
        if (GetFocus() != hwnd) {
            SetFocus(hwnd);
        }
    } else if (GetFocus() != GetDlgItem(hwnd, keeper)) {
        FocusControl(keeper);
    }
}

void StreamingWizard::OnNextControl(WPARAM wParam, LPARAM) {
    bool reachable[kRouteLength];
    ReadReachable(reachable);
    int next = NextOnRoute(FocusedControl(), wParam != 0, reachable);
    if (next != 0) {
        ShowFocusCues();
        FocusControl(next);
    }
}

void StreamingWizard::ReadReachable(bool reachable[]) {
    for (int i = 0; i < kRouteLength; ++i) {
        HWND control = GetDlgItem(hwnd, kRouteOrder[i]);
        reachable[i] =
            IsWindowVisible(control) && IsWindowEnabled(control) && !IsSkinDisabled(kRouteOrder[i]);
    }
}

bool StreamingWizard::IsSkinDisabled(int controlId) const {
    switch (controlId) {
    case IDC_STOP:
        return stopButton.IsDisabled() != 0;
    case IDC_PLAY:
        return playButton.IsDisabled() != 0;
    case IDC_PAUSE:
        return pauseButton.IsDisabled() != 0;
    case IDC_REWIND:
        return rewindButton.IsDisabled() != 0;
    case IDC_FORWARD:
        return forwardButton.IsDisabled() != 0;
    case IDC_MUTE:
        return muteButton.IsDisabled() != 0;
    case IDC_QUALITY:
        return qualitySlider.IsDisabled() != 0;
    case IDC_QUALITY_RESET:
        return qualityResetButton.IsDisabled() != 0;
    case IDC_BRIGHTNESS:
        return brightnessSlider.IsDisabled() != 0;
    case IDC_BRIGHTNESS_RESET:
        return brightnessResetButton.IsDisabled() != 0;
    default:
        return false;
    }
}

int StreamingWizard::FocusedControl() const {
    HWND focus = GetFocus();
    return focus && IsChild(hwnd, focus) ? GetDlgCtrlID(focus) : 0;
}

void StreamingWizard::FocusControl(int controlId) {
    HWND control = GetDlgItem(hwnd, controlId);
    SetFocus(control);
    // On a screen lower than the window the focused control is moved into view.
    RECT place;
    GetWindowRect(control, &place);
    MapWindowPoints(NULL, hwnd, reinterpret_cast<POINT*>(&place), 2);
    ShowClientRows(hwnd, place.top, place.bottom);
}

void StreamingWizard::OnNext(WPARAM wParam, LPARAM lParam) {
    if (wizardEnded) {
        return;
    }
    if (page == kLastPage) {
        EndWizard(wParam, lParam);
    }
    // On the last page this lays it out again while WM_CLOSE waits in the queue.
    SetPage(page + 1);
}

void StreamingWizard::OnPrev(WPARAM, LPARAM) {
    SetPage(page - 1);
}

void StreamingWizard::EndWizard(WPARAM wParam, LPARAM) {
    // A second press before the posted WM_CLOSE arrives would save and tell
    // the launcher again.
    if (wizardEnded) {
        return;
    }
    wizardEnded = 1;
    int controlId = LOWORD(wParam);
    if (RestoresSavedSettings(controlId)) {
        // Written back as they were at start, or as a reset button left them;
        // neither is sent to the camera nor rebuilt into the preview.
        quality = savedQuality;
        brightness = savedBrightness;
        CopyText(audioDevice, sizeof audioDevice, savedAudioDevice);
    }
    SaveSettings(FinishesWizard(controlId) ? 1 : 0);
    if (firstRun) {
        BroadcastToLauncher(kShowNormalMessage);
    }
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
}

void StreamingWizard::OnSliderScroll(WPARAM wParam, LPARAM lParam) {
    HWND sender = reinterpret_cast<HWND>(lParam);
    if (sender == GetDlgItem(hwnd, IDC_BRIGHTNESS)) {
        // Every scroll code, drags included: the camera follows the thumb.
        brightness = brightnessSlider.GetValue();
        SendBrightness();
    } else if (sender == GetDlgItem(hwnd, IDC_QUALITY)) {
        // A drag moves only the thumb until its release: the quality changes
        // as it is applied, so a drag the program cuts short (a page change,
        // the poll disabling the slider) leaves the quality the preview shows
        // for Finish to store. A release that a rebuild under way brings (its
        // video window took the mouse) cuts the drag short too.
        if (graph.IsChanging()) {
            qualitySlider.SetValue(SliderFromQuality(quality));
        } else if (AppliesQuality(LOWORD(wParam)) &&
                   QualityFromSlider(qualitySlider.GetValue()) != quality) {
            // Only a new quality is stored and rebuilt into the preview.
            quality = QualityFromSlider(qualitySlider.GetValue());
            ApplyQuality();
        }
    } else if (sender == GetDlgItem(hwnd, IDC_VOLUME)) {
        ApplyVolume();
    }
}

void StreamingWizard::ApplyVolume() {
    volume = volumeSlider.GetValue();
    // Without a graph the volume waits for the next build's ApplyVolume.
    graph.SetVolume(PreviewVolume(volume, muted != 0));
}

void StreamingWizard::ToggleMute(WPARAM, LPARAM) {
    muted = !muted;
    ApplyVolume();
    muteButton.SetHighlighted(muted);
}

void StreamingWizard::ResetQuality(WPARAM, LPARAM) {
    LoadDefaultQuality();
    // As for the brightness: an original beyond the driver's range puts the
    // quality, and the slider, at the nearest end.
    quality = StoredQuality(quality);
    ApplyQuality();
    qualitySlider.SetValue(SliderFromQuality(quality));
}

void StreamingWizard::ResetBrightness(WPARAM, LPARAM) {
    LoadDefaultBrightness();
    // The user's reset puts the slider at the default, or at the end of the
    // range nearest to it; that is what is sent and stored.
    brightness = BrightnessInRange(brightness);
    SendBrightness();
    brightnessSlider.SetValue(brightness);
}

void StreamingWizard::ApplyQuality() {
    StoreQuality();
    // Rebuild the preview: the driver reads the quality only when its graph is built.
    if (graph.Build()) {
        ApplyVolume();
    } else {
        graph.TearDown();
        SetPage(kFirstPage);
    }
}

LRESULT StreamingWizard::SendToAudioCombo(UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageA(GetDlgItem(hwnd, IDC_AUDIO_DEVICE), message, wParam, lParam);
}

void StreamingWizard::OnAudioDeviceSelected(WPARAM wParam, LPARAM) {
    if (HIWORD(wParam) != CBN_SELENDOK) {
        return;
    }
    int index = static_cast<int>(SendToAudioCombo(CB_GETCURSEL, 0, 0));
    // No selection, or an entry not of the program's: nothing to choose.
    char chosen[kDeviceNameSize];
    if (!IsListedAudioDevice(index, comboCount) || !ReadShownAudioDevice(index, chosen)) {
        return;
    }
    // In a closed list every arrow key reports a selection: the device that
    // already plays stays as it is.
    if (graph.GetVideoCaptureFilter() && TextEquals(chosen, graph.GetCurrentAudioDevice())) {
        return;
    }
    // The name shown is the choice: a rebuild since the list was filled may
    // have listed the devices in another order.
    graph.SetSelection(0);
    graph.SetPreferredAudioDevice(chosen);
    if (!graph.Build()) {
        // Silent: the page stays; the device of before leads the list again,
        // as the one Finish stores and the next rebuild takes.
        graph.TearDown();
        graph.SetPreferredAudioDevice(audioDevice);
        graph.ChooseAudioDevice();
        RefillAudioCombo();
        return;
    }
    RefillAudioCombo();
    CopyText(audioDevice, sizeof audioDevice, graph.GetCurrentAudioDevice());
    ApplyVolume();
    SetPage(1);
}

bool StreamingWizard::ReadShownAudioDevice(int index, char name[kDeviceNameSize]) {
    return ReadListText(
        name, kDeviceNameSize,
        [this, index] {
            return static_cast<long long>(SendToAudioCombo(CB_GETLBTEXTLEN, index, 0));
        },
        [this, index](char* buffer) {
            return static_cast<long long>(
                SendToAudioCombo(CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buffer)));
        });
}

void StreamingWizard::RefillAudioCombo() {
    // Only the program's own entries are taken out, from the front.
    for (int i = 0; i < comboCount; ++i) {
        SendToAudioCombo(CB_DELETESTRING, 0, 0);
    }
    comboCount = 0;
    for (int i = 0; i < graph.GetAudioDeviceCount(); ++i) {
        SendToAudioCombo(CB_INSERTSTRING, i, reinterpret_cast<LPARAM>(graph.GetAudioDeviceName(i)));
        ++comboCount;
    }
    SendToAudioCombo(CB_SETCURSEL, 0, 0);
}
