// A Wine process seen from the host: under Wine every Windows process is an
// ordinary Linux process, whose /proc entry the benchmark reads through the
// Z: drive. Wine answers GetProcessTimes of another process with zeros, so
// the host's own accounting is the only CPU figure that means something.
#ifndef MORVANE_TESTS_BENCH_HOST_PROCESS_H
#define MORVANE_TESTS_BENCH_HOST_PROCESS_H

#include <string>

// The host's process id of the newest running program named `program`
// (such as "Morvane.exe") in this benchmark's Wine prefix; 0 when none is
// found. The prefix tells this run's programs from those of other runs on
// the same machine.
int FindHostProcess(const std::string& program);

// CPU time the host has charged to the process (all its threads, user and
// kernel), in seconds; negative when the host does not tell.
double HostCpuSeconds(int hostPid);

#endif
