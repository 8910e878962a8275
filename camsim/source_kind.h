// What tells the video and the audio capture filter apart: one table each,
// read by the shared filter and pin code.
#ifndef CAMSIM_SOURCE_KIND_H
#define CAMSIM_SOURCE_KIND_H

#include <dshow.h>

#include "camsim/control_block.h"

// One sample to fill, with the shared block locked for the duration.
struct SourceSample {
    BYTE* data;
    long length;               // bytes to write: a picture, or whole sound frames
    const AM_MEDIA_TYPE* type; // the connection's type
    unsigned long index;       // samples delivered before this one
    const ControlBlock* block;
    uint32_t coarseness; // the picture's block size, read from "SFMin" at graph join
    uint32_t nowMs;
    int device; // video device 0/1, or audio slot
};

struct SourceKind {
    const GUID* clsid;
    const wchar_t* filterName;
    const wchar_t* pinName;
    // A second output pin for a preview beside the capture, or null; an
    // audio device offers it when its slot asks. Its samples are stamped
    // with the time they are to be heard.
    const wchar_t* previewPinName;
    // Video: vendor property set, picture settings, frame counters, and a
    // pause that cannot cue only once connected (the sound one never can).
    bool isVideo;
    int mediaTypeCount;
    // Type i, with a format block that points into static storage (copy it).
    void (*GetMediaType)(int index, AM_MEDIA_TYPE* type);
    // Connect's answer to a complete type that the pin does not offer.
    HRESULT refusedType;
    // Buffers the allocator gets, and their size, unless the pin was told
    // otherwise.
    long bufferCount;
    long (*BufferSize)(const AM_MEDIA_TYPE& type);
    // Bytes of one sample that a buffer of capacity bytes holds (0: none).
    long (*SampleBytes)(const AM_MEDIA_TYPE& type, long capacity);
    // Stream time that count samples of bytes each take.
    REFERENCE_TIME (*Duration)(const AM_MEDIA_TYPE& type, long bytes, unsigned long count);
    // Writes one sample.
    void (*FillSample)(const SourceSample& sample);
};

extern const SourceKind kVideoSource;
extern const SourceKind kAudioSource;

#endif
