// Which device a lookup takes, which graph events lose the camera, and how a
// friendly name is cut to fit.
#include <gtest/gtest.h>

#include <string>

#include "capture/graph_rules.h"
#include "capture/name_conversion.h"

TEST(DeviceLookup, TakesTheNamedDeviceOrTheOneAtThePosition) {
    const struct {
        const char* name;
        int index;
        bool taken;
    } cases[] = {
        {"Orvelle Video", 0, true},  {"Orvelle Video2", 0, false}, {"orvelle video", 3, false},
        {"Orvelle Vide", 15, false}, {"Other", 16, true},          {"Other", 17, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.taken, TakesDevice(c.name, "Orvelle Video", c.index, 16)) << c.name << c.index;
    }
}

TEST(GraphEvent, AbortLostDeviceAndASilentWaitLoseTheCamera) {
    const struct {
        GraphEventFetch fetch;
        long code;
        bool lost;
    } cases[] = {
        {kEventFetched, 3, true},      {kEventFetched, 31, true}, {kEventFetched, 1, false},
        {kEventFetched, 13, false},    {kEventTimedOut, 0, true}, {kEventFetchFailed, 31, false},
        {kEventFetchFailed, 0, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.lost, IsCameraLost(c.fetch, c.code)) << c.fetch << " " << c.code;
    }
}

namespace {

// A double-byte code page in miniature: every unit above 0x7F takes two bytes,
// a surrogate pair (one character) two as well.
int TwoBytesAboveAscii(const char16_t* units, int count) {
    return count == 2 || units[0] > 0x7F ? 2 : 1;
}

int Fit(const std::u16string& text, int capacity) {
    return FittingPrefixUnits(text.c_str(), capacity, TwoBytesAboveAscii);
}

} // namespace

TEST(FriendlyNameCut, KeepsNamesThatFitWhole) {
    EXPECT_EQ(0, Fit(u"", 260));
    EXPECT_EQ(13, Fit(u"Orvelle Audio", 260));
    EXPECT_EQ(259, Fit(std::u16string(259, u'a'), 260));
}

TEST(FriendlyNameCut, CutsAtACharacterBoundaryLeavingRoomForTheZero) {
    EXPECT_EQ(259, Fit(std::u16string(300, u'a'), 260));
    // 129 double-byte characters fill 258 bytes; the 130th would need 260.
    EXPECT_EQ(129, Fit(std::u16string(200, u'\x6F22'), 260));
    // One byte left after 258: the next double-byte character is left out,
    // a single-byte one still fits.
    EXPECT_EQ(129, Fit(std::u16string(129, u'\x6F22') + u"\x6F22", 260));
    EXPECT_EQ(130, Fit(std::u16string(129, u'\x6F22') + u"a", 260));
}

TEST(FriendlyNameCut, NeverSplitsASurrogatePair) {
    std::u16string pair = u"\xD83D\xDE00";
    // 258 single bytes leave one byte: the pair (two bytes) does not fit and
    // neither of its halves is taken.
    EXPECT_EQ(258, Fit(std::u16string(258, u'a') + pair, 260));
    EXPECT_EQ(259, Fit(std::u16string(257, u'a') + pair, 260));
    // A lone high surrogate counts as a character of its own.
    EXPECT_EQ(2, Fit(u"\xD83D"
                     u"a",
                     260));
}
