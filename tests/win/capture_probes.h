// Test doubles for the catalogue and the graph: device categories written
// into the registry as the system device enumerator reads them, and a probe
// capture filter, created through COM by those entries, that records how the
// graph treats it.
#ifndef MORVANE_TESTS_WIN_CAPTURE_PROBES_H
#define MORVANE_TESTS_WIN_CAPTURE_PROBES_H

#include <windows.h>
#include <dshow.h>

#include <memory>
#include <string>
#include <vector>

// {6D1A3C52-0B7E-4E8B-9A55-3C0F3E6B2A11}: the probe filter's class.
extern const CLSID kProbeFilterClass;

// A category of capture devices in the registry, removed again on destruction.
class DeviceCategory {
  public:
    // A category of the test's own, or an existing one such as the audio
    // capture devices.
    explicit DeviceCategory(const GUID& category);
    ~DeviceCategory();

    // Adds a device; a null friendly name leaves the name out. The tag is
    // what the created probe reports, to tell the devices apart.
    void Add(const std::string& instance, const char* friendlyName, const std::string& tag,
             const CLSID& filterClass = kProbeFilterClass);
    const GUID& Id() const { return id; }

  private:
    GUID id;
    std::string path;
    std::vector<std::string> instances;
};

struct ProbeBehaviour {
    bool hasCapturePin = true;
    bool hasBufferNegotiation = true;
    HRESULT suggestResult = S_OK;
};

class ProbeFilter;

// The probe's only pin, named "Capture".
class ProbePin : public IPin, public IAMBufferNegotiation {
  public:
    ProbePin(ProbeFilter* owner) : filter(owner) {}
    LONG references = 0;
    std::vector<ALLOCATOR_PROPERTIES> suggestions;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }

    HRESULT STDMETHODCALLTYPE Connect(IPin*, const AM_MEDIA_TYPE*) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) override {
        return E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE Disconnect() override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE ConnectedTo(IPin** pin) override;
    HRESULT STDMETHODCALLTYPE ConnectionMediaType(AM_MEDIA_TYPE*) override {
        return VFW_E_NOT_CONNECTED;
    }
    HRESULT STDMETHODCALLTYPE QueryPinInfo(PIN_INFO* info) override;
    HRESULT STDMETHODCALLTYPE QueryDirection(PIN_DIRECTION* direction) override;
    HRESULT STDMETHODCALLTYPE QueryId(LPWSTR* id) override;
    HRESULT STDMETHODCALLTYPE QueryAccept(const AM_MEDIA_TYPE*) override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE EnumMediaTypes(IEnumMediaTypes**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryInternalConnections(IPin**, ULONG*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EndOfStream() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE BeginFlush() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EndFlush() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override {
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE SuggestAllocatorProperties(const ALLOCATOR_PROPERTIES* p) override;
    HRESULT STDMETHODCALLTYPE GetAllocatorProperties(ALLOCATOR_PROPERTIES*) override {
        return E_NOTIMPL;
    }

  private:
    ProbeFilter* filter;
};

class ProbeFilter : public IBaseFilter, public IPersistPropertyBag {
  public:
    explicit ProbeFilter(const ProbeBehaviour& behaviour) : behaviour(behaviour), pin(this) {}
    ProbeBehaviour behaviour;
    ProbePin pin;
    LONG references = 0;
    std::string tag;
    // Every graph the filter was told to join; NULL when it was removed.
    std::vector<IFilterGraph*> joins;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }

    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* id) override;
    HRESULT STDMETHODCALLTYPE Stop() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Pause() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetState(DWORD, FILTER_STATE* state) override;
    HRESULT STDMETHODCALLTYPE SetSyncSource(IReferenceClock*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetSyncSource(IReferenceClock** clock) override;
    HRESULT STDMETHODCALLTYPE EnumPins(IEnumPins** pins) override;
    HRESULT STDMETHODCALLTYPE FindPin(LPCWSTR id, IPin** found) override;
    HRESULT STDMETHODCALLTYPE QueryFilterInfo(FILTER_INFO* info) override;
    HRESULT STDMETHODCALLTYPE JoinFilterGraph(IFilterGraph* graph, LPCWSTR) override;
    HRESULT STDMETHODCALLTYPE QueryVendorInfo(LPWSTR*) override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE InitNew() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Load(IPropertyBag* bag, IErrorLog*) override;
    HRESULT STDMETHODCALLTYPE Save(IPropertyBag*, BOOL, BOOL) override { return E_NOTIMPL; }

    IFilterGraph* CurrentGraph() const { return joins.empty() ? NULL : joins.back(); }

  private:
    IFilterGraph* graph = NULL;
};

// Creates probe filters for the devices of the categories while registered,
// and keeps every one it made so that tests can look at them afterwards.
// Needs COM initialised on the thread for its whole life.
class ProbeFactory : public IClassFactory {
  public:
    ProbeFactory();
    ~ProbeFactory();
    ProbeBehaviour behaviour;
    std::vector<std::unique_ptr<ProbeFilter>> made;

    // The probe behind a filter interface, or nullptr.
    ProbeFilter* Find(IUnknown* filter) const;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

  private:
    DWORD cookie = 0;
};

#endif
