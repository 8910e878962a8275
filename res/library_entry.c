/* Entry point of the resource string library: it holds only resources, so
   there is nothing to set up when it is loaded. */
#include <windows.h>

BOOL WINAPI LibraryEntry(HINSTANCE module, DWORD reason, LPVOID reserved) {
    (void)module;
    (void)reason;
    (void)reserved;
    return TRUE;
}
