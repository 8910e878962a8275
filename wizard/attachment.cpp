// Following the camera as it is plugged in and out.
#include "wizard/streaming_wizard.h"

#include <dshow.h>

#include "base/text.h"
#include "base/windows_version.h"
#include "camera/attachment_rules.h"
#include "camera/camera_link.h"
#include "res/resource_ids.h"
#include "settings/registry_store.h"
#include "settings/settings_store.h"

namespace {

// The driver needs a moment after a device arrives before its graph builds,
// and arrivals come in bursts: the attach waits for 3 s of quiet.
const UINT kReattachDelayMs = 3000;

bool RunsOnWindowsXp() {
    WindowsVersion version;
    return QueryWindowsVersion(&version) && IsWindowsXp(version);
}

} // namespace

void StreamingWizard::OnDeviceChange(WPARAM wParam, LPARAM lParam) {
    // A removal needs nothing here: the lost camera reaches the program as a
    // graph event.
    if (ReadDeviceChange(static_cast<unsigned long>(wParam),
                         reinterpret_cast<const void*>(lParam)) == kCaptureArrival) {
        ArmReattachTimer();
    }
}

void StreamingWizard::ArmReattachTimer() {
    // Each arrival starts the wait afresh.
    CancelReattachTimer();
    SetTimer(hwnd, TIMER_REATTACH, kReattachDelayMs, NULL);
    arrivalTimerActive = 1;
}

void StreamingWizard::CancelReattachTimer() {
    if (arrivalTimerActive) {
        KillTimer(hwnd, TIMER_REATTACH);
    }
    arrivalTimerActive = 0;
}

void StreamingWizard::OnTimer(WPARAM wParam, LPARAM) {
    switch (ChooseTimerAction(static_cast<unsigned long>(wParam), page)) {
    case kTimerPollStatus:
        // The poll first, so that the re-sent command follows the state it set.
        PollStatus();
        SendPeriodicCommand();
        break;
    case kTimerAttach:
        ReattachCamera();
        break;
    case kTimerRedetectAudio:
        RedetectAudio();
        break;
    case kTimerIgnored:
        break;
    }
}

void StreamingWizard::ReattachCamera() {
    if (AttachCamera()) {
        SetPage(kAttachedPage);
    }
    CancelReattachTimer();
}

void StreamingWizard::RedetectAudio() {
    int appeared = graph.RedetectAudioDevices();
    ApplyVolume(); // the rebuilt preview plays at the chosen volume, or stays muted
    RefillAudioCombo();
    if (page != kAttachedPage) {
        SetPage(kAttachedPage);
    }
    CancelReattachTimer();
    // The list shows the device the preview now takes selected: Finish
    // stores that one.
    CopyText(audioDevice, sizeof audioDevice, graph.GetCurrentAudioDevice());
    if (StoresNewAudioDevice(appeared, RunsOnWindowsXp())) {
        // Stored at once, so that Cancel keeps the new device too.
        CopyText(savedAudioDevice, sizeof savedAudioDevice, audioDevice);
        RegistryStore::WriteString(kSharedKey, kAudioDeviceValue, audioDevice); // silent
    }
}

void StreamingWizard::OnGraphEvent(WPARAM, LPARAM lParam) {
    if (DetachesOnGraphEvent(graph.CheckGraphEvent(lParam), page)) {
        DetachCamera();
    }
}

int StreamingWizard::AttachCamera() {
    if (!graph.Build()) {
        // Silent: page 0 says it; a link of an earlier attach stays.
        graph.TearDown();
        SetPage(kNoCameraPage);
        PollStatus();
        return 0;
    }
    SetPage(kAttachedPage);
    PollStatus(); // still with the link of before: none at the first attach
    RefillAudioCombo();
    delete link;
    link = NULL;
    if (CameraLink::QueryCapability(graph.GetVideoCaptureFilter())) {
        // A failed allocation leaves link null (the release checks every
        // new): the preview then runs without camera control.
        link = new CameraLink;
    }
    SendBrightness();
    CopyText(audioDevice, sizeof audioDevice, graph.GetCurrentAudioDevice());
    ApplyVolume(); // the new preview plays at the chosen volume, or stays muted
    return 1;
}

void StreamingWizard::DetachCamera() {
    if (page != kNoCameraPage) {
        graph.TearDown();
        SetPage(kNoCameraPage);
    }
    for (int i = 0; i < comboCount; ++i) {
        SendToAudioCombo(CB_DELETESTRING, 0, 0);
    }
    comboCount = 0;
    delete link;
    link = NULL;
    // A search held while the camera went away has ended with it; left set,
    // it would hold back the periodic command of the next camera for good.
    searching = 0;
}
