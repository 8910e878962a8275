// The release's own runtime, in place of the C and C++ runtimes that Windows 95
// lacks: the process entry, the exit-time list, and new and delete over the
// process heap. The block-memory helpers the compiler calls are in
// freestanding_memory.c.
#include <windows.h>

#include "app/startup.h"

namespace {

// One registration of atexit. Nodes are pushed on the front, so walking from
// the head runs the functions in the reverse order of their registration.
struct ExitNode {
    void (*function)();
    ExitNode* next;
};

ExitNode* exitList = NULL;

typedef void (*StaticConstructor)();

// Runs the dynamic initialisers of static objects. The linker brackets the
// .ctors entries between a leading -1 and a trailing 0; they run from the last
// entry to the first, which constructs the objects of each file in the order
// they are defined.
void ConstructStatics(StaticConstructor* list) {
    int count = 0;
    while (list[count + 1]) {
        ++count;
    }
    for (int index = count; index >= 1; --index) {
        list[index]();
    }
}

void RunExitList() {
    while (exitList) {
        ExitNode* node = exitList;
        exitList = node->next;
        node->function();
        HeapFree(GetProcessHeap(), 0, node);
    }
}

} // namespace

extern "C" {

extern StaticConstructor __CTOR_LIST__[];

int atexit(void (*function)()) {
    ExitNode* node = static_cast<ExitNode*>(HeapAlloc(GetProcessHeap(), 0, sizeof(ExitNode)));
    if (!node) {
        return -1;
    }
    node->function = function;
    node->next = exitList;
    exitList = node;
    return 0;
}

// The process starts here: the module handle is the program's own image, the
// command line and show flag are not used, and the exit code is RunProgram's.
void ProgramEntry() {
    ConstructStatics(__CTOR_LIST__);
    int exitCode = RunProgram(GetModuleHandleA(NULL));
    RunExitList();
    ExitProcess(static_cast<UINT>(exitCode));
}

} // extern "C"

// The product is built with -fcheck-new: a failed allocation yields a null
// pointer that the caller checks, and no constructor runs on it.
void* operator new(size_t size) { return HeapAlloc(GetProcessHeap(), 0, size); }
void* operator new[](size_t size) { return HeapAlloc(GetProcessHeap(), 0, size); }

void operator delete(void* block) noexcept {
    if (block) {
        HeapFree(GetProcessHeap(), 0, block);
    }
}

void operator delete[](void* block) noexcept { operator delete(block); }
void operator delete(void* block, size_t) noexcept { operator delete(block); }
void operator delete[](void* block, size_t) noexcept { operator delete(block); }
