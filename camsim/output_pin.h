// An output pin of the capture filter, its capture pin or its preview pin:
// connection and allocator negotiation, the pin category for the capture
// graph builder, buffer suggestions, and the streaming thread that delivers
// samples while the graph runs. Its lifetime is its filter's: it counts
// references there.
#ifndef CAMSIM_OUTPUT_PIN_H
#define CAMSIM_OUTPUT_PIN_H

#include <dshow.h>

#include "camsim/source_kind.h"

class CaptureFilter;

class OutputPin : public IPin, public IKsPropertySet, public IAMBufferNegotiation {
  public:
    OutputPin(CaptureFilter& filter, const SourceKind& kind, bool preview);
    ~OutputPin();

    // IUnknown, delegated to the filter.
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

    // IKsPropertySet: the pin category, read-only.
    STDMETHODIMP Set(REFGUID set, DWORD id, void* instance, DWORD instanceLength, void* data,
                     DWORD length) override;
    STDMETHODIMP Get(REFGUID set, DWORD id, void* instance, DWORD instanceLength, void* data,
                     DWORD length, DWORD* returned) override;
    STDMETHODIMP QuerySupported(REFGUID set, DWORD id, DWORD* support) override;

    // IAMBufferNegotiation
    STDMETHODIMP SuggestAllocatorProperties(const ALLOCATOR_PROPERTIES* properties) override;
    STDMETHODIMP GetAllocatorProperties(ALLOCATOR_PROPERTIES* properties) override;

    // State changes passed on by the filter, under its lock.
    HRESULT Activate();                   // stopped -> paused: commit the allocator
    HRESULT Run(REFERENCE_TIME start);    // start or resume delivery
    void Pause();                         // hold delivery
    void Deactivate();                    // -> stopped: decommit, then join the thread

    const wchar_t* Name() const { return preview ? kind.previewPinName : kind.pinName; }
    bool IsConnected() const { return connected != nullptr; }

  private:
    OutputPin(const OutputPin&) = delete;
    OutputPin& operator=(const OutputPin&) = delete;

    HRESULT TryConnection(IPin* receivePin, const AM_MEDIA_TYPE& type);
    bool TryPreferredTypes(IPin* receivePin, const AM_MEDIA_TYPE* request);
    HRESULT NegotiateAllocator(IMemInputPin* input, const AM_MEDIA_TYPE& type);
    HRESULT ConfigureAllocator(IMemAllocator* allocator, IMemInputPin* input,
                               const AM_MEDIA_TYPE& type);
    bool Offers(const AM_MEDIA_TYPE& type) const;
    bool Accepts(const AM_MEDIA_TYPE& type) const;
    void ReleaseConnection();

    static DWORD WINAPI StreamThread(void* pin);
    void Stream();
    bool WaitForDueTime(unsigned long index, REFERENCE_TIME* start, REFERENCE_TIME* end);
    HRESULT DeliverSample(unsigned long index, REFERENCE_TIME start, REFERENCE_TIME end);

    CaptureFilter& filter;
    const SourceKind& kind;
    const bool preview;

    IPin* connected;
    IMemInputPin* memInput;
    IMemAllocator* allocator;
    AM_MEDIA_TYPE connectionType;
    ALLOCATOR_PROPERTIES suggested; // negative fields: no preference
    long sampleBytes;               // what each sample of the connection carries

    HANDLE thread;
    HANDLE stopEvent;    // set by Deactivate
    HANDLE runningEvent; // set while the graph runs
    IReferenceClock* clock; // the graph's clock as of Run, or null
    REFERENCE_TIME streamStart;
    REFERENCE_TIME resumeOffset;  // stream time of the first sample after a Run
    unsigned long resumeIndex;    // index of that sample
    bool resynchronise;           // set by Run, taken by the streaming thread
    CRITICAL_SECTION timing;      // guards the four fields above
};

#endif
