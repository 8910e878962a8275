#include "base/windows_version.h"

#include <gtest/gtest.h>

TEST(WindowsVersion, OnlyWindows95_98AndMeCountAs9x) {
    const struct {
        WindowsVersion version;
        bool is9x;
    } cases[] = {
        {{1, 4, 0}, true},   {{1, 4, 10}, true},  {{1, 4, 90}, true},  {{1, 4, 3}, false},
        {{1, 4, 91}, false}, {{1, 5, 0}, false},  {{1, 3, 10}, false}, {{2, 4, 0}, false}, // NT 4
        {{2, 5, 1}, false},  {{0, 4, 10}, false},                                          // Win32s
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.is9x, IsWindows9x(c.version))
            << c.version.platform << " " << c.version.major << "." << c.version.minor;
    }
}
