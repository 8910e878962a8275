#include "app/text.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(Text, CopyCutsAtCapacityAndAlwaysTerminates) {
    char buffer[6];
    std::memset(buffer, 'x', sizeof buffer);
    CopyText(buffer, sizeof buffer, "Orvelle Audio");
    EXPECT_STREQ("Orvel", buffer);

    CopyText(buffer, sizeof buffer, nullptr);
    EXPECT_STREQ("", buffer);
}

TEST(Text, CopyNeverWritesPastTheBuffer) {
    char buffer[8];
    std::memset(buffer, '#', sizeof buffer);
    CopyText(buffer, 3, "abcdef");
    EXPECT_STREQ("ab", buffer);
    EXPECT_EQ('#', buffer[3]);
}

TEST(Text, EqualityIsByteForByteAndCaseSensitive) {
    EXPECT_TRUE(TextEquals("Orvelle Audio", "Orvelle Audio"));
    EXPECT_FALSE(TextEquals("Orvelle Audio", "orvelle audio"));
    EXPECT_FALSE(TextEquals("Orvelle", "Orvelle Audio"));
    EXPECT_FALSE(TextEquals("Orvelle Audio", "Orvelle"));
    EXPECT_TRUE(TextEquals("", ""));
    EXPECT_EQ(0, TextLength(nullptr));
    EXPECT_EQ(13, TextLength("Orvelle Audio"));
}
