// What tells the video and the audio capture filter apart: one table each,
// read by the shared filter and pin code.
#ifndef CAMSIM_SOURCE_KIND_H
#define CAMSIM_SOURCE_KIND_H

#include <dshow.h>

#include "camsim/control_block.h"

// One sample to fill, with the shared block locked for the duration.
struct SourceSample {
    BYTE* data;
    long capacity;
    const AM_MEDIA_TYPE* type; // the connection's type
    unsigned long index;       // samples delivered before this one
    const ControlBlock* block;
    uint32_t coarseness; // the picture's block size, read from "SFMin" at graph join
    uint32_t nowMs;
};

struct SourceKind {
    const GUID* clsid;
    const wchar_t* filterName;
    const wchar_t* pinName;
    bool isVideo; // video: vendor property set, picture settings, frame counters
    int mediaTypeCount;
    // Type i, with a format block that points into static storage (copy it).
    void (*GetMediaType)(int index, AM_MEDIA_TYPE* type);
    // Bytes one sample of a type needs.
    long (*SampleSize)(const AM_MEDIA_TYPE& type);
    // Buffers the allocator gets unless the pin was told otherwise.
    long bufferCount;
    REFERENCE_TIME samplePeriod;
    // Writes one sample, answering its length in bytes.
    long (*FillSample)(const SourceSample& sample);
};

extern const SourceKind kVideoSource;
extern const SourceKind kAudioSource;

#endif
