#include "camsim/capture_filter.h"

#include <new>

#include "camsim/device_registry.h"
#include "camsim/enumerators.h"
#include "camsim/filter_membership.h"
#include "camsim/test_picture.h"
#include "camsim/vendor_properties.h"
#include "camsim/vendor_protocol.h"

namespace {

// {FB207460-5945-11D3-9099-00A0CC255AB3}
const GUID kVendorPropertySet = {
    0xfb207460, 0x5945, 0x11d3, {0x90, 0x99, 0x00, 0xa0, 0xcc, 0x25, 0x5a, 0xb3}};

const char kDriverKey[] = "SOFTWARE\\KIVO ZUL\\Orvelle\\REL3";
const DWORD kWatchIntervalMs = 100;

int32_t AnswerCode(VendorAnswer answer) {
    switch (answer) {
    case VendorOk:
        return S_OK;
    case VendorSFalse:
        return S_FALSE;
    case VendorFailed:
        return E_FAIL;
    case VendorNotConnected:
        return HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED);
    case VendorBufferTooSmall:
        return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    case VendorWrongDirection:
        return HRESULT_FROM_WIN32(ERROR_INVALID_FUNCTION);
    case VendorUnknownProperty:
        return E_PROP_ID_UNSUPPORTED;
    case VendorMalformedCommand:
        return E_INVALIDARG;
    case VendorNotReady:
        return HRESULT_FROM_WIN32(ERROR_NOT_READY);
    case VendorCommandUnsupported:
        return HRESULT_FROM_WIN32(ERROR_NOT_SUPPORTED);
    }
    return E_UNEXPECTED;
}

// The picture's coarseness from the driver's quality value; a missing value
// leaves full detail.
uint32_t ReadCoarseness() {
    HKEY key;
    DWORD quality = 0;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kDriverKey, 0, KEY_QUERY_VALUE, &key) ==
        ERROR_SUCCESS) {
        DWORD type = 0;
        DWORD length = sizeof quality;
        if (RegQueryValueExA(key, "SFMin", nullptr, &type, reinterpret_cast<BYTE*>(&quality),
                             &length) != ERROR_SUCCESS ||
            type != REG_DWORD)
            quality = 0;
        RegCloseKey(key);
    }
    return CoarsenessFromQuality(quality);
}

BOOL CALLBACK NoteWindow(HWND, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
}

// Whether the calling thread still has a top-level window.
bool ThreadHasWindow() {
    bool found = false;
    EnumThreadWindows(GetCurrentThreadId(), NoteWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

int ParseIndex(const wchar_t* text) {
    int value = 0;
    for (; *text >= L'0' && *text <= L'9' && value < 1000; ++text)
        value = value * 10 + (*text - L'0');
    return value;
}

} // namespace

CaptureFilter* CaptureFilter::Create(const SourceKind& kind) {
    CaptureFilter* filter = new (std::nothrow) CaptureFilter(kind);
    if (filter && !filter->block.Open()) {
        filter->Release();
        filter = nullptr;
    }
    return filter;
}

CaptureFilter::CaptureFilter(const SourceKind& kind)
    : kind(kind), deviceIndex(0), state(State_Stopped), clock(nullptr), graph(nullptr),
      eventSink(nullptr), coarseness(1), firstFrameSeen(false), watcher(nullptr),
      watcherQuit(nullptr), offersPreview(false), pin(*this, kind, false),
      previewPin(*this, kind, true) {
    InitializeCriticalSection(&lock);
    name[0] = 0;
}

CaptureFilter::~CaptureFilter() {
    StopWatching();
    pin.Deactivate();
    pin.Disconnect();
    previewPin.Deactivate();
    previewPin.Disconnect();
    if (clock)
        clock->Release();
    DeleteCriticalSection(&lock);
}

STDMETHODIMP CaptureFilter::QueryInterface(REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPersist) ||
        IsEqualIID(iid, IID_IMediaFilter) || IsEqualIID(iid, IID_IBaseFilter))
        return GiveInterface(static_cast<IBaseFilter*>(this), out);
    if (IsEqualIID(iid, IID_IPersistPropertyBag))
        return GiveInterface(static_cast<IPersistPropertyBag*>(this), out);
    if (IsEqualIID(iid, IID_IAMFilterMiscFlags))
        return GiveInterface(static_cast<IAMFilterMiscFlags*>(this), out);
    if (kind.isVideo && IsEqualIID(iid, IID_IKsPropertySet))
        return GiveInterface(static_cast<IKsPropertySet*>(this), out);
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CaptureFilter::AddRef() { return references.Add(); }

STDMETHODIMP_(ULONG) CaptureFilter::Release() {
    ULONG left = references.Drop();
    if (left == 0)
        delete this;
    return left;
}

STDMETHODIMP CaptureFilter::GetClassID(CLSID* clsid) {
    if (!clsid)
        return E_POINTER;
    *clsid = *kind.clsid;
    return S_OK;
}

STDMETHODIMP CaptureFilter::InitNew() { return S_OK; }

STDMETHODIMP CaptureFilter::Load(IPropertyBag* bag, IErrorLog* log) {
    if (!bag)
        return E_POINTER;
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BSTR;
    // A bag without the index (a device registered by hand) is device 0.
    if (SUCCEEDED(bag->Read(kDeviceIndexProperty, &value, log)) && value.vt == VT_BSTR &&
        value.bstrVal)
        deviceIndex = ParseIndex(value.bstrVal);
    VariantClear(&value);
    offersPreview = kind.previewPinName && SlotOffersPreview();
    return S_OK;
}

STDMETHODIMP CaptureFilter::Save(IPropertyBag*, BOOL, BOOL) { return E_NOTIMPL; }

STDMETHODIMP CaptureFilter::Stop() {
    bool reportsEvent = kind.isVideo && HasFault(FaultEventsOnStop);
    EnterCriticalSection(&lock);
    pin.Deactivate();
    previewPin.Deactivate();
    state = State_Stopped;
    // Left in the graph's queue as its owner tears it down, the way a driver
    // reports dropped frames while it is being stopped.
    if (reportsEvent && eventSink)
        eventSink->Notify(EC_QUALITY_CHANGE, 0, 0);
    LeaveCriticalSection(&lock);
    return S_OK;
}

// Both pins commit their allocators, or neither stays committed.
HRESULT CaptureFilter::Activate() {
    HRESULT result = pin.Activate();
    if (SUCCEEDED(result))
        result = previewPin.Activate();
    if (FAILED(result))
        pin.Deactivate();
    return result;
}

STDMETHODIMP CaptureFilter::Pause() {
    EnterCriticalSection(&lock);
    HRESULT result = S_OK;
    if (state == State_Stopped)
        result = Activate();
    else if (state == State_Running) {
        pin.Pause();
        previewPin.Pause();
    }
    if (SUCCEEDED(result))
        state = State_Paused;
    LeaveCriticalSection(&lock);
    return result;
}

STDMETHODIMP CaptureFilter::Run(REFERENCE_TIME start) {
    EnterCriticalSection(&lock);
    HRESULT result = S_OK;
    if (state == State_Stopped)
        result = Activate();
    if (SUCCEEDED(result))
        result = pin.Run(start);
    if (SUCCEEDED(result))
        result = previewPin.Run(start);
    if (SUCCEEDED(result))
        state = State_Running;
    LeaveCriticalSection(&lock);
    return result;
}

STDMETHODIMP CaptureFilter::GetState(DWORD, FILTER_STATE* current) {
    if (!current)
        return E_POINTER;
    EnterCriticalSection(&lock);
    *current = state;
    LeaveCriticalSection(&lock);
    // A live source has nothing to cue while paused; the video filter says
    // so once it is connected, the sound filter always.
    bool cannotCue = *current == State_Paused && (!kind.isVideo || pin.IsConnected());
    return cannotCue ? VFW_S_CANT_CUE : S_OK;
}

STDMETHODIMP CaptureFilter::SetSyncSource(IReferenceClock* newClock) {
    return ReplaceClock(lock, clock, newClock);
}

STDMETHODIMP CaptureFilter::GetSyncSource(IReferenceClock** current) {
    if (!current)
        return E_POINTER;
    *current = ClockReference();
    return S_OK;
}

IReferenceClock* CaptureFilter::ClockReference() {
    return ::ClockReference(lock, clock);
}

bool CaptureFilter::IsStopped() {
    EnterCriticalSection(&lock);
    bool stopped = state == State_Stopped;
    LeaveCriticalSection(&lock);
    return stopped;
}

STDMETHODIMP CaptureFilter::EnumPins(IEnumPins** pins) {
    if (!pins)
        return E_POINTER;
    *pins = NewPinEnumerator(this, &pin, offersPreview ? &previewPin : nullptr);
    return *pins ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CaptureFilter::FindPin(LPCWSTR id, IPin** found) {
    if (offersPreview && id && lstrcmpW(id, previewPin.Name()) == 0)
        return GiveInterface(static_cast<IPin*>(&previewPin), reinterpret_cast<void**>(found));
    return FindOnlyPin(id, pin.Name(), static_cast<IPin*>(&pin), found);
}

STDMETHODIMP CaptureFilter::QueryFilterInfo(FILTER_INFO* info) {
    return DescribeFilter(lock, name, graph, info);
}

STDMETHODIMP CaptureFilter::JoinFilterGraph(IFilterGraph* newGraph, LPCWSTR newName) {
    StopWatching();
    EnterCriticalSection(&lock);
    graph = newGraph;
    eventSink = nullptr;
    lstrcpynW(name, newName ? newName : L"", MAX_FILTER_NAME);
    IMediaEventSink* sink = nullptr;
    if (graph && SUCCEEDED(graph->QueryInterface(IID_IMediaEventSink,
                                                 reinterpret_cast<void**>(&sink)))) {
        // Held without a reference: the graph holds this filter.
        eventSink = sink;
        sink->Release();
    }
    LeaveCriticalSection(&lock);
    if (!graph) {
        if (kind.isVideo && !ThreadHasWindow()) {
            if (ControlBlock* shared = block.Lock()) {
                ++shared->leftAfterWindows;
                block.Unlock();
            }
        }
        return S_OK;
    }
    if (kind.isVideo) {
        // The driver takes the quality when its graph is built.
        coarseness = ReadCoarseness();
        firstFrameSeen = false;
        if (ControlBlock* shared = block.Lock()) {
            shared->graphJoinMs = GetTickCount();
            ++shared->graphJoins;
            shared->firstFrameDelayMs = -1;
            block.Unlock();
        }
    } else if (ControlBlock* shared = block.Lock()) {
        shared->lastAudioJoined = deviceIndex;
        block.Unlock();
    }
    StartWatching();
    return S_OK;
}

STDMETHODIMP CaptureFilter::QueryVendorInfo(LPWSTR* info) {
    return NoVendorInfo(info);
}

STDMETHODIMP CaptureFilter::Set(REFGUID set, DWORD id, void*, DWORD, void* data, DWORD length) {
    if (!IsEqualGUID(set, kVendorPropertySet))
        return E_PROP_SET_UNSUPPORTED;
    if (!data)
        return E_POINTER;
    ControlBlock* shared = block.Lock();
    if (!shared)
        return E_FAIL;
    VendorAnswer answer = SetVendorProperty(*shared, id, static_cast<const uint8_t*>(data),
                                            length, GetTickCount(), AnswerCode);
    block.Unlock();
    return AnswerCode(answer);
}

STDMETHODIMP CaptureFilter::Get(REFGUID set, DWORD id, void*, DWORD, void* data, DWORD length,
                                DWORD* returned) {
    if (!IsEqualGUID(set, kVendorPropertySet))
        return E_PROP_SET_UNSUPPORTED;
    if (!data || !returned)
        return E_POINTER;
    ControlBlock* shared = block.Lock();
    if (!shared)
        return E_FAIL;
    uint32_t written = 0;
    VendorAnswer answer = GetVendorProperty(*shared, id, static_cast<uint8_t*>(data), length,
                                            &written, GetTickCount());
    block.Unlock();
    *returned = written;
    return AnswerCode(answer);
}

STDMETHODIMP CaptureFilter::QuerySupported(REFGUID set, DWORD id, DWORD* support) {
    if (!IsEqualGUID(set, kVendorPropertySet))
        return E_PROP_SET_UNSUPPORTED;
    if (!support)
        return E_POINTER;
    if (id == kPropertyCapability || id == kPropertyStatus)
        *support = KSPROPERTY_SUPPORT_GET;
    else if (id == kPropertyCommand)
        *support = KSPROPERTY_SUPPORT_SET;
    else
        return E_PROP_ID_UNSUPPORTED;
    return S_OK;
}

STDMETHODIMP_(ULONG) CaptureFilter::GetMiscFlags() { return AM_FILTER_MISC_FLAGS_IS_SOURCE; }

void CaptureFilter::CountFrame() {
    if (ControlBlock* shared = block.Lock()) {
        ++shared->framesDelivered;
        if (!firstFrameSeen)
            shared->firstFrameDelayMs = static_cast<int32_t>(GetTickCount() - shared->graphJoinMs);
        firstFrameSeen = true;
        block.Unlock();
    }
}

bool CaptureFilter::HasFault(uint32_t fault) {
    ControlBlock* shared = block.Lock();
    if (!shared)
        return false;
    bool set = (shared->settings.faults & fault) != 0;
    block.Unlock();
    return set;
}

bool CaptureFilter::DevicePresent() {
    ControlBlock* shared = block.Lock();
    if (!shared)
        return true; // nothing known: keep the graph as it is
    bool present = kind.isVideo ? shared->settings.plugged != 0
                                : AudioDevicePresent(shared->settings, deviceIndex);
    block.Unlock();
    return present;
}

// Whether the bound audio device's slot asks for a Preview pin.
bool CaptureFilter::SlotOffersPreview() {
    if (deviceIndex >= kMaxAudioDevices)
        return false;
    ControlBlock* shared = block.Lock();
    if (!shared)
        return false;
    bool offers = shared->settings.audio[deviceIndex].previewPin != 0;
    block.Unlock();
    return offers;
}

// The device's presence is watched while the filter is in a graph: a lost
// device is reported to the graph as a real driver does.
DWORD WINAPI CaptureFilter::WatchThread(void* filter) {
    static_cast<CaptureFilter*>(filter)->WatchDevice();
    return 0;
}

void CaptureFilter::WatchDevice() {
    // A filter is bound only for a listed device: one gone by the join, or
    // before the thread first looks, is reported lost all the same.
    bool present = true;
    while (WaitForSingleObject(watcherQuit, kWatchIntervalMs) == WAIT_TIMEOUT) {
        bool now = DevicePresent();
        if (now == present)
            continue;
        present = now;
        EnterCriticalSection(&lock);
        if (eventSink)
            eventSink->Notify(EC_DEVICE_LOST, reinterpret_cast<LONG_PTR>(
                                                  static_cast<IBaseFilter*>(this)),
                              present ? 1 : 0);
        LeaveCriticalSection(&lock);
    }
}

void CaptureFilter::StartWatching() {
    watcherQuit = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (watcherQuit)
        watcher = CreateThread(nullptr, 0, WatchThread, this, 0, nullptr);
    if (!watcher)
        StopWatching();
}

void CaptureFilter::StopWatching() {
    if (watcher) {
        SetEvent(watcherQuit);
        WaitForSingleObject(watcher, INFINITE);
        CloseHandle(watcher);
        watcher = nullptr;
    }
    if (watcherQuit)
        CloseHandle(watcherQuit);
    watcherQuit = nullptr;
}
