// Decisions of the preview graph that need no platform call.
#ifndef MORVANE_CAPTURE_GRAPH_RULES_H
#define MORVANE_CAPTURE_GRAPH_RULES_H

const long kEventErrorAbort = 3;
const long kEventDeviceLost = 31;

// A device of a category is taken when it carries the name asked for or
// stands at the position asked for; index counts every device listed before
// it, also those without a readable name.
bool TakesDevice(const char* friendlyName, const char* wantedName, int index, int position);

enum GraphEventFetch { kEventFetched, kEventTimedOut, kEventFetchFailed };

// Whether a graph event means the camera is gone: an abort, a lost device, or
// no event at all within the wait although one was announced.
bool IsCameraLost(GraphEventFetch fetch, long eventCode);

#endif
