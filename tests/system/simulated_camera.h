// The simulated camera installed for a system test, driven through its
// shared control block as camsim.exe drives it.
#ifndef MORVANE_TESTS_SYSTEM_SIMULATED_CAMERA_H
#define MORVANE_TESTS_SYSTEM_SIMULATED_CAMERA_H

#include <windows.h>

#include <vector>

#include "camsim/camsim_control.h"

class SimulatedCamera {
  public:
    SimulatedCamera();
    bool Ready() const { return installed && opened; }

    // Starts afresh from a fresh machine's settings, plugged in or not; the
    // command log starts empty.
    void Plug(bool plugged);
    // Plugs in or out and nothing else; top-level windows hear of it.
    void SetPlugged(bool plugged);
    // Adds an audio capture device; top-level windows hear of its arrival.
    void AddAudioDevice(const wchar_t* name);

    uint32_t FramesDelivered();
    // Tick count when a video filter last joined a graph: moves at every build.
    uint32_t GraphJoinMs();
    // From that join to the graph's first frame, or -1 before it.
    int32_t FirstFrameDelayMs();
    std::vector<CommandRecord> Commands();

  private:
    template <class Reader> auto Read(Reader read) -> decltype(read(*(ControlBlock*)nullptr));

    CamsimBlock block;
    bool installed = false;
    bool opened = false;
};

#endif
