// Which Windows the program runs on, where a rule depends on it. Platform-free.
#ifndef MORVANE_BASE_WINDOWS_VERSION_H
#define MORVANE_BASE_WINDOWS_VERSION_H

struct WindowsVersion {
    int platform; // 1: Windows 95, 98 and Me; 2: the NT family
    int major;
    int minor;
};

// Windows 95 (4.0), 98 (4.10) or Me (4.90).
bool IsWindows9x(const WindowsVersion& version);

// Windows XP (NT 5.1) and nothing else: not 2000, not Server 2003.
bool IsWindowsXp(const WindowsVersion& version);

// Asks the system (GetVersionExA); false when it does not answer. Part of the
// shell: app/windows_version_query.cpp.
bool QueryWindowsVersion(WindowsVersion* version);

#endif
