// The simulated sound output: an audio renderer for machines without a sound
// card, so that the camera's sound is rendered for real. It plays nothing
// aloud; it takes every sample of a running graph, counts it, and records the
// volume it is given in the shared control block, where tests see what a
// user would hear. When chosen (ChooseSoundOutput) it stands in for the
// system's DirectSound renderer, which a graph builder creates for a sound
// stream: for the checks that need the exact volume given, or no sound card.
#ifndef CAMSIM_SOUND_OUTPUT_H
#define CAMSIM_SOUND_OUTPUT_H

#include <dshow.h>

#include "camsim/camsim_control.h"
#include "camsim/com_object.h"
#include "camsim/device_registry.h"

extern const wchar_t kSoundOutputName[];

class SoundOutput;

// The renderer's input pin; its references are the filter's.
class SoundInputPin final : public IPin, public IMemInputPin {
  public:
    explicit SoundInputPin(SoundOutput& filter);
    ~SoundInputPin();

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IPin
    STDMETHODIMP Connect(IPin* receivePin, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP ConnectedTo(IPin** pin) override;
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* type) override;
    STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
    STDMETHODIMP QueryDirection(PIN_DIRECTION* direction) override;
    STDMETHODIMP QueryId(LPWSTR* id) override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override;
    STDMETHODIMP QueryInternalConnections(IPin** pins, ULONG* count) override;
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;
    STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

    // IMemInputPin: the upstream pin brings its own allocator.
    STDMETHODIMP GetAllocator(IMemAllocator** allocator) override;
    STDMETHODIMP NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
    STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES* properties) override;
    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP ReceiveMultiple(IMediaSample** samples, long count, long* processed) override;
    STDMETHODIMP ReceiveCanBlock() override;

  private:
    SoundInputPin(const SoundInputPin&) = delete;
    SoundInputPin& operator=(const SoundInputPin&) = delete;

    SoundOutput& filter;
    CRITICAL_SECTION lock;
    IPin* connected;
    AM_MEDIA_TYPE connectionType;
};

class SoundOutput final : public IBaseFilter, public IBasicAudio {
  public:
    // A new renderer with one reference, or null.
    static SoundOutput* Create();

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IPersist, IMediaFilter
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;
    STDMETHODIMP Run(REFERENCE_TIME start) override;
    STDMETHODIMP GetState(DWORD timeoutMs, FILTER_STATE* state) override;
    STDMETHODIMP SetSyncSource(IReferenceClock* clock) override;
    STDMETHODIMP GetSyncSource(IReferenceClock** clock) override;

    // IBaseFilter
    STDMETHODIMP EnumPins(IEnumPins** pins) override;
    STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override;
    STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override;
    STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
    STDMETHODIMP QueryVendorInfo(LPWSTR* info) override;

    // IDispatch: no type information.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                               DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                        VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

    // IBasicAudio: the volume, in hundredths of a decibel; no balance.
    STDMETHODIMP put_Volume(long volume) override;
    STDMETHODIMP get_Volume(long* volume) override;
    STDMETHODIMP put_Balance(long balance) override;
    STDMETHODIMP get_Balance(long* balance) override;

    // For the pin.
    bool IsStopped();
    void CountSample(bool timed); // timed: the sample came with its start and end

  private:
    SoundOutput();
    ~SoundOutput();
    SoundOutput(const SoundOutput&) = delete;
    SoundOutput& operator=(const SoundOutput&) = delete;

    void RecordVolume();

    RefCount references;
    CRITICAL_SECTION lock;
    FILTER_STATE state;
    IReferenceClock* clock;
    IFilterGraph* graph; // not held: the graph holds us
    wchar_t name[MAX_FILTER_NAME];
    long volume;
    CamsimBlock block;
    SoundInputPin pin;
};

#endif
