#include "tests/win/resource_watch.h"

#include <psapi.h>

ResourceMark TakeResourceMark() {
    ResourceMark mark;
    HGDIOBJ brush = CreateSolidBrush(RGB(1, 2, 3));
    mark.gdiSlot = reinterpret_cast<ULONG_PTR>(brush) & 0xFFFF;
    DeleteObject(brush);
    HANDLE event = CreateEventA(NULL, TRUE, FALSE, NULL);
    mark.kernelSlot = reinterpret_cast<ULONG_PTR>(event) / 4; // handles come in steps of 4
    CloseHandle(event);
    // The committed private memory: what a leak of heap blocks makes grow.
    PROCESS_MEMORY_COUNTERS memory;
    ZeroMemory(&memory, sizeof memory);
    memory.cb = sizeof memory;
    mark.privateBytes = 0;
    if (GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory)) {
        mark.privateBytes = memory.PagefileUsage;
    }
    return mark;
}

bool KeptHandles(const ResourceMark& before, const ResourceMark& after) {
    return after.gdiSlot > before.gdiSlot + kSlotSlack ||
           after.kernelSlot > before.kernelSlot + kSlotSlack;
}
