// What a process holds, read from outside: its kernel handles and committed
// memory, next to the handles Wine itself leaves for each preview graph. The
// benchmark prints them; the long soaks bound them the same way.
#ifndef MORVANE_TESTS_SYSTEM_PROCESS_CENSUS_H
#define MORVANE_TESTS_SYSTEM_PROCESS_CENSUS_H

#include <windows.h>
#include <psapi.h>

#include <stdint.h>
#include <stdexcept>
#include <string>

#include "simulated_camera.h"
#include "sound_meter.h"

// Frames shown between two rebuilds, as a user looks before the next step
// (200 ms of one preview).
const uint32_t kFramesBetweenRebuilds = 6;

// A measurement that cannot go on: a program that does not start, a step it
// does not take. Its figures read "not measured", with the reason.
class MeasurementStopped : public std::runtime_error {
  public:
    explicit MeasurementStopped(const std::string& why) : std::runtime_error(why) {}
};

struct HandleCensus {
    long total = -1;         // -1: the system does not tell
    long enumeratorKeys = 0; // left open by Wine's device enumerator
    long Own() const { return total - enumeratorKeys; }
};

// The kernel handles a process holds, from the system's handle table.
HandleCensus CountHandles(HANDLE process, DWORD processId);

PROCESS_MEMORY_COUNTERS MemoryOf(HANDLE process);

// Waits until the running preview has shown a few more frames.
void WaitForFrames(SimulatedCamera& camera, uint32_t count);

// Why the camera's tone is not heard from the sound server now, or "" when
// it is.
std::string SoundMissing(SoundMeter& meter, const char* program);

// What a preview graph that plays the camera's sound, its devices listed as
// often as Morvane's build lists them, leaves behind in its process once
// released: kernel handles besides the keys of Wine's device
// enumerator (none on Windows, one event under Wine 8) and committed memory
// (under Wine 8 about 0.6 KB, in steps of the heap's pages: only a run of
// many graphs tells it). Throws MeasurementStopped when it cannot be measured.
struct LeftPerGraph {
    double handles;
    double committedKb;
};
LeftPerGraph LeftPerPreviewGraph(SimulatedCamera& camera, SoundMeter& meter, int graphs);

#endif
