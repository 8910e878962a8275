#include "wizard/keyboard_route.h"

#include "res/resource_ids.h"

const int kRouteOrder[kRouteLength] = {IDC_MINIMIZE,   IDC_CLOSE,
                                       IDC_STOP,       IDC_PLAY,
                                       IDC_PAUSE,      IDC_REWIND,
                                       IDC_FORWARD,    IDC_MUTE,
                                       IDC_VOLUME,     IDC_AUDIO_DEVICE,
                                       IDC_QUALITY,    IDC_QUALITY_RESET,
                                       IDC_BRIGHTNESS, IDC_BRIGHTNESS_RESET,
                                       IDC_PREV,       IDC_NEXT,
                                       IDC_CANCEL};

namespace {

int PlaceOnRoute(int controlId) {
    for (int i = 0; i < kRouteLength; ++i) {
        if (kRouteOrder[i] == controlId) {
            return i;
        }
    }
    return -1;
}

} // namespace

int NextOnRoute(int currentId, bool backward, const bool reachable[kRouteLength]) {
    int place = PlaceOnRoute(currentId);
    int step = backward ? kRouteLength - 1 : 1;
    if (place < 0) {
        place = backward ? 0 : kRouteLength - 1; // one step from here is the first or last
    }
    for (int i = 1; i <= kRouteLength; ++i) {
        int candidate = (place + i * step) % kRouteLength;
        if (reachable[candidate]) {
            return kRouteOrder[candidate];
        }
    }
    return 0;
}

int FocusAfterLayout(int focusedId, const bool reachable[kRouteLength]) {
    int place = PlaceOnRoute(focusedId);
    if (place < 0 || reachable[place]) {
        return focusedId;
    }
    return reachable[PlaceOnRoute(IDC_NEXT)] ? IDC_NEXT : 0;
}
