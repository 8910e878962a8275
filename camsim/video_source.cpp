// The camera's picture: 320 x 240 at 30 frames per second, as RGB32 or RGB24.
#include "camsim/source_kind.h"

#include "camsim/device_registry.h"
#include "camsim/test_picture.h"

namespace {

const int kWidth = 320;
const int kHeight = 240;
const REFERENCE_TIME kFramePeriod = 10000000 / 30;

VIDEOINFOHEADER MakeFormat(WORD bitCount) {
    VIDEOINFOHEADER format = {};
    format.AvgTimePerFrame = kFramePeriod;
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = kWidth;
    format.bmiHeader.biHeight = kHeight; // bottom-up, as DIBs are
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = bitCount;
    format.bmiHeader.biCompression = BI_RGB;
    format.bmiHeader.biSizeImage = kWidth * kHeight * (bitCount / 8);
    format.dwBitRate = format.bmiHeader.biSizeImage * 8 * 30;
    return format;
}

VIDEOINFOHEADER formats[] = {MakeFormat(32), MakeFormat(24)};

void GetVideoType(int index, AM_MEDIA_TYPE* type) {
    *type = AM_MEDIA_TYPE();
    type->majortype = MEDIATYPE_Video;
    type->subtype = index == 0 ? MEDIASUBTYPE_RGB32 : MEDIASUBTYPE_RGB24;
    type->bFixedSizeSamples = TRUE;
    type->lSampleSize = formats[index].bmiHeader.biSizeImage;
    type->formattype = FORMAT_VideoInfo;
    type->cbFormat = sizeof(VIDEOINFOHEADER);
    type->pbFormat = reinterpret_cast<BYTE*>(&formats[index]);
}

const VIDEOINFOHEADER& Video(const AM_MEDIA_TYPE& type) {
    return *reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat);
}

long VideoBufferSize(const AM_MEDIA_TYPE& type) {
    return static_cast<long>(Video(type).bmiHeader.biSizeImage);
}

// A picture fits its buffer whole or not at all.
long VideoSampleBytes(const AM_MEDIA_TYPE& type, long capacity) {
    return capacity >= VideoBufferSize(type) ? VideoBufferSize(type) : 0;
}

REFERENCE_TIME VideoDuration(const AM_MEDIA_TYPE& type, long, unsigned long count) {
    return static_cast<REFERENCE_TIME>(count) * Video(type).AvgTimePerFrame;
}

void FillVideoSample(const SourceSample& sample) {
    const BITMAPINFOHEADER& bitmap = Video(*sample.type).bmiHeader;
    const int bytesPerPixel = bitmap.biBitCount / 8;
    const int stride = (kWidth * bytesPerPixel + 3) & ~3;
    const ControlBlock& block = *sample.block;
    PictureLook look = {static_cast<uint32_t>(sample.index), block.brightness, sample.coarseness,
                        DeckLabel(block.deck.tape != 0, DeckMotionAt(block.deck, sample.nowMs))};
    // Bottom-up: the picture's top row is the buffer's last.
    DrawTestPicture(sample.data + (kHeight - 1) * stride, kWidth, kHeight, -stride, bytesPerPixel,
                    look);
}

} // namespace

const SourceKind kVideoSource = {&CLSID_CamsimVideoCapture,
                                 L"Orvelle Video",
                                 L"Capture",
                                 nullptr,
                                 true,
                                 2,
                                 GetVideoType,
                                 VFW_E_NO_ACCEPTABLE_TYPES,
                                 4,
                                 VideoBufferSize,
                                 VideoSampleBytes,
                                 VideoDuration,
                                 FillVideoSample};
