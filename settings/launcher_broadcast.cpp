#include "settings/launcher_broadcast.h"

#include <windows.h>

void BroadcastToLauncher(const char* messageName) {
    UINT message = RegisterWindowMessageA(messageName);
    // Without a registered number there is nothing the launcher would know.
    if (message == 0) {
        return;
    }
    // The launcher may not be running: nobody needs to receive the broadcast.
    PostMessageA(HWND_BROADCAST, message, 0, 0);
}
