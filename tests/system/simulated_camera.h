// The simulated camera seen from a system test: installed and plugged in a
// known state, with its observations (frames, graph joins, command log).
#ifndef MORVANE_TESTS_SYSTEM_SIMULATED_CAMERA_H
#define MORVANE_TESTS_SYSTEM_SIMULATED_CAMERA_H

#include <windows.h>

#include <stdint.h>
#include <vector>

#include "camsim/camsim_control.h"

class SimulatedCamera {
  public:
    // Registers the driver's devices and opens the control block.
    SimulatedCamera();
    bool Ready() const { return installed && opened; }

    // A fresh camera: default settings, plugged or not, with extra audio
    // devices after the camera's own, and after them one with a Preview pin
    // when named.
    void Reset(bool plugged, const std::vector<const wchar_t*>& extraAudioDevices = {},
               const wchar_t* previewPinDevice = nullptr);
    void SetFaults(uint32_t faults);
    void SetTape(bool in);
    // Reports this mode byte instead of the deck's (kNotForced: the deck's).
    void ForceMode(int32_t mode);
    // Reports this deck availability instead of 1 (kNotForced: 1).
    void ForceTransport(int32_t available);
    // The time the deck's mechanism takes to move after each command, as
    // camsim.exe deck-delay sets it.
    void SetDeckDelay(uint32_t ms);
    // Plugs in or out and nothing else; top-level windows hear of it.
    void SetPlugged(bool plugged);
    // Adds an audio capture device; top-level windows hear of its arrival.
    void AddAudioDevice(const wchar_t* name);
    // Takes the audio device of a slot away (see LastAudioJoined).
    void RemoveAudioDevice(int slot);

    uint32_t FramesDelivered();
    // Tick count when a video filter last joined a graph: a new value is a
    // new preview graph.
    uint32_t GraphJoinMs();
    // Preview graphs a video filter has joined so far.
    uint32_t GraphJoins();
    // Status blocks read so far: a new value is the next poll of the program.
    uint32_t StatusReads();
    // The DeckMotion the deck's mechanism is in or moving to.
    uint8_t DeckTarget();
    // Slot of the audio device that last joined a graph (0: the camera's own,
    // then the extra devices in their order), or -1.
    int32_t LastAudioJoined();
    // Preview graphs torn down only after the window that showed them was gone.
    uint32_t GraphsLeftAfterWindows();
    // From that join to the graph's first frame, or -1 before it.
    int32_t FirstFrameDelayMs();
    // Every command still held in the log, oldest first.
    std::vector<CommandRecord> Commands();
    // The brightness values among the held commands after the first `from`.
    std::vector<uint32_t> BrightnessSent(size_t from = 0);

  private:
    // Runs read on the locked block; a value-initialised result without it.
    template <class Reader> auto Read(Reader read) -> decltype(read(*(ControlBlock*)nullptr));
    // Runs change on the locked block; nothing without it.
    template <class Changer> void Change(Changer change);

    CamsimBlock block;
    bool installed = false;
    bool opened = false;
};

// Whether a command record is this class and code.
bool IsCommand(const CommandRecord& record, uint32_t commandClass, uint32_t code);

#endif
