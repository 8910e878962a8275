#include "base/text.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/unit/shift_jis.h"

TEST(Text, CopyCutsAtCapacityAndAlwaysTerminates) {
    char buffer[6];
    std::memset(buffer, 'x', sizeof buffer);
    CopyText(buffer, sizeof buffer, "Orvelle Audio");
    EXPECT_STREQ("Orvel", buffer);

    CopyText(buffer, sizeof buffer, nullptr);
    EXPECT_STREQ("", buffer);
}

TEST(Text, CopyNeverWritesPastTheBuffer) {
    const struct {
        int capacity;
        const char* kept; // null: nothing written at all
    } cases[] = {{3, "ab"}, {1, ""}, {0, nullptr}};
    for (const auto& c : cases) {
        for (bool whole : {false, true}) {
            char buffer[8];
            std::memset(buffer, '#', sizeof buffer);
            if (whole) {
                CopyWholeCharacters(buffer, c.capacity, "abcdef", ShiftJisLead);
            } else {
                CopyText(buffer, c.capacity, "abcdef");
            }
            if (c.kept) {
                EXPECT_STREQ(c.kept, buffer) << c.capacity;
            }
            EXPECT_EQ('#', buffer[c.capacity]) << c.capacity << (whole ? " whole" : "");
        }
    }
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

TEST(Text, ACutTextEndsWithAWholeCharacter) {
    const struct {
        const char* source;
        int capacity;
        const char* copied;
    } cases[] = {
        {"ab\x82\xA0", 4, "ab"},             // the lead byte would be last
        {"ab\x82\xA0", 5, "ab\x82\xA0"},     // the whole character fits
        {"a\x82\\b", 4, "a\x82\\"},          // a trail byte like a backslash
        {"\x82\xA0\x82\xA1", 4, "\x82\xA0"}, // two characters, room for one
        {"abc\x82", 8, "abc"},               // a lead byte without its trail
        {"abcdef", 4, "abc"},                // single bytes as CopyText
        {nullptr, 4, ""},
    };
    for (const auto& c : cases) {
        char buffer[9];
        std::memset(buffer, '#', sizeof buffer);
        CopyWholeCharacters(buffer, c.capacity, c.source, ShiftJisLead);
        EXPECT_STREQ(c.copied, buffer) << c.capacity;
        EXPECT_EQ('#', buffer[c.capacity]) << "written past the buffer";
    }
}

// A list answers the length of an entry and then copies it; in a double-byte
// code page either answer may be more than the text's length.
TEST(Text, AListEntryIsReadWhenItsCopySucceedsWithinTheBuffer) {
    const struct {
        long long announced;
        long long copied;
        bool read;
        bool copies;
    } cases[] = {
        {13, 13, true, true},    // both exact
        {20, 13, true, true},    // the announced length more than the text
        {13, 15, true, true},    // the copy's length more than announced
        {259, 259, true, true},  // the longest that fits
        {-1, 13, false, false},  // no such entry
        {260, 13, false, false}, // the copy might not fit: never made
        {13, -1, false, true},   // the copy failed
        {13, 260, false, true},  // a copy beyond the buffer
    };
    for (const auto& c : cases) {
        char buffer[261];
        std::memset(buffer, '#', sizeof buffer);
        int copies = 0;
        bool read = ReadListText(
            buffer, 260, [&] { return c.announced; },
            [&](char* into) {
                ++copies;
                std::memcpy(into, "Orvelle Audio", 14);
                return c.copied;
            });
        EXPECT_EQ(c.read, read) << c.announced << " " << c.copied;
        EXPECT_EQ(c.copies ? 1 : 0, copies) << c.announced << " " << c.copied;
        if (read) {
            EXPECT_STREQ("Orvelle Audio", buffer);
        }
        EXPECT_EQ('#', buffer[260]) << "written past the buffer";
    }
}
