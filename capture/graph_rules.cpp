#include "capture/graph_rules.h"

#include "base/text.h"

bool TakesDevice(const char* friendlyName, const char* wantedName, int index, int position) {
    return TextEquals(friendlyName, wantedName) || index == position;
}

bool IsCameraLost(GraphEventFetch fetch, long eventCode) {
    switch (fetch) {
    case kEventTimedOut:
        return true;
    case kEventFetched:
        return eventCode == kEventErrorAbort || eventCode == kEventDeviceLost;
    case kEventFetchFailed:
        return false;
    }
    return false;
}
