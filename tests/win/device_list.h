// The devices of a capture category through the system device enumerator,
// without GoogleTest: shared by the camsim tests and the bare preview program,
// which is built for the win32 release too.
#ifndef TESTS_WIN_DEVICE_LIST_H
#define TESTS_WIN_DEVICE_LIST_H

#include <windows.h>
#include <dshow.h>

#include <string>
#include <vector>

// One device of a category: its friendly name, or none.
struct ListedDevice {
    bool hasName;
    std::wstring name;
};
// The devices of a category; empty also when the enumerator cannot be made.
std::vector<ListedDevice> ListCategory(REFCLSID category);
// Names of the machine's own audio capture devices (a sound server's input
// and monitor), in their order: every audio device that is not camsim's.
std::vector<std::wstring> MachineAudioDevices();
// The same in the ANSI code page, as a program's list shows them, for a
// caller that has not initialised COM.
std::vector<std::string> MachineAudioDeviceNames();
// Bound filter of the first device of a category with this name, or null.
IBaseFilter* BindDevice(REFCLSID category, const wchar_t* name);

#endif
