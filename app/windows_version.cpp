#include "app/windows_version.h"

namespace {

const int kPlatformWindows = 1;

} // namespace

bool IsWindows9x(const WindowsVersion& version) {
    return version.platform == kPlatformWindows && version.major == 4 &&
           (version.minor == 0 || version.minor == 10 || version.minor == 90);
}
