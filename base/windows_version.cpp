#include "base/windows_version.h"

namespace {

const int kPlatformWindows = 1;
const int kPlatformNt = 2;

} // namespace

bool IsWindows9x(const WindowsVersion& version) {
    return version.platform == kPlatformWindows && version.major == 4 &&
           (version.minor == 0 || version.minor == 10 || version.minor == 90);
}

bool IsWindowsXp(const WindowsVersion& version) {
    return version.platform == kPlatformNt && version.major == 5 && version.minor == 1;
}
