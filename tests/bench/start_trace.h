// The parts of a program's start, read from outside: Wine's relay channel
// writes a time-stamped line for every call of the listed functions, so the
// program itself carries no timing code. Only calls made by the program's
// own module count.
#ifndef MORVANE_TESTS_BENCH_START_TRACE_H
#define MORVANE_TESTS_BENCH_START_TRACE_H

#include <windows.h>

#include <string>
#include <vector>

struct TracedCall {
    DWORD tick; // GetTickCount's clock, in ms
    bool isReturn;
    std::string function;  // without its library, such as "ShowWindow"
    std::string arguments; // as the trace prints them
};

// Where one part of the start ends: the first call (or return) of
// `function` after the previous boundary whose arguments contain
// `argumentsContain`.
struct Boundary {
    const char* part;
    const char* function;
    bool atReturn;
    const char* argumentsContain;
};

struct StartPart {
    std::string name;
    double ms;
};

// While it lives, the programs started by this process write Wine's relay
// trace of `functions` (separated by ';') to their standard error. Wine
// hands a child the host's standard error of its parent whatever the child
// is given, so scripts/bench sends the benchmark's own to a log and names
// it in MORVANE_BENCH_LOG; the trace is read from there.
class StartTrace {
  public:
    explicit StartTrace(const char* functions);
    ~StartTrace();
    StartTrace(const StartTrace&) = delete;
    StartTrace& operator=(const StartTrace&) = delete;

    // Why calls cannot be traced here; empty when they can.
    const std::string& Unavailable() const { return unavailable; }
    // The calls traced since construction.
    std::vector<TracedCall> Calls() const;

  private:
    std::string log;
    size_t logStart = 0;
    std::string unavailable;
};

// The parts between `start`, the boundaries in order and `end`: the part
// named by each boundary ends there, the last part (named `lastPart`) at
// `end`. Time spent inside calls of `setApart` is taken out of the parts and
// given as a part of its own, named `setApartName`. Empty when a boundary
// is missing from the trace.
std::vector<StartPart> SplitStart(const std::vector<TracedCall>& calls, DWORD start,
                                  const std::vector<Boundary>& boundaries, DWORD end,
                                  const char* lastPart, const char* setApart,
                                  const char* setApartName);

#endif
