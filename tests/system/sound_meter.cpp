#include "sound_meter.h"

#include <math.h>

#include <algorithm>
#include <vector>

#include "tests/wait_until.h"

namespace {

const DWORD kRate = 48000;
const WORD kChannels = 2;
// The window a level is read over, and how long a level may take to settle
// or a silence to come: several windows.
const DWORD kWindowMs = 1000;
const DWORD kSettleBoundMs = 2 * kProgramBoundMs;

WAVEFORMATEX FloatStereo() {
    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_IEEE_FLOAT;
    format.nChannels = kChannels;
    format.nSamplesPerSec = kRate;
    format.wBitsPerSample = 32;
    format.nBlockAlign = kChannels * 4;
    format.nAvgBytesPerSec = kRate * format.nBlockAlign;
    return format;
}

UINT FindMonitor() {
    UINT count = waveInGetNumDevs();
    for (UINT id = 0; id < count; ++id) {
        WAVEINCAPSA caps = {};
        if (waveInGetDevCapsA(id, &caps, sizeof caps) == MMSYSERR_NOERROR &&
            strncmp(caps.szPname, "Monitor of", 10) == 0) {
            return id;
        }
    }
    return WAVE_MAPPER;
}

SoundLevel Analyse(const std::vector<float>& samples) {
    SoundLevel level;
    level.recorded = true;
    double sum = 0;
    bool silent = true;
    // A dropout under load records exact zeros: the level is taken over the
    // frames that sound, which a tone's samples never are.
    size_t soundingFrames = 0;
    // The pitch is the middle period between upward zero crossings: a
    // renderer that drops late samples under load splices the wave, which
    // shortens only the periods that hold a splice.
    std::vector<size_t> periods;
    size_t lastUpward = 0;
    for (size_t i = 0; i < samples.size(); ++i) {
        sum += double(samples[i]) * samples[i];
        silent = silent && samples[i] == 0.0f;
        if (i % kChannels == 0 && samples[i] != 0.0f) {
            ++soundingFrames;
        }
        if (i >= kChannels && i % kChannels == 0 && samples[i - kChannels] < 0 && samples[i] > 0) {
            if (lastUpward) {
                periods.push_back((i - lastUpward) / kChannels);
            }
            lastUpward = i;
        }
    }
    level.silent = silent;
    if (sum > 0) {
        level.dbfs = 10 * log10(sum / (soundingFrames * kChannels));
    }
    if (!periods.empty()) {
        std::nth_element(periods.begin(), periods.begin() + periods.size() / 2, periods.end());
        level.frequency = double(kRate) / periods[periods.size() / 2];
    }
    return level;
}

} // namespace

double HeardDecibels(long volume) {
    return volume * 20 * log10(2.0) / 600;
}

SoundMeter::SoundMeter() {
    UINT id = FindMonitor();
    if (id == WAVE_MAPPER) {
        problem = "no sound server's monitor device to record (is PULSE_SERVER set to a server "
                  "with a null sink?): what is heard cannot be checked";
        return;
    }
    WAVEFORMATEX format = FloatStereo();
    MMRESULT result = waveInOpen(&device, id, &format, 0, 0, CALLBACK_NULL);
    if (result != MMSYSERR_NOERROR) {
        device = nullptr;
        problem = "the monitor device does not open for float stereo at 48 kHz (" +
                  std::to_string(result) + ")";
    }
}

SoundMeter::~SoundMeter() {
    if (device) {
        waveInReset(device);
        waveInClose(device);
    }
}

SoundLevel SoundMeter::Measure(DWORD windowMs) {
    SoundLevel level;
    if (!device) {
        return level;
    }
    std::vector<float> samples(size_t(kRate) * windowMs / 1000 * kChannels);
    WAVEHDR header = {};
    header.lpData = reinterpret_cast<LPSTR>(samples.data());
    header.dwBufferLength = DWORD(samples.size() * sizeof(float));
    waveInReset(device);
    if (waveInPrepareHeader(device, &header, sizeof header) != MMSYSERR_NOERROR) {
        return level;
    }
    bool done =
        waveInAddBuffer(device, &header, sizeof header) == MMSYSERR_NOERROR &&
        waveInStart(device) == MMSYSERR_NOERROR &&
        HoldsWithin([&] { return (header.dwFlags & WHDR_DONE) != 0; }, windowMs + kProgramBoundMs);
    waveInReset(device);
    waveInUnprepareHeader(device, &header, sizeof header);
    if (done && header.dwBytesRecorded == header.dwBufferLength) {
        level = Analyse(samples);
    }
    return level;
}

SoundLevel SoundMeter::Settled() {
    SoundLevel last = Measure(kWindowMs), now;
    WaitUntil(
        [&] {
            now = Measure(kWindowMs);
            bool agree = now.recorded && last.recorded && fabs(now.dbfs - last.dbfs) <= 0.2;
            last = now;
            return agree;
        },
        "the sound heard to settle", kSettleBoundMs);
    return now;
}

void SoundMeter::WaitForSilence(const std::string& what) {
    WaitUntil([&] { return Measure(kWindowMs).silent; }, what, kSettleBoundMs);
}
