// What the random soaks share: the seed and length of a run (and how to
// replay one), the simulated camera's random events with the model of what
// they imply, and the process's committed memory.
#ifndef MORVANE_TESTS_SYSTEM_SOAK_H
#define MORVANE_TESTS_SYSTEM_SOAK_H

#include <windows.h>

#include <stdint.h>
#include <random>
#include <string>

#include "simulated_camera.h"

// MORVANE_SOAK_SEED replays a seed; lengthVariable sets the run's length.
struct SoakPlan {
    uint32_t seed;
    int length;
};
SoakPlan ReadSoakPlan(const char* lengthVariable, uint32_t defaultSeed, int defaultLength);

// A number from the environment, or fallback when it is not set.
int SoakLength(const char* variable, int fallback);

// How to replay a run up to and including step.
std::string ReplayHint(const char* lengthVariable, const SoakPlan& plan, int step);

// The camera's state that decides what the window must show.
struct CameraModel {
    bool plugged = true;
    bool tape = true;
    uint32_t faults = 0;
    bool VideoFound() const { return plugged && !(faults & FaultVideoMissing); }
};

// One of camsim's fault switches, chosen at random, turned over.
void ToggleRandomFault(std::mt19937& random, CameraModel& model, SimulatedCamera& camera);
void TogglePlug(CameraModel& model, SimulatedCamera& camera);
void ToggleTape(CameraModel& model, SimulatedCamera& camera);

// Writes a DWORD value under the camera driver's settings key; false when
// it cannot.
bool WriteDriverDword(const char* name, DWORD value);

// The process's committed memory (printed with its working set): under Wine
// it stands in for handle and GDI object counts, which another process
// cannot read.
SIZE_T CommittedBytes(HANDLE process);

#endif
