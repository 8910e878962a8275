// What a listener hears: the sound server's sink, recorded through its
// monitor capture device ("Monitor of ...") with waveIn, as float stereo at
// 48 kHz. The tiers point Wine at a private server whose null sink takes
// every program's sound.
#ifndef MORVANE_TESTS_SYSTEM_SOUND_METER_H
#define MORVANE_TESTS_SYSTEM_SOUND_METER_H

#include <windows.h>

#include <mmreg.h>
#include <mmsystem.h>

#include <string>
#include <vector>

// One window of recorded sound.
struct SoundLevel {
    bool recorded = false;
    double dbfs = -1000;  // root mean square of both channels while they sound, 0 dB = full scale
    bool silent = false;  // every sample exactly zero
    double frequency = 0; // a tone's pitch: the middle period between upward zero crossings
};

class SoundMeter {
  public:
    SoundMeter();
    ~SoundMeter();
    SoundMeter(const SoundMeter&) = delete;
    SoundMeter& operator=(const SoundMeter&) = delete;

    // Whether the monitor device could be opened; else why not.
    bool Ready() const { return device != nullptr; }
    const std::string& Problem() const { return problem; }

    // Records windowMs of sound from now; unrecorded when the recording
    // does not complete.
    SoundLevel Measure(DWORD windowMs);
    // Waits until two windows one after the other agree within 0.2 dB (the
    // sound has settled after a change), and answers the second.
    SoundLevel Settled();
    // Waits until a window is exactly silent; what names it.
    void WaitForSilence(const std::string& what);

  private:
    HWAVEIN device = nullptr;
    std::string problem;
};

// Wine's DirectSound volume law: amplitude 2^(v/600) for v hundredths of a
// decibel, so v reads as v * 20 log10(2) / 600 dB.
double HeardDecibels(long volume);

#endif
