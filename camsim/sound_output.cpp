#include "camsim/sound_output.h"

#include <new>

#include "camsim/enumerators.h"
#include "camsim/filter_membership.h"
#include "camsim/media_types.h"
#include "camsim/source_kind.h"

const wchar_t kSoundOutputName[] = L"Orvelle Sound Output";

namespace {

const wchar_t kPinName[] = L"Audio Input";
const long kFullVolume = 0;
const long kSilence = -10000;

bool IsPcmSound(const AM_MEDIA_TYPE& type) {
    return IsEqualGUID(type.majortype, MEDIATYPE_Audio) &&
           IsEqualGUID(type.subtype, MEDIASUBTYPE_PCM) &&
           IsEqualGUID(type.formattype, FORMAT_WaveFormatEx) && type.pbFormat &&
           type.cbFormat >= sizeof(WAVEFORMATEX);
}

} // namespace

SoundInputPin::SoundInputPin(SoundOutput& filter)
    : filter(filter), connected(nullptr), connectionType() {
    InitializeCriticalSection(&lock);
}

SoundInputPin::~SoundInputPin() {
    Disconnect();
    DeleteCriticalSection(&lock);
}

STDMETHODIMP SoundInputPin::QueryInterface(REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPin))
        return GiveInterface(static_cast<IPin*>(this), out);
    if (IsEqualIID(iid, IID_IMemInputPin))
        return GiveInterface(static_cast<IMemInputPin*>(this), out);
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) SoundInputPin::AddRef() {
    return filter.AddRef();
}

STDMETHODIMP_(ULONG) SoundInputPin::Release() {
    return filter.Release();
}

STDMETHODIMP SoundInputPin::Connect(IPin*, const AM_MEDIA_TYPE*) {
    // An input pin is connected to, never connects.
    return E_UNEXPECTED;
}

STDMETHODIMP SoundInputPin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) {
    if (!connector || !type)
        return E_POINTER;
    if (!filter.IsStopped())
        return VFW_E_NOT_STOPPED;
    if (!IsPcmSound(*type))
        return VFW_E_TYPE_NOT_ACCEPTED;
    EnterCriticalSection(&lock);
    HRESULT result = VFW_E_ALREADY_CONNECTED;
    if (!connected) {
        result = CopyMediaType(&connectionType, *type);
        if (SUCCEEDED(result)) {
            connected = connector;
            connected->AddRef();
        }
    }
    LeaveCriticalSection(&lock);
    return result;
}

STDMETHODIMP SoundInputPin::Disconnect() {
    EnterCriticalSection(&lock);
    IPin* peer = connected;
    connected = nullptr;
    if (peer)
        ClearMediaType(connectionType);
    LeaveCriticalSection(&lock);
    if (!peer)
        return S_FALSE;
    peer->Release();
    return S_OK;
}

STDMETHODIMP SoundInputPin::ConnectedTo(IPin** pin) {
    if (!pin)
        return E_POINTER;
    EnterCriticalSection(&lock);
    *pin = connected;
    if (connected)
        connected->AddRef();
    LeaveCriticalSection(&lock);
    return *pin ? S_OK : VFW_E_NOT_CONNECTED;
}

STDMETHODIMP SoundInputPin::ConnectionMediaType(AM_MEDIA_TYPE* type) {
    if (!type)
        return E_POINTER;
    EnterCriticalSection(&lock);
    HRESULT result = VFW_E_NOT_CONNECTED;
    if (connected)
        result = CopyMediaType(type, connectionType);
    else
        *type = AM_MEDIA_TYPE();
    LeaveCriticalSection(&lock);
    return result;
}

STDMETHODIMP SoundInputPin::QueryPinInfo(PIN_INFO* info) {
    if (!info)
        return E_POINTER;
    info->pFilter = &filter;
    filter.AddRef();
    info->dir = PINDIR_INPUT;
    lstrcpynW(info->achName, kPinName, MAX_PIN_NAME);
    return S_OK;
}

STDMETHODIMP SoundInputPin::QueryDirection(PIN_DIRECTION* direction) {
    if (!direction)
        return E_POINTER;
    *direction = PINDIR_INPUT;
    return S_OK;
}

STDMETHODIMP SoundInputPin::QueryId(LPWSTR* id) {
    if (!id)
        return E_POINTER;
    *id = static_cast<LPWSTR>(CoTaskMemAlloc(sizeof kPinName));
    if (!*id)
        return E_OUTOFMEMORY;
    lstrcpyW(*id, kPinName);
    return S_OK;
}

STDMETHODIMP SoundInputPin::QueryAccept(const AM_MEDIA_TYPE* type) {
    if (!type)
        return E_POINTER;
    return IsPcmSound(*type) ? S_OK : S_FALSE;
}

STDMETHODIMP SoundInputPin::EnumMediaTypes(IEnumMediaTypes** types) {
    if (!types)
        return E_POINTER;
    // The camera's own sound format is the one it prefers.
    *types = NewMediaTypeEnumerator(kAudioSource, static_cast<IBaseFilter*>(&filter));
    return *types ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP SoundInputPin::QueryInternalConnections(IPin**, ULONG*) {
    return E_NOTIMPL;
}

STDMETHODIMP SoundInputPin::EndOfStream() {
    return S_OK;
}

STDMETHODIMP SoundInputPin::BeginFlush() {
    return S_OK;
}

STDMETHODIMP SoundInputPin::EndFlush() {
    return S_OK;
}

STDMETHODIMP SoundInputPin::NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) {
    return S_OK;
}

STDMETHODIMP SoundInputPin::GetAllocator(IMemAllocator** allocator) {
    if (!allocator)
        return E_POINTER;
    *allocator = nullptr;
    return VFW_E_NO_ALLOCATOR;
}

STDMETHODIMP SoundInputPin::NotifyAllocator(IMemAllocator* allocator, BOOL) {
    return allocator ? S_OK : E_POINTER;
}

STDMETHODIMP SoundInputPin::GetAllocatorRequirements(ALLOCATOR_PROPERTIES*) {
    return E_NOTIMPL;
}

STDMETHODIMP SoundInputPin::Receive(IMediaSample* sample) {
    if (!sample)
        return E_POINTER;
    if (filter.IsStopped())
        return VFW_E_WRONG_STATE;
    REFERENCE_TIME start, end;
    filter.CountSample(SUCCEEDED(sample->GetTime(&start, &end)));
    return S_OK;
}

STDMETHODIMP SoundInputPin::ReceiveMultiple(IMediaSample** samples, long count, long* processed) {
    if (!samples || !processed)
        return E_POINTER;
    *processed = 0;
    while (*processed < count) {
        HRESULT result = Receive(samples[*processed]);
        if (result != S_OK)
            return result;
        ++*processed;
    }
    return S_OK;
}

STDMETHODIMP SoundInputPin::ReceiveCanBlock() {
    return S_FALSE;
}

SoundOutput* SoundOutput::Create() {
    SoundOutput* filter = new (std::nothrow) SoundOutput;
    if (filter && !filter->block.Open()) {
        filter->Release();
        filter = nullptr;
    }
    return filter;
}

SoundOutput::SoundOutput()
    : state(State_Stopped), clock(nullptr), graph(nullptr), volume(kFullVolume), pin(*this) {
    InitializeCriticalSection(&lock);
    name[0] = 0;
}

SoundOutput::~SoundOutput() {
    if (clock)
        clock->Release();
    DeleteCriticalSection(&lock);
}

STDMETHODIMP SoundOutput::QueryInterface(REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPersist) ||
        IsEqualIID(iid, IID_IMediaFilter) || IsEqualIID(iid, IID_IBaseFilter))
        return GiveInterface(static_cast<IBaseFilter*>(this), out);
    if (IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IBasicAudio))
        return GiveInterface(static_cast<IBasicAudio*>(this), out);
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) SoundOutput::AddRef() {
    return references.Add();
}

STDMETHODIMP_(ULONG) SoundOutput::Release() {
    ULONG left = references.Drop();
    if (left == 0)
        delete this;
    return left;
}

STDMETHODIMP SoundOutput::GetClassID(CLSID* clsid) {
    if (!clsid)
        return E_POINTER;
    *clsid = CLSID_CamsimSoundOutput;
    return S_OK;
}

STDMETHODIMP SoundOutput::Stop() {
    EnterCriticalSection(&lock);
    state = State_Stopped;
    LeaveCriticalSection(&lock);
    return S_OK;
}

STDMETHODIMP SoundOutput::Pause() {
    EnterCriticalSection(&lock);
    state = State_Paused;
    LeaveCriticalSection(&lock);
    return S_OK;
}

STDMETHODIMP SoundOutput::Run(REFERENCE_TIME) {
    EnterCriticalSection(&lock);
    state = State_Running;
    LeaveCriticalSection(&lock);
    return S_OK;
}

STDMETHODIMP SoundOutput::GetState(DWORD, FILTER_STATE* current) {
    if (!current)
        return E_POINTER;
    EnterCriticalSection(&lock);
    *current = state;
    LeaveCriticalSection(&lock);
    return S_OK;
}

STDMETHODIMP SoundOutput::SetSyncSource(IReferenceClock* newClock) {
    return ReplaceClock(lock, clock, newClock);
}

STDMETHODIMP SoundOutput::GetSyncSource(IReferenceClock** current) {
    if (!current)
        return E_POINTER;
    *current = ClockReference(lock, clock);
    return S_OK;
}

STDMETHODIMP SoundOutput::EnumPins(IEnumPins** pins) {
    if (!pins)
        return E_POINTER;
    *pins = NewPinEnumerator(static_cast<IBaseFilter*>(this), &pin, nullptr);
    return *pins ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP SoundOutput::FindPin(LPCWSTR id, IPin** found) {
    return FindOnlyPin(id, kPinName, static_cast<IPin*>(&pin), found);
}

STDMETHODIMP SoundOutput::QueryFilterInfo(FILTER_INFO* info) {
    return DescribeFilter(lock, name, graph, info);
}

STDMETHODIMP SoundOutput::JoinFilterGraph(IFilterGraph* newGraph, LPCWSTR newName) {
    EnterCriticalSection(&lock);
    graph = newGraph;
    lstrcpynW(name, newName ? newName : L"", MAX_FILTER_NAME);
    LeaveCriticalSection(&lock);
    // A new preview plays at this output's own level until told otherwise.
    if (newGraph)
        RecordVolume();
    return S_OK;
}

STDMETHODIMP SoundOutput::QueryVendorInfo(LPWSTR* info) {
    return NoVendorInfo(info);
}

STDMETHODIMP SoundOutput::GetTypeInfoCount(UINT* count) {
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP SoundOutput::GetTypeInfo(UINT, LCID, ITypeInfo**) {
    return E_NOTIMPL;
}

STDMETHODIMP SoundOutput::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

STDMETHODIMP SoundOutput::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                 UINT*) {
    return E_NOTIMPL;
}

STDMETHODIMP SoundOutput::put_Volume(long newVolume) {
    if (newVolume > kFullVolume || newVolume < kSilence)
        return E_INVALIDARG;
    EnterCriticalSection(&lock);
    volume = newVolume;
    LeaveCriticalSection(&lock);
    RecordVolume();
    return S_OK;
}

STDMETHODIMP SoundOutput::get_Volume(long* current) {
    if (!current)
        return E_POINTER;
    EnterCriticalSection(&lock);
    *current = volume;
    LeaveCriticalSection(&lock);
    return S_OK;
}

STDMETHODIMP SoundOutput::put_Balance(long) {
    return E_NOTIMPL;
}

STDMETHODIMP SoundOutput::get_Balance(long*) {
    return E_NOTIMPL;
}

bool SoundOutput::IsStopped() {
    EnterCriticalSection(&lock);
    bool stopped = state == State_Stopped;
    LeaveCriticalSection(&lock);
    return stopped;
}

void SoundOutput::CountSample(bool timed) {
    if (ControlBlock* shared = block.Lock()) {
        ++shared->soundSamples;
        if (!timed)
            ++shared->soundSamplesUntimed;
        block.Unlock();
    }
}

void SoundOutput::RecordVolume() {
    long level;
    get_Volume(&level);
    if (ControlBlock* shared = block.Lock()) {
        shared->soundVolume = level;
        block.Unlock();
    }
}
