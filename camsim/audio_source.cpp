// The camera's sound: a quiet 441 Hz tone, 16-bit mono PCM at 22050 Hz, in
// buffers of 100 ms unless the application asks for others. Every other
// audio device plays a 735 Hz tone as loud, so that a listener tells the
// devices apart by pitch alone.
#include "camsim/source_kind.h"

#include "camsim/device_registry.h"

namespace {

const int kRate = 22050;
// Samples per period of each tone: whole numbers.
const unsigned long kCameraPeriod = kRate / 441;
const unsigned long kOtherPeriod = kRate / 735;
const int kAmplitude = 600;
const REFERENCE_TIME kUnitsPerSecond = 10000000;

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

const WAVEFORMATEX& Wave(const AM_MEDIA_TYPE& type) {
    return *reinterpret_cast<const WAVEFORMATEX*>(type.pbFormat);
}

// A buffer carries whole sound frames only.
long AudioSampleBytes(const AM_MEDIA_TYPE& type, long capacity) {
    return capacity - capacity % Wave(type).nBlockAlign;
}

long AudioBufferSize(const AM_MEDIA_TYPE& type) {
    return AudioSampleBytes(type, static_cast<long>(Wave(type).nAvgBytesPerSec / 10));
}

REFERENCE_TIME AudioDuration(const AM_MEDIA_TYPE& type, long bytes, unsigned long count) {
    return static_cast<REFERENCE_TIME>(count) * bytes * kUnitsPerSecond /
           Wave(type).nAvgBytesPerSec;
}

void FillAudioSample(const SourceSample& sample) {
    const WAVEFORMATEX& wave = Wave(*sample.type);
    const unsigned long frames = static_cast<unsigned long>(sample.length / wave.nBlockAlign);
    const unsigned long period = sample.device == 0 ? kCameraPeriod : kOtherPeriod;
    // A triangle wave: no floating point, and quiet. Every buffer holds the
    // same number of frames, so the tone runs on from where the last ended.
    unsigned long phase = (sample.index % period) * (frames % period) % period;
    short* samples = reinterpret_cast<short*>(sample.data);
    for (unsigned long i = 0; i < frames; ++i) {
        const long rising = static_cast<long>(phase < period / 2 ? phase : period - phase);
        const long length = static_cast<long>(period);
        samples[i] = static_cast<short>(kAmplitude * (4 * rising - length) / length);
        phase = (phase + 1) % period;
    }
}

} // namespace

const SourceKind kAudioSource = {&CLSID_CamsimAudioCapture,
                                 L"Orvelle Audio",
                                 L"Capture",
                                 L"Preview",
                                 false,
                                 1,
                                 GetAudioType,
                                 VFW_E_INVALIDMEDIATYPE,
                                 4,
                                 AudioBufferSize,
                                 AudioSampleBytes,
                                 AudioDuration,
                                 FillAudioSample};
