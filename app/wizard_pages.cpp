// The wizard pages and the settings controls of the main window.
#include "app/streaming_wizard.h"

void StreamingWizard::OnNext(WPARAM, LPARAM) {}

void StreamingWizard::OnPrev(WPARAM, LPARAM) {}

void StreamingWizard::EndWizard(WPARAM, LPARAM) {}

void StreamingWizard::OnSliderScroll(WPARAM, LPARAM) {}

void StreamingWizard::ToggleMute(WPARAM, LPARAM) {}

void StreamingWizard::ResetQuality(WPARAM, LPARAM) {}

void StreamingWizard::ResetBrightness(WPARAM, LPARAM) {}

void StreamingWizard::OnAudioDeviceSelected(WPARAM, LPARAM) {}
