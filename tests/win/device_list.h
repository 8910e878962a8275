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
// Bound filter of the first device of a category with this name, or null.
IBaseFilter* BindDevice(REFCLSID category, const wchar_t* name);

#endif
