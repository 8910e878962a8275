// Texts of a resource library copied into the program's fixed fields: cut to
// fit, always terminated, never written past.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/library_text.h"

namespace {

const int kLongText = 1;  // 300 letters, A to Z over and over
const int kShortText = 2; // "Short"
const int kMissingText = 77;

std::string Letters(size_t count) {
    std::string letters;
    for (size_t i = 0; i < count; ++i) {
        letters += static_cast<char>('A' + i % 26);
    }
    return letters;
}

// A field with guard bytes behind it that a copy must leave alone.
template <int Capacity> struct GuardedField {
    char field[Capacity];
    char guard[16];
    GuardedField() {
        memset(field, '#', sizeof field);
        memset(guard, '!', sizeof guard);
    }
    bool GuardIntact() const {
        for (char c : guard) {
            if (c != '!') {
                return false;
            }
        }
        return true;
    }
};

HMODULE ThisModule() {
    return GetModuleHandleA(nullptr);
}

} // namespace

TEST(LibraryText, ALongTextIsCutToEachFieldAndTerminated) {
    GuardedField<32> note;
    LoadLibraryText(ThisModule(), kLongText, note.field, sizeof note.field);
    EXPECT_EQ(Letters(31), note.field);
    EXPECT_TRUE(note.GuardIntact());

    GuardedField<256> heading;
    LoadLibraryText(ThisModule(), kLongText, heading.field, sizeof heading.field);
    EXPECT_EQ(Letters(255), heading.field);
    EXPECT_TRUE(heading.GuardIntact());

    // The body field is larger than a load: the load's limit cuts instead.
    GuardedField<1024> body;
    LoadLibraryText(ThisModule(), kLongText, body.field, sizeof body.field);
    EXPECT_EQ(Letters(kLibraryTextSize - 1), body.field);
    EXPECT_TRUE(body.GuardIntact());
}

TEST(LibraryText, AShortTextIsCopiedWhole) {
    GuardedField<32> note;
    LoadLibraryText(ThisModule(), kShortText, note.field, sizeof note.field);
    EXPECT_STREQ("Short", note.field);
}

TEST(LibraryText, NoTextOrAMissingOneEmptiesTheField) {
    for (int id : {0, kMissingText}) {
        GuardedField<32> note;
        LoadLibraryText(ThisModule(), id, note.field, sizeof note.field);
        EXPECT_STREQ("", note.field) << id;
        EXPECT_TRUE(note.GuardIntact()) << id;
    }
}
