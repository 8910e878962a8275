#include "base/windows_version.h"

#include <windows.h>

bool QueryWindowsVersion(WindowsVersion* version) {
    // The basic record of 148 bytes, which Windows 95 and NT 4 understand.
    static_assert(sizeof(OSVERSIONINFOA) == 148, "the basic version record");
    OSVERSIONINFOA info;
    ZeroMemory(&info, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) {
        return false;
    }
    version->platform = static_cast<int>(info.dwPlatformId);
    version->major = static_cast<int>(info.dwMajorVersion);
    version->minor = static_cast<int>(info.dwMinorVersion);
    return true;
}
