// The sibling launcher listens for two registered window messages, broadcast
// to every top-level window with both parameters 0.
#ifndef MORVANE_SETTINGS_LAUNCHER_BROADCAST_H
#define MORVANE_SETTINGS_LAUNCHER_BROADCAST_H

// Posted when a first run starts.
const char kShowIconMessage[] = "Lumet Show Icon";
// Posted when a first run ends through Finish, Cancel or the title-bar close.
const char kShowNormalMessage[] = "Lumet Show Normal";

// Posts the message registered under messageName to HWND_BROADCAST.
void BroadcastToLauncher(const char* messageName);

#endif
