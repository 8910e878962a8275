// The release's own runtime, in place of the C and C++ runtimes that Windows 95
// lacks: the process entry, the exit-time list, new and delete over the
// process heap, and the stack probe. The block-memory helpers the compiler calls are in
// freestanding_memory.c.
#include <windows.h>

#include "base/freestanding.h"

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

// A function with more than a page of locals calls the stack probe with the
// size in EAX (RAX) before moving its stack pointer down that far. The probe
// touches the pages below the caller's stack pointer one by one, from the top,
// so that the guard page below the stack grows it a page at a time, and keeps
// every register.
#if defined(__i386__)
#define PROBE_OP(op) #op "l "
#define PROBE_SIZE "%eax"
#define PROBE_PAGE "%ecx"
#define PROBE_CALLER_SP "12(%esp)"
#else
#define PROBE_OP(op) #op "q "
#define PROBE_SIZE "%rax"
#define PROBE_PAGE "%rcx"
#define PROBE_CALLER_SP "24(%rsp)"
#endif
// clang-format off
asm(".text\n"
    ".globl ___chkstk_ms\n"
    "___chkstk_ms:\n"
    PROBE_OP(push) PROBE_PAGE "\n"
    PROBE_OP(push) PROBE_SIZE "\n"
    PROBE_OP(lea) PROBE_CALLER_SP ", " PROBE_PAGE "\n"
    "1:\n"
    PROBE_OP(cmp) "$0x1000, " PROBE_SIZE "\n"
    "jb 2f\n"
    PROBE_OP(sub) "$0x1000, " PROBE_PAGE "\n"
    PROBE_OP(or) "$0, (" PROBE_PAGE ")\n"
    PROBE_OP(sub) "$0x1000, " PROBE_SIZE "\n"
    "jmp 1b\n"
    "2:\n"
    PROBE_OP(sub) PROBE_SIZE ", " PROBE_PAGE "\n"
    PROBE_OP(or) "$0, (" PROBE_PAGE ")\n"
    PROBE_OP(pop) PROBE_SIZE "\n"
    PROBE_OP(pop) PROBE_PAGE "\n"
    "ret\n");
// clang-format on

// The product is built with -fcheck-new: a failed allocation yields a null
// pointer that the caller checks, and no constructor runs on it.
void* operator new(size_t size) {
    return HeapAlloc(GetProcessHeap(), 0, size);
}
void* operator new[](size_t size) {
    return operator new(size);
}

void operator delete(void* block) noexcept {
    if (block) {
        HeapFree(GetProcessHeap(), 0, block);
    }
}

void operator delete[](void* block) noexcept {
    operator delete(block);
}
void operator delete(void* block, size_t) noexcept {
    operator delete(block);
}
void operator delete[](void* block, size_t) noexcept {
    operator delete(block);
}
