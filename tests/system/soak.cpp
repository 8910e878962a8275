#include "soak.h"

#include <psapi.h>

#include <cstdio>
#include <cstdlib>

#include "harness.h"
#include "program_view.h"

int SoakLength(const char* variable, int fallback) {
    const char* value = std::getenv(variable);
    return value ? std::atoi(value) : fallback;
}

SoakPlan ReadSoakPlan(const char* lengthVariable, uint32_t defaultSeed, int defaultLength) {
    const char* seed = std::getenv("MORVANE_SOAK_SEED");
    return {seed ? static_cast<uint32_t>(std::strtoul(seed, nullptr, 10)) : defaultSeed,
            SoakLength(lengthVariable, defaultLength)};
}

std::string ReplayHint(const char* lengthVariable, const SoakPlan& plan, int step) {
    return "seed " + std::to_string(plan.seed) + " step " + std::to_string(step) +
           ": replay with MORVANE_SOAK_SEED=" + std::to_string(plan.seed) + " " + lengthVariable +
           "=" + std::to_string(step + 1);
}

void ToggleRandomFault(std::mt19937& random, CameraModel& model, SimulatedCamera& camera) {
    model.faults ^= 1u << (random() % 7);
    camera.SetFaults(model.faults);
}

void TogglePlug(CameraModel& model, SimulatedCamera& camera) {
    model.plugged = !model.plugged;
    camera.SetPlugged(model.plugged);
}

void ToggleTape(CameraModel& model, SimulatedCamera& camera) {
    model.tape = !model.tape;
    camera.SetTape(model.tape);
}

bool WriteDriverDword(const char* name, DWORD value) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kDriverSettingsKey, 0, nullptr, 0,
                        KEY_ALL_ACCESS | ProgramRegistryView(), nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    LONG written = RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                  sizeof value);
    RegCloseKey(key);
    return written == ERROR_SUCCESS;
}

SIZE_T CommittedBytes(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(process, &counters, sizeof counters);
    std::printf("working set %lu, pagefile %lu\n", (unsigned long)counters.WorkingSetSize,
                (unsigned long)counters.PagefileUsage);
    return counters.PagefileUsage;
}
