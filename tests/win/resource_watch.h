// Watching a process for leaks under Wine, where GetGuiResources and
// GetProcessHandleCount answer 0: Wine hands out the lowest free slot of its
// handle tables, so a probe object made after a warm-up and again after many
// more cycles gets the same slot, or a lower one when something of the
// warm-up was freed since, unless the cycles kept handles.
#ifndef MORVANE_TESTS_WIN_RESOURCE_WATCH_H
#define MORVANE_TESTS_WIN_RESOURCE_WATCH_H

#include <windows.h>

// Wine's own caches may take a few slots on the way; a leak of one handle a
// cycle takes one for each of the many cycles.
const ULONG_PTR kSlotSlack = 8;

struct ResourceMark {
    ULONG_PTR gdiSlot;
    ULONG_PTR kernelSlot;
    SIZE_T privateBytes;
};

ResourceMark TakeResourceMark();

// Whether the cycles between two marks kept handles.
bool KeptHandles(const ResourceMark& before, const ResourceMark& after);

#endif
