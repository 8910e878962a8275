// A program linked like the release, with the release's own runtime and no C
// runtime at all, that writes what happens to it into a log beside itself:
// static construction, the run, heap and block-memory helpers, and the
// exit-time destruction. Its exit code is what RunProgram returns.
#include <windows.h>

#include <string.h>

#include "base/freestanding.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

HANDLE logFile = INVALID_HANDLE_VALUE;

void Record(const char* first, const char* second = "") {
    if (logFile == INVALID_HANDLE_VALUE) {
        char path[MAX_PATH + 8];
        DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
        lstrcpyA(path + length, ".log");
        logFile = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    }
    char line[128];
    int length = wsprintfA(line, "%s%s%s\n", first, *second ? " " : "", second);
    DWORD written;
    WriteFile(logFile, line, length, &written, NULL);
}

struct Recorder {
    explicit Recorder(const char* objectName) : name(objectName) { Record("construct", name); }
    ~Recorder() { Record("destroy", name); }
    const char* name;
};

Recorder first("first");
Recorder second("second");

void RegisteredAtRun() {
    Record("registered function");
}

int Sign(int value) {
    return value < 0 ? -1 : value > 0 ? 1 : 0;
}

// Sizes the compiler cannot see, so that the calls reach the runtime's own
// functions instead of inline code.
volatile size_t six = 6;
volatile size_t four = 4;

void TryBlockMemory() {
    char up[] = "abcdefgh";
    memmove(up + 2, up, six);
    char down[] = "abcdefgh";
    memmove(down, down + 2, six);
    char copied[9] = {};
    memcpy(copied, "wxyz", four + 1);
    char filled[] = "abcdefgh";
    memset(filled + 2, '*', four);
    char line[96];
    wsprintfA(line, "%s %s %s %s", up, down, copied, filled);
    Record("memory", line);
    wsprintfA(line, "%d %d %d", Sign(memcmp("abca", "abcb", four)),
              Sign(memcmp("abcb", "abca", four)), Sign(memcmp("abcd", "abcd", four)));
    Record("compare", line);
}

// Sixteen pages of locals: the compiler has the stack probed before use.
int UseDeepStack() {
    volatile char pages[16 * 4096];
    for (int offset = 0; offset < static_cast<int>(sizeof pages); offset += 4096) {
        pages[offset] = static_cast<char>(offset >> 12);
    }
    int sum = 0;
    for (int offset = 0; offset < static_cast<int>(sizeof pages); offset += 4096) {
        sum += pages[offset];
    }
    return sum;
}

} // namespace

int RunProgram(HINSTANCE module) {
    Record("run",
           module == reinterpret_cast<HINSTANCE>(&__ImageBase) ? "own module" : "wrong module");
    Recorder* onHeap = new Recorder("heap");
    delete onHeap;
    int* numbers = new int[1000];
    numbers[999] = 1;
    delete[] numbers;
    TryBlockMemory();
    char line[16];
    wsprintfA(line, "%d", UseDeepStack());
    Record("deep stack", line);
    static Recorder late("late");
    atexit(RegisteredAtRun);
    return 7;
}
