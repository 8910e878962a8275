// A capture source filter of the simulated camera: the video device (with
// the vendor property set) or an audio device, told apart by its
// SourceKind. One instance per bound device; the camera's state lives in the
// shared control block, so every instance drives the same deck. An audio
// device offers only a capture pin, as the system's sound card filters do;
// one whose slot asks for it also offers a preview pin, whose samples a
// preview plays with their times.
#ifndef CAMSIM_CAPTURE_FILTER_H
#define CAMSIM_CAPTURE_FILTER_H

#include <dshow.h>

#include "camsim/camsim_control.h"
#include "camsim/com_object.h"
#include "camsim/output_pin.h"
#include "camsim/source_kind.h"

class CaptureFilter final : public IBaseFilter,
                      public IKsPropertySet,
                      public IPersistPropertyBag,
                      public IAMFilterMiscFlags {
  public:
    // A new filter with one reference, or null.
    static CaptureFilter* Create(const SourceKind& kind);

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IPersist, IPersistPropertyBag
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    STDMETHODIMP InitNew() override;
    STDMETHODIMP Load(IPropertyBag* bag, IErrorLog* log) override;
    STDMETHODIMP Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) override;

    // IMediaFilter
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

    // IKsPropertySet: the camera's vendor set (video filter only).
    STDMETHODIMP Set(REFGUID set, DWORD id, void* instance, DWORD instanceLength, void* data,
                     DWORD length) override;
    STDMETHODIMP Get(REFGUID set, DWORD id, void* instance, DWORD instanceLength, void* data,
                     DWORD length, DWORD* returned) override;
    STDMETHODIMP QuerySupported(REFGUID set, DWORD id, DWORD* support) override;

    // IAMFilterMiscFlags: a live source.
    STDMETHODIMP_(ULONG) GetMiscFlags() override;

    // For the pin.
    bool IsStopped();
    IReferenceClock* ClockReference(); // with a reference, or null
    CamsimBlock& Block() { return block; }
    uint32_t Coarseness() const { return coarseness; }
    int DeviceIndex() const { return deviceIndex; }
    // Counts a delivered video frame in the shared block.
    void CountFrame();

  private:
    explicit CaptureFilter(const SourceKind& kind);
    HRESULT Activate(); // stopped -> paused, for both pins
    ~CaptureFilter();
    CaptureFilter(const CaptureFilter&) = delete;
    CaptureFilter& operator=(const CaptureFilter&) = delete;

    bool DevicePresent();
    bool SlotOffersPreview();
    bool HasFault(uint32_t fault);
    static DWORD WINAPI WatchThread(void* filter);
    void WatchDevice();
    void StartWatching();
    void StopWatching();

    RefCount references;
    const SourceKind& kind;
    int deviceIndex; // video device 0/1 or audio slot, from the Instance key
    CRITICAL_SECTION lock;
    FILTER_STATE state;
    IReferenceClock* clock;
    IFilterGraph* graph;        // not held: the graph holds us
    IMediaEventSink* eventSink; // not held, for the same reason
    wchar_t name[MAX_FILTER_NAME];
    uint32_t coarseness;
    bool firstFrameSeen;
    CamsimBlock block;
    HANDLE watcher;
    HANDLE watcherQuit;
    // A Preview pin beside Capture: an audio device whose slot asks for one.
    bool offersPreview;
    OutputPin pin;
    OutputPin previewPin; // offered only when offersPreview
};

#endif
