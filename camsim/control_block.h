// The simulated camera's shared state: what camsim.exe and tests set, the
// deck and picture every filter instance drives, and what they observe. One
// copy lives in named shared memory backed by a file, so that it outlives
// the processes that use it as a plugged camera does; it is plain data.
// Platform-free.
#ifndef CAMSIM_CONTROL_BLOCK_H
#define CAMSIM_CONTROL_BLOCK_H

#include <stdint.h>

#include "camsim/deck_model.h"

const int kMaxAudioDevices = 20;
const int kAudioNameCapacity = 64; // UTF-16 units, terminator included
const int kVideoDeviceCount = 2;   // "Orvelle Video" and the optional "Orvelle Video2"
const int kCommandLogCapacity = 256;
const uint32_t kDefaultBrightness = 128;
const int32_t kNotForced = -1;

// Fault switches, combined as bits.
enum CamsimFault : uint32_t {
    FaultCapabilityClear = 1 << 0, // capability word without bit 13
    FaultGetFails = 1 << 1,        // every property Get answers E_FAIL
    FaultGetSFalse = 1 << 2,       // every property Get answers S_FALSE
    FaultSetFails = 1 << 3,        // every property Set answers E_FAIL
    FaultSetSFalse = 1 << 4,       // every property Set answers S_FALSE
    FaultStatusFails = 1 << 5,     // the status read fails
    FaultVideoMissing = 1 << 6,    // no video device in the category
    FaultEventsOnStop = 1 << 7,    // the video filter reports an event to its graph on each stop
};
const uint32_t kAllFaults = (1 << 8) - 1;

// An audio capture device. Slot 0 is the camera's own "Orvelle Audio", which
// comes and goes with the camera; the others are added for tests.
struct AudioDeviceSlot {
    uint8_t used;
    uint8_t hasName;    // 0: registered without a friendly name
    uint8_t previewPin; // 1: a Preview pin beside Capture; a sound card offers Capture alone
    uint8_t reserved;
    uint16_t name[kAudioNameCapacity];
};

// What survives when no process holds the block (kept in the registry too).
struct CamsimSettings {
    uint32_t size; // sizeof(CamsimSettings): a stored copy of another layout is ignored
    uint8_t installed;
    uint8_t plugged;
    uint8_t tape;
    uint8_t video2; // also register "Orvelle Video2"
    uint32_t faults;
    int32_t forcedMode;      // mode byte reported instead of the deck's, or kNotForced
    int32_t forcedTransport; // transportAvailable reported instead of 1, or kNotForced
    uint32_t deckSettleMs;   // the time the deck's mechanism takes to move
    AudioDeviceSlot audio[kMaxAudioDevices];
};

struct CommandRecord {
    uint32_t commandClass;
    uint32_t code;
    uint32_t sequence;
    uint32_t timeMs; // system tick count when it arrived
    int32_t result;  // HRESULT the camera answered
};

struct ControlBlock {
    uint32_t size; // sizeof(ControlBlock): a stored block of another layout is made anew
    CamsimSettings settings;
    DeckModel deck;
    uint32_t brightness;
    uint32_t framesDelivered;   // by every video filter, since the block was made
    uint32_t graphJoinMs;       // tick count when a video filter last joined a graph
    uint32_t graphJoins;        // graphs a video filter joined, since the block was made
    uint32_t statusReads;       // status blocks asked for (answered or not), since then
    int32_t firstFrameDelayMs;  // from that join to its first frame, or -1
    uint32_t commandCount;      // commands received; the log keeps the last 256
    int32_t lastAudioJoined;    // slot of the audio device that last joined a graph, or -1
    // Graphs a video filter left after the thread tearing them down had lost
    // its last window: a preview that outlived the window it was shown in.
    uint32_t leftAfterWindows;
    // The simulated sound output: the level of the one that last joined a
    // graph or was set (hundredths of a decibel, 0 full, -10000 silent), and
    // the sound samples all of them rendered, and of those the ones that
    // came without their times.
    int32_t soundVolume;
    uint32_t soundSamples;
    uint32_t soundSamplesUntimed;
    CommandRecord log[kCommandLogCapacity];
};

// Settings of a fresh machine: not installed, camera plugged with a tape in,
// a deck of the default speed, "Orvelle Audio" in slot 0, no faults.
CamsimSettings DefaultSettings();

// Whether stored bytes are settings this build can take over.
bool IsUsableSettings(const void* bytes, uint32_t length);

// A block made from settings; the deck holds the settings' tape.
void InitControlBlock(ControlBlock& block, const CamsimSettings& settings);

// Whether a stored block is one this build made (a new, zero-filled store
// is not).
bool IsUsableBlock(const ControlBlock& block);

// Whether a device's registration should exist now.
bool VideoDevicePresent(const CamsimSettings& settings, int videoIndex);
bool AudioDevicePresent(const CamsimSettings& settings, int slot);

// Appends to the command log, dropping the oldest record when full.
void RecordCommand(ControlBlock& block, const CommandRecord& record);

// The i-th of the records still held, oldest first; count is how many.
int HeldCommandCount(const ControlBlock& block);
const CommandRecord& HeldCommand(const ControlBlock& block, int index);

// The length of a slot's name, in UTF-16 units: up to its terminator, and
// never beyond its field, however the stored bytes were written.
int AudioNameLength(const AudioDeviceSlot& device);

// Adds an audio device in the first free slot after the camera's; answers the
// slot or -1 when all are taken. A null name registers it without a name.
int AddAudioDevice(CamsimSettings& settings, const uint16_t* name, bool previewPin = false);

#endif
