// The capture pins of the camera and its sound as a program's graph meets
// them: the media types they take, how they agree on one with a receiving
// pin, their state, their category, and the samples they deliver.
#include "camsim_fixture.h"

#include <mutex>

#include "camsim/device_registry.h"

namespace {

// A media type with its own format block.
struct MediaType {
    AM_MEDIA_TYPE type = {};
    std::vector<BYTE> format;

    const AM_MEDIA_TYPE* Get() {
        type.cbFormat = static_cast<ULONG>(format.size());
        type.pbFormat = format.empty() ? nullptr : format.data();
        type.pUnk = nullptr;
        return &type;
    }
};

MediaType Copy(const AM_MEDIA_TYPE& type) {
    MediaType copy;
    copy.type = type;
    copy.format.assign(type.pbFormat, type.pbFormat + type.cbFormat);
    copy.Get();
    return copy;
}

// A receiving pin as a renderer's: it takes any type, names its preferred
// ones (it hands itself out as their list), brings no allocator and keeps
// what each sample it receives says of itself.
class SinkPin : public IPin, public IMemInputPin, public IEnumMediaTypes {
  public:
    struct Sample {
        HRESULT timeResult;
        REFERENCE_TIME start, end;
        long length;
    };
    explicit SinkPin(std::vector<MediaType> preferred = {}) : preferred(std::move(preferred)) {}

    std::vector<Sample> Samples() {
        std::lock_guard<std::mutex> hold(lock);
        return samples;
    }
    AM_MEDIA_TYPE connection = {}; // the GUIDs and sample size connected with
    LONG references = 0;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPin))
            *out = static_cast<IPin*>(this);
        else if (IsEqualIID(iid, IID_IMemInputPin))
            *out = static_cast<IMemInputPin*>(this);
        else
            *out = nullptr;
        if (!*out)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&references); }
    STDMETHODIMP_(ULONG) Release() override { return InterlockedDecrement(&references); }

    STDMETHODIMP Connect(IPin*, const AM_MEDIA_TYPE*) override { return E_UNEXPECTED; }
    STDMETHODIMP ReceiveConnection(IPin*, const AM_MEDIA_TYPE* type) override {
        connection = *type;
        connection.pbFormat = nullptr;
        connection.pUnk = nullptr;
        return S_OK;
    }
    STDMETHODIMP Disconnect() override { return S_OK; }
    STDMETHODIMP ConnectedTo(IPin**) override { return E_NOTIMPL; }
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryPinInfo(PIN_INFO*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryDirection(PIN_DIRECTION* direction) override {
        *direction = PINDIR_INPUT;
        return S_OK;
    }
    STDMETHODIMP QueryId(LPWSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE*) override { return S_OK; }
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override {
        position = 0;
        *types = this;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP QueryInternalConnections(IPin**, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP EndOfStream() override { return S_OK; }
    STDMETHODIMP BeginFlush() override { return S_OK; }
    STDMETHODIMP EndFlush() override { return S_OK; }
    STDMETHODIMP NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return S_OK; }

    STDMETHODIMP GetAllocator(IMemAllocator**) override { return VFW_E_NO_ALLOCATOR; }
    STDMETHODIMP NotifyAllocator(IMemAllocator*, BOOL) override { return S_OK; }
    STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES*) override { return E_NOTIMPL; }
    STDMETHODIMP Receive(IMediaSample* media) override {
        Sample sample = {};
        sample.timeResult = media->GetTime(&sample.start, &sample.end);
        sample.length = media->GetActualDataLength();
        std::lock_guard<std::mutex> hold(lock);
        samples.push_back(sample);
        return S_OK;
    }
    STDMETHODIMP ReceiveMultiple(IMediaSample**, long, long*) override { return E_NOTIMPL; }
    STDMETHODIMP ReceiveCanBlock() override { return S_FALSE; }

    STDMETHODIMP Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) override {
        ULONG given = 0;
        for (; given < count && position < preferred.size(); ++given, ++position) {
            const AM_MEDIA_TYPE& type = *preferred[position].Get();
            types[given] = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof type));
            *types[given] = type;
            types[given]->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(type.cbFormat));
            memcpy(types[given]->pbFormat, type.pbFormat, type.cbFormat);
        }
        if (fetched)
            *fetched = given;
        return given == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG) override { return E_NOTIMPL; }
    STDMETHODIMP Reset() override {
        position = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumMediaTypes**) override { return E_NOTIMPL; }

  private:
    std::vector<MediaType> preferred;
    size_t position = 0;
    std::mutex lock;
    std::vector<Sample> samples;
};

// A new capture filter of the camera or its sound, and its pin.
struct Source {
    explicit Source(bool video) {
        CoCreateInstance(video ? CLSID_CamsimVideoCapture : CLSID_CamsimAudioCapture, nullptr,
                         CLSCTX_INPROC_SERVER, IID_IBaseFilter, reinterpret_cast<void**>(&filter));
        if (filter)
            filter->FindPin(L"Capture", &pin);
    }
    ~Source() {
        if (pin)
            pin->Release();
        if (filter) {
            EXPECT_EQ(0u, filter->Release()); // nothing of the filter is left behind
        }
    }
    // The pin's own types, in its order.
    std::vector<MediaType> OwnTypes() {
        std::vector<MediaType> own;
        IEnumMediaTypes* types = nullptr;
        AM_MEDIA_TYPE* type = nullptr;
        if (pin->EnumMediaTypes(&types) != S_OK)
            return own;
        while (types->Next(1, &type, nullptr) == S_OK) {
            own.push_back(Copy(*type));
            CoTaskMemFree(type->pbFormat);
            CoTaskMemFree(type);
        }
        types->Release();
        return own;
    }

    IBaseFilter* filter = nullptr;
    IPin* pin = nullptr;
};

const int kNoFormat = -1;
const int kOtherFormat = -2; // a format block of none of the pin's types

} // namespace

using CamsimPin = CamsimTest;

TEST_F(CamsimPin, MediaTypesAreTakenCompleteOrAgreedWithTheReceivingPin) {
    const GUID none = GUID_NULL;
    const struct {
        bool video;
        bool noType; // Connect without a media type
        GUID major, subtype, formatType;
        int format;          // the pin's own type whose format block the request carries
        int preferred;       // the receiving pin prefers the pin's own type i, or -1
        HRESULT accept;      // QueryAccept of the request
        HRESULT connect;     // Connect with it
        GUID connected;      // subtype of the connection
        bool takesPreferred; // the receiving pin's copy of the type was taken
    } rows[] = {
        {true, true, none, none, none, kNoFormat, -1, S_OK, S_OK, MEDIASUBTYPE_RGB32, false},
        {true, true, none, none, none, kNoFormat, 1, S_OK, S_OK, MEDIASUBTYPE_RGB24, true},
        {true, false, MEDIATYPE_Video, MEDIASUBTYPE_RGB32, FORMAT_VideoInfo, 0, -1, S_OK, S_OK,
         MEDIASUBTYPE_RGB32, false},
        {true, false, MEDIATYPE_Video, MEDIASUBTYPE_RGB24, none, kNoFormat, -1, S_FALSE, S_OK,
         MEDIASUBTYPE_RGB24, false},
        {true, false, none, MEDIASUBTYPE_RGB32, FORMAT_VideoInfo, 0, -1, S_FALSE, S_OK,
         MEDIASUBTYPE_RGB32, false},
        {true, false, MEDIATYPE_Video, none, FORMAT_VideoInfo, 1, -1, S_FALSE, S_OK,
         MEDIASUBTYPE_RGB24, false},
        {true, false, MEDIATYPE_Video, none, none, kNoFormat, 1, S_FALSE, S_OK, MEDIASUBTYPE_RGB24,
         true},
        {true, false, MEDIATYPE_Video, MEDIASUBTYPE_RGB24, FORMAT_VideoInfo, kOtherFormat, -1,
         S_FALSE, VFW_E_NO_ACCEPTABLE_TYPES, none, false},
        {false, true, none, none, none, kNoFormat, 0, S_OK, S_OK, MEDIASUBTYPE_PCM, true},
        {false, false, MEDIATYPE_Audio, MEDIASUBTYPE_PCM, FORMAT_WaveFormatEx, 0, -1, S_OK, S_OK,
         MEDIASUBTYPE_PCM, false},
        {false, false, none, none, none, kNoFormat, -1, S_FALSE, S_OK, MEDIASUBTYPE_PCM, false},
        {false, false, MEDIATYPE_Audio, MEDIASUBTYPE_PCM, FORMAT_WaveFormatEx, kOtherFormat, -1,
         S_FALSE, VFW_E_INVALIDMEDIATYPE, none, false},
        {false, false, MEDIATYPE_Stream, MEDIASUBTYPE_PCM, FORMAT_WaveFormatEx, 0, -1, S_FALSE,
         VFW_E_INVALIDMEDIATYPE, none, false},
        {false, false, MEDIATYPE_Audio, MEDIASUBTYPE_MPEG1AudioPayload, none, kNoFormat, -1,
         S_FALSE, VFW_E_NO_ACCEPTABLE_TYPES, none, false},
    };
    int index = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "row " << index++);
        Source source(row.video);
        ASSERT_NE(nullptr, source.pin);
        std::vector<MediaType> own = source.OwnTypes();
        MediaType request;
        request.type.majortype = row.major;
        request.type.subtype = row.subtype;
        request.type.formattype = row.formatType;
        if (row.format != kNoFormat) {
            request.format = own[row.format == kOtherFormat ? 0 : row.format].format;
            if (row.format == kOtherFormat)
                request.format[4] ^= 0x01; // another rectangle or sample rate
        }
        std::vector<MediaType> preferred;
        if (row.preferred >= 0) {
            preferred.push_back(own[row.preferred]);
            preferred.back().type.lSampleSize = 444; // tells the receiver's copy apart
        }
        SinkPin sink(preferred);
        if (!row.noType) {
            EXPECT_EQ(row.accept, source.pin->QueryAccept(request.Get()));
        }
        HRESULT connected = source.pin->Connect(&sink, row.noType ? nullptr : request.Get());
        EXPECT_EQ(row.connect, connected);
        if (connected == S_OK) {
            EXPECT_TRUE(IsEqualGUID(row.connected, sink.connection.subtype));
            EXPECT_EQ(row.takesPreferred, sink.connection.lSampleSize == 444);
            EXPECT_EQ(S_OK, source.pin->Disconnect());
        }
        EXPECT_EQ(0, sink.references); // the pin let go of the receiving pin
    }
}

TEST_F(CamsimPin, OnlyAConnectedCameraCannotCueWhilePausedTheSoundNeverCan) {
    const struct {
        bool video, connected;
        HRESULT paused;
    } rows[] = {{true, false, S_OK},
                {true, true, VFW_S_CANT_CUE},
                {false, false, VFW_S_CANT_CUE},
                {false, true, VFW_S_CANT_CUE}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "video " << row.video << " connected " << row.connected);
        Source source(row.video);
        ASSERT_NE(nullptr, source.pin);
        SinkPin sink;
        if (row.connected) {
            ASSERT_EQ(S_OK, source.pin->Connect(&sink, nullptr));
        }
        FILTER_STATE state;
        EXPECT_EQ(S_OK, source.filter->Pause());
        EXPECT_EQ(row.paused, source.filter->GetState(0, &state));
        EXPECT_EQ(State_Paused, state);
        EXPECT_EQ(S_OK, source.filter->Run(0));
        EXPECT_EQ(S_OK, source.filter->GetState(0, &state));
        EXPECT_EQ(State_Running, state);
        EXPECT_EQ(S_OK, source.filter->Stop());
        EXPECT_EQ(S_OK, source.filter->GetState(0, &state));
        if (row.connected)
            source.pin->Disconnect();
    }
}

TEST_F(CamsimPin, PinCategoryTellsItsSizeAlsoToAShortBuffer) {
    const struct {
        DWORD length;
        HRESULT result;
    } rows[] = {{sizeof(GUID) - 1, E_UNEXPECTED}, {sizeof(GUID) + 1, S_OK}};
    for (bool video : {true, false}) {
        Source source(video);
        IKsPropertySet* properties = nullptr;
        ASSERT_EQ(S_OK, source.pin->QueryInterface(IID_IKsPropertySet,
                                                   reinterpret_cast<void**>(&properties)));
        for (const auto& row : rows) {
            BYTE category[sizeof(GUID) + 1] = {};
            DWORD returned = 0xDEADBEEF;
            EXPECT_EQ(row.result, properties->Get(AMPROPSETID_Pin, AMPROPERTY_PIN_CATEGORY, nullptr,
                                                  0, category, row.length, &returned));
            EXPECT_EQ(sizeof(GUID), returned) << row.length;
        }
        properties->Release();
    }
}

TEST_F(CamsimPin, SoundSamplesFillTheNegotiatedBuffersWithWholeFramesAndTheirTimes) {
    const REFERENCE_TIME kBytesPerSecond = 44100; // 16-bit mono at 22050 Hz
    const struct {
        long suggested; // buffer size the application suggests, or -1
        long bytes;     // each buffer and each sample
    } rows[] = {{-1, 4410}, {22051, 22050}, {1001, 1000}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "suggested " << row.suggested);
        Source source(false);
        ASSERT_NE(nullptr, source.pin);
        IAMBufferNegotiation* negotiation = nullptr;
        ASSERT_EQ(S_OK, source.pin->QueryInterface(IID_IAMBufferNegotiation,
                                                   reinterpret_cast<void**>(&negotiation)));
        ALLOCATOR_PROPERTIES wanted = {-1, row.suggested, -1, -1};
        EXPECT_EQ(S_OK, negotiation->SuggestAllocatorProperties(&wanted));
        SinkPin sink;
        ASSERT_EQ(S_OK, source.pin->Connect(&sink, nullptr));
        ALLOCATOR_PROPERTIES actual = {};
        EXPECT_EQ(S_OK, negotiation->GetAllocatorProperties(&actual));
        EXPECT_EQ(row.bytes, actual.cbBuffer);
        negotiation->Release();

        EXPECT_EQ(S_OK, source.filter->Run(0));
        WaitUntil([&] { return sink.Samples().size() >= 3; }, "three sound samples");
        source.filter->Stop();
        source.pin->Disconnect();
        std::vector<SinkPin::Sample> samples = sink.Samples();
        ASSERT_GE(samples.size(), 3u);
        // Each sample starts where the one before ended and lasts as long as
        // its bytes play.
        REFERENCE_TIME expectedStart = 0;
        for (size_t index = 0; index < samples.size(); ++index) {
            const SinkPin::Sample& sample = samples[index];
            EXPECT_EQ(S_OK, sample.timeResult) << "sample " << index;
            EXPECT_EQ(row.bytes, sample.length) << "sample " << index;
            EXPECT_EQ(expectedStart, sample.start) << "sample " << index;
            EXPECT_EQ(REFERENCE_TIME(index + 1) * row.bytes * 10000000 / kBytesPerSecond,
                      sample.end)
                << "sample " << index;
            expectedStart = sample.end;
        }
    }
}
