// Following the camera as it is plugged in and out.
#include "app/streaming_wizard.h"

void StreamingWizard::OnTimer(WPARAM, LPARAM) {}

void StreamingWizard::OnDeviceChange(WPARAM, LPARAM) {}

void StreamingWizard::OnGraphEvent(WPARAM, LPARAM) {}

int StreamingWizard::AttachCamera() {
    if (!graph.Build()) {
        graph.TearDown();
        return 0;
    }
    return 1;
}
