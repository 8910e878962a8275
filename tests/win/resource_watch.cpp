#include "tests/win/resource_watch.h"

#include <psapi.h>

ResourceMark TakeResourceMark() {
    ResourceMark mark;
    HGDIOBJ brush = CreateSolidBrush(RGB(1, 2, 3));
    mark.gdiSlot = reinterpret_cast<ULONG_PTR>(brush) & 0xFFFF;
    DeleteObject(brush);
    HANDLE event = CreateEventA(NULL, TRUE, FALSE, NULL);
    mark.kernelSlot = reinterpret_cast<ULONG_PTR>(event);
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
