// The camera's sound: a quiet 440 Hz tone, 16-bit mono PCM at 22050 Hz, in
// blocks of 100 ms.
#include "camsim/source_kind.h"

#include "camsim/device_registry.h"

namespace {

const int kRate = 22050;
const int kBlocksPerSecond = 10;
const int kSamplesPerBlock = kRate / kBlocksPerSecond;
const int kToneHz = 441; // a whole number of periods per block
const int kAmplitude = 600;

WAVEFORMATEX MakeFormat() {
    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 1;
    format.nSamplesPerSec = kRate;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 2;
    format.nAvgBytesPerSec = kRate * 2;
    return format;
}

WAVEFORMATEX format = MakeFormat();

void GetAudioType(int, AM_MEDIA_TYPE* type) {
    *type = AM_MEDIA_TYPE();
    type->majortype = MEDIATYPE_Audio;
    type->subtype = MEDIASUBTYPE_PCM;
    type->bFixedSizeSamples = TRUE;
    type->lSampleSize = format.nBlockAlign;
    type->formattype = FORMAT_WaveFormatEx;
    type->cbFormat = sizeof format;
    type->pbFormat = reinterpret_cast<BYTE*>(&format);
}

long AudioSampleSize(const AM_MEDIA_TYPE&) { return kSamplesPerBlock * 2; }

long FillAudioSample(const SourceSample& sample) {
    const long size = kSamplesPerBlock * 2;
    if (sample.capacity < size)
        return 0;
    short* samples = reinterpret_cast<short*>(sample.data);
    // A triangle wave: no floating point, and quiet.
    const int period = kRate / kToneHz;
    for (int i = 0; i < kSamplesPerBlock; ++i) {
        int phase = i % period;
        int rising = phase < period / 2 ? phase : period - phase;
        samples[i] = static_cast<short>(kAmplitude * (4 * rising - period) / period);
    }
    return size;
}

} // namespace

const SourceKind kAudioSource = {&CLSID_CamsimAudioCapture,
                                 L"Orvelle Audio",
                                 L"Capture",
                                 false,
                                 1,
                                 GetAudioType,
                                 AudioSampleSize,
                                 4,
                                 10000000 / kBlocksPerSecond,
                                 FillAudioSample};
