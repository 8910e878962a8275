// Watching a process for leaks under Wine, where GetGuiResources and
// GetProcessHandleCount answer 0: Wine hands out the lowest free slot of its
// handle tables, so a probe object made after a warm-up and again after many
// more cycles gets the same slot, or a lower one when something of the
// warm-up was freed since, unless the cycles kept handles.
#ifndef MORVANE_TESTS_WIN_RESOURCE_WATCH_H
#define MORVANE_TESTS_WIN_RESOURCE_WATCH_H

#include <windows.h>

// Wine's video renderer holds a changing few dozen GDI objects while a
// preview comes and goes, a bare graph as much as the program's; a leak of
// one handle a cycle takes one slot for each of the 200 cycles.
const ULONG_PTR kSlotSlack = 32;

struct ResourceMark {
    ULONG_PTR gdiSlot;
    ULONG_PTR kernelSlot;
    SIZE_T privateBytes;
};

ResourceMark TakeResourceMark();

// Whether the cycles between two marks kept handles.
bool KeptHandles(const ResourceMark& before, const ResourceMark& after);

#endif
