// The keyboard's way through the main window: Tab and Shift+Tab walk the
// controls in reading order. Platform-free.
#ifndef MORVANE_WIZARD_KEYBOARD_ROUTE_H
#define MORVANE_WIZARD_KEYBOARD_ROUTE_H

// The controls in reading order: the title bar's buttons, the deck's row,
// the page's setting and its reset, then Prev, Next and Cancel.
const int kRouteLength = 17;
extern const int kRouteOrder[kRouteLength];

// The control after currentId on the route (before it when backward),
// wrapping round and skipping those not reachable (reachable[i] tells it for
// kRouteOrder[i]). From a control off the route (none focused yet) the walk
// starts at the first, or going backward the last. 0 when none is reachable.
int NextOnRoute(int currentId, bool backward, const bool reachable[kRouteLength]);

// Where the focus goes when a page is laid out or the window is activated: it
// stays on a control still reachable, and a control the page hid or disabled
// hands it to Next, or when Next is not reachable to no control (0), never to
// Cancel or Close, which the next Enter would press. focusedId is 0 when no
// control has the focus: then none gets it.
int FocusAfterLayout(int focusedId, const bool reachable[kRouteLength]);

#endif
