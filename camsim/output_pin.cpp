#include "camsim/output_pin.h"

#include "camsim/capture_filter.h"
#include "camsim/enumerators.h"
#include "camsim/media_types.h"

namespace {

const LONGLONG kUnitsPerMs = 10000;
// How far ahead of its delivery a preview sample is stamped. A renderer
// places each sample at its time: stamped at the moment it arrives, every
// sample would find the last one played out and be cut to the renderer's
// position; this far ahead, the next sample is always there in time.
const REFERENCE_TIME kPreviewLead = 100 * kUnitsPerMs;

} // namespace

OutputPin::OutputPin(CaptureFilter& filter, const SourceKind& kind, bool preview)
    : filter(filter), kind(kind), preview(preview), connected(nullptr), memInput(nullptr),
      allocator(nullptr), connectionType(), suggested(), sampleBytes(0), thread(nullptr),
      stopEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      runningEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr)), clock(nullptr), streamStart(0),
      resumeOffset(0), resumeIndex(0), resynchronise(false) {
    suggested.cBuffers = suggested.cbBuffer = suggested.cbAlign = suggested.cbPrefix = -1;
    InitializeCriticalSection(&timing);
}

OutputPin::~OutputPin() {
    Deactivate();
    ReleaseConnection();
    if (stopEvent)
        CloseHandle(stopEvent);
    if (runningEvent)
        CloseHandle(runningEvent);
    DeleteCriticalSection(&timing);
}

STDMETHODIMP OutputPin::QueryInterface(REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPin))
        return GiveInterface(static_cast<IPin*>(this), out);
    if (IsEqualIID(iid, IID_IKsPropertySet))
        return GiveInterface(static_cast<IKsPropertySet*>(this), out);
    if (!kind.isVideo && IsEqualIID(iid, IID_IAMBufferNegotiation))
        return GiveInterface(static_cast<IAMBufferNegotiation*>(this), out);
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) OutputPin::AddRef() { return filter.AddRef(); }

STDMETHODIMP_(ULONG) OutputPin::Release() { return filter.Release(); }

bool OutputPin::Offers(const AM_MEDIA_TYPE& request) const {
    for (int index = 0; index < kind.mediaTypeCount; ++index) {
        AM_MEDIA_TYPE offered;
        kind.GetMediaType(index, &offered);
        if (MediaTypeMatches(request, offered))
            return true;
    }
    return false;
}

// A type the pin takes as it is: complete, and one of its own.
bool OutputPin::Accepts(const AM_MEDIA_TYPE& type) const {
    return IsCompleteMediaType(type) && Offers(type);
}

STDMETHODIMP OutputPin::Connect(IPin* receivePin, const AM_MEDIA_TYPE* type) {
    if (!receivePin)
        return E_POINTER;
    if (connected)
        return VFW_E_ALREADY_CONNECTED;
    if (!filter.IsStopped())
        return VFW_E_NOT_STOPPED;
    if (type && IsCompleteMediaType(*type))
        return Accepts(*type) ? TryConnection(receivePin, *type) : kind.refusedType;
    // No type or a partial one: the receiving pin's preferred types first,
    // then the pin's own, each within what the partial type asks for.
    if (TryPreferredTypes(receivePin, type))
        return S_OK;
    for (int index = 0; index < kind.mediaTypeCount; ++index) {
        AM_MEDIA_TYPE offered;
        kind.GetMediaType(index, &offered);
        if ((!type || MediaTypeMatches(*type, offered)) &&
            SUCCEEDED(TryConnection(receivePin, offered)))
            return S_OK;
    }
    return VFW_E_NO_ACCEPTABLE_TYPES;
}

bool OutputPin::TryPreferredTypes(IPin* receivePin, const AM_MEDIA_TYPE* request) {
    IEnumMediaTypes* types = nullptr;
    if (FAILED(receivePin->EnumMediaTypes(&types)) || !types)
        return false; // a pin that names no types leaves the choice to ours
    bool connectedNow = false;
    AM_MEDIA_TYPE* candidate = nullptr;
    while (!connectedNow && types->Next(1, &candidate, nullptr) == S_OK && candidate) {
        connectedNow = (!request || MediaTypeMatches(*request, *candidate)) &&
                       Accepts(*candidate) && SUCCEEDED(TryConnection(receivePin, *candidate));
        DeleteMediaTypeCopy(candidate);
        candidate = nullptr;
    }
    types->Release();
    return connectedNow;
}

HRESULT OutputPin::TryConnection(IPin* receivePin, const AM_MEDIA_TYPE& type) {
    HRESULT result = receivePin->ReceiveConnection(this, &type);
    if (FAILED(result))
        return result;
    IMemInputPin* input = nullptr;
    result = receivePin->QueryInterface(IID_IMemInputPin, reinterpret_cast<void**>(&input));
    if (SUCCEEDED(result))
        result = CopyMediaType(&connectionType, type);
    if (SUCCEEDED(result))
        result = NegotiateAllocator(input, type);
    if (FAILED(result)) {
        if (input)
            input->Release();
        ClearMediaType(connectionType);
        receivePin->Disconnect();
        return result;
    }
    connected = receivePin;
    connected->AddRef();
    memInput = input;
    return S_OK;
}

// The downstream pin's allocator first, our own memory allocator second.
HRESULT OutputPin::NegotiateAllocator(IMemInputPin* input, const AM_MEDIA_TYPE& type) {
    IMemAllocator* candidate = nullptr;
    if (SUCCEEDED(input->GetAllocator(&candidate))) {
        if (SUCCEEDED(ConfigureAllocator(candidate, input, type)))
            return S_OK;
        candidate->Release();
        candidate = nullptr;
    }
    HRESULT result = CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IMemAllocator, reinterpret_cast<void**>(&candidate));
    if (FAILED(result))
        return result;
    result = ConfigureAllocator(candidate, input, type);
    if (FAILED(result))
        candidate->Release();
    return result;
}

HRESULT OutputPin::ConfigureAllocator(IMemAllocator* candidate, IMemInputPin* input,
                                      const AM_MEDIA_TYPE& type) {
    ALLOCATOR_PROPERTIES wanted = {kind.bufferCount, kind.BufferSize(type), 1, 0};
    ALLOCATOR_PROPERTIES required = {};
    if (SUCCEEDED(input->GetAllocatorRequirements(&required))) {
        if (required.cBuffers > wanted.cBuffers)
            wanted.cBuffers = required.cBuffers;
        if (required.cbAlign > wanted.cbAlign)
            wanted.cbAlign = required.cbAlign;
        wanted.cbPrefix = required.cbPrefix;
    }
    // What the application suggested wins over both.
    if (suggested.cBuffers > 0)
        wanted.cBuffers = suggested.cBuffers;
    // A suggested size keeps whole sound frames only.
    if (kind.SampleBytes(type, suggested.cbBuffer) > 0)
        wanted.cbBuffer = kind.SampleBytes(type, suggested.cbBuffer);
    if (suggested.cbAlign > 0)
        wanted.cbAlign = suggested.cbAlign;
    if (suggested.cbPrefix >= 0)
        wanted.cbPrefix = suggested.cbPrefix;
    ALLOCATOR_PROPERTIES actual = {};
    HRESULT result = candidate->SetProperties(&wanted, &actual);
    if (SUCCEEDED(result) && kind.SampleBytes(type, actual.cbBuffer) == 0)
        result = VFW_E_SIZENOTSET; // a picture, or one sound frame, must fit a buffer
    if (SUCCEEDED(result))
        result = input->NotifyAllocator(candidate, FALSE);
    if (SUCCEEDED(result)) {
        allocator = candidate;
        sampleBytes = kind.SampleBytes(type, actual.cbBuffer);
    }
    return result;
}

STDMETHODIMP OutputPin::ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) {
    return VFW_E_INVALID_DIRECTION;
}

void OutputPin::ReleaseConnection() {
    if (allocator)
        allocator->Release();
    if (memInput)
        memInput->Release();
    if (connected)
        connected->Release();
    allocator = nullptr;
    memInput = nullptr;
    connected = nullptr;
    ClearMediaType(connectionType);
}

STDMETHODIMP OutputPin::Disconnect() {
    if (!filter.IsStopped())
        return VFW_E_NOT_STOPPED;
    if (!connected)
        return S_FALSE;
    ReleaseConnection();
    return S_OK;
}

STDMETHODIMP OutputPin::ConnectedTo(IPin** pin) {
    if (!pin)
        return E_POINTER;
    *pin = connected;
    if (!connected)
        return VFW_E_NOT_CONNECTED;
    connected->AddRef();
    return S_OK;
}

STDMETHODIMP OutputPin::ConnectionMediaType(AM_MEDIA_TYPE* type) {
    if (!type)
        return E_POINTER;
    if (!connected) {
        *type = AM_MEDIA_TYPE();
        return VFW_E_NOT_CONNECTED;
    }
    return CopyMediaType(type, connectionType);
}

STDMETHODIMP OutputPin::QueryPinInfo(PIN_INFO* info) {
    if (!info)
        return E_POINTER;
    info->pFilter = &filter;
    filter.AddRef();
    info->dir = PINDIR_OUTPUT;
    lstrcpynW(info->achName, Name(), MAX_PIN_NAME);
    return S_OK;
}

STDMETHODIMP OutputPin::QueryDirection(PIN_DIRECTION* direction) {
    if (!direction)
        return E_POINTER;
    *direction = PINDIR_OUTPUT;
    return S_OK;
}

STDMETHODIMP OutputPin::QueryId(LPWSTR* id) {
    if (!id)
        return E_POINTER;
    int bytes = (lstrlenW(Name()) + 1) * sizeof(wchar_t);
    *id = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (!*id)
        return E_OUTOFMEMORY;
    lstrcpyW(*id, Name());
    return S_OK;
}

STDMETHODIMP OutputPin::QueryAccept(const AM_MEDIA_TYPE* type) {
    if (!type)
        return E_POINTER;
    return Accepts(*type) ? S_OK : S_FALSE;
}

STDMETHODIMP OutputPin::EnumMediaTypes(IEnumMediaTypes** types) {
    if (!types)
        return E_POINTER;
    *types = NewMediaTypeEnumerator(kind, static_cast<IPin*>(this));
    return *types ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP OutputPin::QueryInternalConnections(IPin**, ULONG*) { return E_NOTIMPL; }

// An output pin receives no stream control from downstream.
STDMETHODIMP OutputPin::EndOfStream() { return E_UNEXPECTED; }
STDMETHODIMP OutputPin::BeginFlush() { return E_UNEXPECTED; }
STDMETHODIMP OutputPin::EndFlush() { return E_UNEXPECTED; }
STDMETHODIMP OutputPin::NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) { return S_OK; }

STDMETHODIMP OutputPin::Set(REFGUID set, DWORD, void*, DWORD, void*, DWORD) {
    return IsEqualGUID(set, AMPROPSETID_Pin) ? E_PROP_ID_UNSUPPORTED : E_PROP_SET_UNSUPPORTED;
}

STDMETHODIMP OutputPin::Get(REFGUID set, DWORD id, void*, DWORD, void* data, DWORD length,
                            DWORD* returned) {
    if (!IsEqualGUID(set, AMPROPSETID_Pin))
        return E_PROP_SET_UNSUPPORTED;
    if (id != AMPROPERTY_PIN_CATEGORY)
        return E_PROP_ID_UNSUPPORTED;
    if (!data)
        return E_POINTER;
    // The size it takes is told even when the buffer is too short for it.
    if (returned)
        *returned = sizeof(GUID);
    if (length < sizeof(GUID))
        return E_UNEXPECTED;
    *static_cast<GUID*>(data) = preview ? PIN_CATEGORY_PREVIEW : PIN_CATEGORY_CAPTURE;
    return S_OK;
}

STDMETHODIMP OutputPin::QuerySupported(REFGUID set, DWORD id, DWORD* support) {
    if (!IsEqualGUID(set, AMPROPSETID_Pin))
        return E_PROP_SET_UNSUPPORTED;
    if (id != AMPROPERTY_PIN_CATEGORY)
        return E_PROP_ID_UNSUPPORTED;
    if (support)
        *support = KSPROPERTY_SUPPORT_GET;
    return S_OK;
}

STDMETHODIMP OutputPin::SuggestAllocatorProperties(const ALLOCATOR_PROPERTIES* properties) {
    if (!properties)
        return E_POINTER;
    if (connected)
        return VFW_E_ALREADY_CONNECTED; // taken only before the connection is made
    suggested = *properties;
    return S_OK;
}

STDMETHODIMP OutputPin::GetAllocatorProperties(ALLOCATOR_PROPERTIES* properties) {
    if (!properties)
        return E_POINTER;
    if (!allocator)
        return VFW_E_NO_ALLOCATOR;
    return allocator->GetProperties(properties);
}

HRESULT OutputPin::Activate() {
    if (!allocator)
        return S_OK; // an unconnected pin has nothing to deliver
    ResetEvent(stopEvent);
    return allocator->Commit();
}

HRESULT OutputPin::Run(REFERENCE_TIME start) {
    if (!allocator)
        return S_OK;
    EnterCriticalSection(&timing);
    if (clock)
        clock->Release();
    clock = filter.ClockReference();
    streamStart = start;
    resynchronise = true;
    LeaveCriticalSection(&timing);
    if (!thread) {
        thread = CreateThread(nullptr, 0, StreamThread, this, 0, nullptr);
        if (!thread)
            return E_OUTOFMEMORY;
    }
    SetEvent(runningEvent);
    return S_OK;
}

void OutputPin::Pause() { ResetEvent(runningEvent); }

void OutputPin::Deactivate() {
    ResetEvent(runningEvent);
    SetEvent(stopEvent);
    // Decommit first: it wakes a streaming thread that waits for a buffer.
    if (allocator)
        allocator->Decommit();
    if (thread) {
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        thread = nullptr;
    }
    EnterCriticalSection(&timing);
    if (clock)
        clock->Release();
    clock = nullptr;
    LeaveCriticalSection(&timing);
}

DWORD WINAPI OutputPin::StreamThread(void* pin) {
    static_cast<OutputPin*>(pin)->Stream();
    return 0;
}

void OutputPin::Stream() {
    for (unsigned long index = 0;; ++index) {
        REFERENCE_TIME start, end;
        if (!WaitForDueTime(index, &start, &end))
            return;
        if (preview) {
            start += kPreviewLead;
            end += kPreviewLead;
        }
        if (FAILED(DeliverSample(index, start, end)))
            return;
    }
}

// Waits while paused and until the sample's time on the graph's clock comes,
// and gives its start and end in stream time. Times count from the first
// sample after each Run, so there is no drift, and one sample ends where the
// next starts. Answers false when the pin stops.
bool OutputPin::WaitForDueTime(unsigned long index, REFERENCE_TIME* start, REFERENCE_TIME* end) {
    HANDLE running[2] = {stopEvent, runningEvent};
    for (;;) {
        if (WaitForMultipleObjects(2, running, FALSE, INFINITE) != WAIT_OBJECT_0 + 1)
            return false;
        EnterCriticalSection(&timing);
        REFERENCE_TIME now = 0;
        bool timed = clock && SUCCEEDED(clock->GetTime(&now));
        if (!timed)
            now = static_cast<REFERENCE_TIME>(GetTickCount()) * kUnitsPerMs;
        if (resynchronise) {
            resynchronise = false;
            resumeIndex = index;
            resumeOffset = timed ? now - streamStart : 0;
            if (!timed)
                streamStart = now;
        }
        const unsigned long since = index - resumeIndex;
        *start = resumeOffset + kind.Duration(connectionType, sampleBytes, since);
        *end = resumeOffset + kind.Duration(connectionType, sampleBytes, since + 1);
        REFERENCE_TIME wait = streamStart + *start - now;
        LeaveCriticalSection(&timing);
        if (wait <= 0)
            return true;
        if (WaitForSingleObject(stopEvent, static_cast<DWORD>(wait / kUnitsPerMs + 1)) !=
            WAIT_TIMEOUT)
            return false;
    }
}

HRESULT OutputPin::DeliverSample(unsigned long index, REFERENCE_TIME start, REFERENCE_TIME end) {
    IMediaSample* sample = nullptr;
    HRESULT result = allocator->GetBuffer(&sample, nullptr, nullptr, 0);
    if (FAILED(result))
        return result; // decommitted: the pin is stopping
    BYTE* data = nullptr;
    bool filled = false;
    if (SUCCEEDED(sample->GetPointer(&data)) && sample->GetSize() >= sampleBytes) {
        if (ControlBlock* shared = filter.Block().Lock()) {
            SourceSample source = {
                data,   sampleBytes,         &connectionType, index,
                shared, filter.Coarseness(), GetTickCount(),  filter.DeviceIndex()};
            kind.FillSample(source);
            filter.Block().Unlock();
            filled = true;
        }
    }
    if (filled) {
        sample->SetActualDataLength(sampleBytes);
        sample->SetTime(&start, &end);
        sample->SetSyncPoint(TRUE);
        sample->SetDiscontinuity(index == 0);
        result = memInput->Receive(sample);
        if (result == S_OK && kind.isVideo)
            filter.CountFrame();
    }
    sample->Release();
    // A sample not filled or refused (downstream changing state) is dropped;
    // the stream goes on until the pin stops.
    return S_OK;
}
