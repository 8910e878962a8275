// Following the camera as it is plugged in and out.
#include "app/streaming_wizard.h"

#include <dshow.h>

#include "app/text.h"
#include "camera/camera_link.h"
#include "res/resource_ids.h"

void StreamingWizard::OnTimer(WPARAM wParam, LPARAM) {
    if (wParam == TIMER_STATUS_POLL) {
        // The poll first, so that the re-sent command follows the state it set.
        PollStatus();
        SendPeriodicCommand();
    }
}

void StreamingWizard::OnDeviceChange(WPARAM, LPARAM) {}

void StreamingWizard::OnGraphEvent(WPARAM, LPARAM) {}

int StreamingWizard::AttachCamera() {
    if (!graph.Build()) {
        graph.TearDown();
        SetPage(0);
        PollStatus();
        return 0;
    }
    SetPage(1);
    // This poll still sees the link of before: none at the first attach.
    PollStatus();
    RefillAudioCombo();
    delete link;
    link = NULL;
    if (CameraLink::QueryCapability(graph.GetVideoCaptureFilter())) {
        link = new CameraLink();
    }
    SendBrightness();
    CopyText(audioDevice, sizeof audioDevice, graph.GetCurrentAudioDevice());
    return 1;
}
