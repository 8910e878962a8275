// The deck buttons of the main window and the deck's status poll.
#include "app/streaming_wizard.h"

void StreamingWizard::OnPlay(WPARAM, LPARAM) {}

void StreamingWizard::OnPause(WPARAM, LPARAM) {}

void StreamingWizard::OnStop(WPARAM, LPARAM) {}

void StreamingWizard::OnFastForward(WPARAM, LPARAM) {}

void StreamingWizard::OnRewind(WPARAM, LPARAM) {}

void StreamingWizard::OnSearchRelease(WPARAM, LPARAM) {}
