// Following the camera as it is plugged in and out.
#include "app/streaming_wizard.h"

#include "app/text.h"

void StreamingWizard::OnTimer(WPARAM, LPARAM) {}

void StreamingWizard::OnDeviceChange(WPARAM, LPARAM) {}

void StreamingWizard::OnGraphEvent(WPARAM, LPARAM) {}

int StreamingWizard::AttachCamera() {
    if (!graph.Build()) {
        graph.TearDown();
        SetPage(0);
        return 0;
    }
    SetPage(1);
    RefillAudioCombo();
    CopyText(audioDevice, sizeof audioDevice, graph.GetCurrentAudioDevice());
    return 1;
}
