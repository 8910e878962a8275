// Watching a process for leaks under Wine, where GetGuiResources and
// GetProcessHandleCount answer 0: Wine hands out the lowest free slot of its
// handle tables, so a probe object made after a warm-up and again after many
// more cycles gets the same slot, or a lower one when something of the
// warm-up was freed since, unless the cycles kept handles.
#ifndef MORVANE_TESTS_WIN_RESOURCE_WATCH_H
#define MORVANE_TESTS_WIN_RESOURCE_WATCH_H

#include <windows.h>

struct ResourceMark {
    ULONG_PTR gdiSlot;
    ULONG_PTR kernelSlot;
    SIZE_T privateBytes;
};

ResourceMark TakeResourceMark();

#endif
