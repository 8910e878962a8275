#include "wizard/keyboard_route.h"
#include "res/resource_ids.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

// Reachable: exactly the controls named.
struct Reachable {
    bool flags[kRouteLength] = {};
    Reachable(std::initializer_list<int> ids) {
        for (int id : ids) {
            for (int i = 0; i < kRouteLength; ++i) {
                flags[i] = flags[i] || kRouteOrder[i] == id;
            }
        }
    }
};

} // namespace

TEST(KeyboardRoute, TabWalksTheReachableControlsInReadingOrderBothWays) {
    const Reachable page2 = {IDC_MINIMIZE, IDC_CLOSE,  IDC_STOP,    IDC_PLAY,
                             IDC_MUTE,     IDC_VOLUME, IDC_QUALITY, IDC_QUALITY_RESET,
                             IDC_PREV,     IDC_NEXT,   IDC_CANCEL};
    const struct {
        int from;
        bool backward;
        int to;
    } cases[] = {
        {0, false, IDC_MINIMIZE},
        {0, true, IDC_CANCEL},
        {IDC_MINIMIZE, false, IDC_CLOSE},
        {IDC_MINIMIZE, true, IDC_CANCEL},
        {IDC_CANCEL, false, IDC_MINIMIZE},
        {IDC_PLAY, false, IDC_MUTE}, // the disabled skipped
        {IDC_VOLUME, false, IDC_QUALITY},
        {IDC_QUALITY_RESET, false, IDC_PREV},
        {IDC_PREV, true, IDC_QUALITY_RESET},
        {IDC_MUTE, true, IDC_PLAY},
        {IDC_PAUSE, false, IDC_MUTE}, // from a control no longer reachable
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.to, NextOnRoute(c.from, c.backward, page2.flags)) << c.from << c.backward;
    }
    const Reachable none = {};
    EXPECT_EQ(0, NextOnRoute(IDC_NEXT, false, none.flags));
    const Reachable one = {IDC_CANCEL};
    EXPECT_EQ(IDC_CANCEL, NextOnRoute(IDC_CANCEL, true, one.flags));
}

TEST(KeyboardRoute, AControlAPageHidesHandsTheFocusToNextOrToNone) {
    const Reachable page1 = {IDC_CLOSE, IDC_AUDIO_DEVICE, IDC_NEXT, IDC_CANCEL};
    const Reachable page0 = {IDC_CLOSE, IDC_CANCEL};
    const struct {
        int focused;
        const Reachable& reachable;
        int after;
    } cases[] = {
        {0, page1, 0}, // no focus: none is set
        {IDC_PREV, page1, IDC_NEXT},
        {IDC_QUALITY_RESET, page1, IDC_NEXT},
        {IDC_AUDIO_DEVICE, page1, IDC_AUDIO_DEVICE},
        {IDC_NEXT, page0, 0}, // never to Cancel, which the next Enter would press
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.after, FocusAfterLayout(c.focused, c.reachable.flags)) << c.focused;
    }
}
