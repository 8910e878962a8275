// The about box, opened from the logo in the window's top-left corner.
#include "app/streaming_wizard.h"

void StreamingWizard::OpenAboutBox() {}
