#include "capture/capture_graph.h"

#include <dshow.h>

#include "base/text.h"
#include "capture/graph_rules.h"
#include "capture/name_conversion.h"
#include "res/resource_ids.h"

namespace {

const char kPreferredVideoDevice[] = "Orvelle Video2";
const char kFallbackVideoDevice[] = "Orvelle Video";
// Every lookup also takes the 17th device of its category.
const int kDevicePosition = 16;
const long kEventWaitMs = 100;
const ALLOCATOR_PROPERTIES kAudioBuffers = {4, 22050, 1, 0};

template <typename Interface> bool Create(REFCLSID type, REFIID iid, Interface** object) {
    return SUCCEEDED(
        CoCreateInstance(type, NULL, CLSCTX_INPROC, iid, reinterpret_cast<void**>(object)));
}

template <typename Interface> bool Query(IUnknown* source, REFIID iid, Interface** object) {
    return SUCCEEDED(source->QueryInterface(iid, reinterpret_cast<void**>(object)));
}

template <typename Interface> void ReleaseAndClear(Interface** reference) {
    if (*reference) {
        (*reference)->Release();
        *reference = NULL;
    }
}

int AnsiBytes(const WCHAR* character, int units) {
    return WideCharToMultiByte(CP_ACP, 0, character, units, NULL, 0, NULL, NULL);
}

// Converts a friendly name into a 260-byte ANSI buffer. A name too long for
// it is cut after its last whole character that fits.
void ToAnsiName(const WCHAR* wide, char name[kDeviceNameSize]) {
    int units = FittingPrefixUnits(wide, kDeviceNameSize, AnsiBytes);
    int written = 0;
    if (units > 0) {
        written =
            WideCharToMultiByte(CP_ACP, 0, wide, units, name, kDeviceNameSize - 1, NULL, NULL);
    }
    name[written > 0 ? written : 0] = '\0';
}

// The devices of a category, or NULL when it cannot be listed or is empty.
IEnumMoniker* OpenCategory(REFCLSID category) {
    ICreateDevEnum* deviceEnumerator = NULL;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, NULL, CLSCTX_INPROC_SERVER,
                                IID_ICreateDevEnum, reinterpret_cast<void**>(&deviceEnumerator)))) {
        return NULL;
    }
    IEnumMoniker* devices = NULL;
    // An empty category answers S_FALSE without an enumerator.
    if (deviceEnumerator->CreateClassEnumerator(category, &devices, 0) != S_OK) {
        ReleaseAndClear(&devices);
    }
    deviceEnumerator->Release();
    return devices;
}

// The next device of a listing, or NULL at its end.
IMoniker* NextDevice(IEnumMoniker* devices) {
    IMoniker* moniker = NULL;
    if (FAILED(devices->Next(1, &moniker, NULL))) {
        return NULL;
    }
    return moniker;
}

} // namespace

FriendlyNameRead ReadFriendlyName(IMoniker* moniker, char name[kDeviceNameSize]) {
    IPropertyBag* properties = NULL;
    if (FAILED(moniker->BindToStorage(NULL, NULL, IID_IPropertyBag,
                                      reinterpret_cast<void**>(&properties)))) {
        return kNoStorage;
    }
    // Asked for as a string, and owning none, whatever the system's
    // VariantInit leaves in the other fields: a bag that fails the read
    // leaves the value as it was, and there is nothing to free then.
    VARIANT value;
    value.vt = VT_BSTR;
    value.bstrVal = NULL;
    FriendlyNameRead result = kNoFriendlyName;
    if (SUCCEEDED(properties->Read(L"FriendlyName", &value, NULL))) {
        if (value.vt == VT_BSTR && value.bstrVal) {
            ToAnsiName(value.bstrVal, name);
            result = kFriendlyNameRead;
        }
        VariantClear(&value);
    }
    properties->Release();
    return result;
}

CaptureGraph::CaptureGraph() {
    ownerWindow = NULL;
    videoDeviceName[0] = '\0';
    filterGraph = NULL;
    captureBuilder = NULL;
    videoWindow = NULL;
    mediaControl = NULL;
    mediaEvent = NULL;
    basicAudio = NULL;
    basicVideo = NULL;
    videoCaptureFilter = NULL;
    audioCaptureFilter = NULL;
    videoTop = 0;
    videoLeft = 0;
    videoWidth = 0;
    videoHeight = 0;
    comInitialized = false;
    graphTag = 0;
    changing = 0;
}

CaptureGraph::~CaptureGraph() {
    TearDown();
}

void CaptureGraph::SetVideoRect(int left, int top, int width, int height) {
    videoLeft = left;
    videoTop = top;
    videoWidth = width;
    videoHeight = height;
}

int CaptureGraph::EnumerateDeviceNames(REFCLSID category, int maxCount) {
    IEnumMoniker* devices = OpenCategory(category);
    if (!devices) {
        return 0;
    }
    audio.BeginListing();
    devices->Reset();
    while (IMoniker* moniker = NextDevice(devices)) {
        char name[kDeviceNameSize];
        FriendlyNameRead read = ReadFriendlyName(moniker, name);
        if (read == kFriendlyNameRead) {
            audio.AddListedName(name, maxCount);
        }
        moniker->Release();
        // A device whose properties cannot be opened ends the listing.
        if (read == kNoStorage) {
            break;
        }
    }
    devices->Release();
    return 1;
}

IBaseFilter* CaptureGraph::FindAndAddDevice(IGraphBuilder* graph, REFCLSID category,
                                            const char* friendlyName, int position) {
    IEnumMoniker* devices = OpenCategory(category);
    if (!devices) {
        return NULL;
    }
    IBaseFilter* filter = NULL;
    devices->Reset();
    // The index counts every device, also those passed over for want of a name.
    for (int index = 0; IMoniker* moniker = NextDevice(devices); ++index) {
        char name[kDeviceNameSize];
        bool taken = ReadFriendlyName(moniker, name) == kFriendlyNameRead &&
                     TakesDevice(name, friendlyName, index, position);
        if (taken) {
            moniker->BindToObject(NULL, NULL, IID_IBaseFilter, reinterpret_cast<void**>(&filter));
            if (filter) {
                graph->AddFilter(filter, NULL);
            }
        }
        moniker->Release();
        if (taken) {
            break;
        }
    }
    devices->Release();
    return filter;
}

IBaseFilter* CaptureGraph::FindVideoDevice(const char* name) {
    CopyText(videoDeviceName, kDeviceNameSize, name);
    return FindAndAddDevice(filterGraph, CLSID_VideoInputDeviceCategory, videoDeviceName,
                            kDevicePosition);
}

int CaptureGraph::Build() {
    ++changing;
    int built = BuildGraph();
    --changing;
    return built;
}

int CaptureGraph::BuildGraph() {
    TearDown();
    // S_FALSE (already initialised on this thread) needs its CoUninitialize too.
    comInitialized = SUCCEEDED(CoInitialize(NULL));
    if (!Create(CLSID_FilterGraph, IID_IGraphBuilder, &filterGraph) ||
        !Create(CLSID_CaptureGraphBuilder2, IID_ICaptureGraphBuilder2, &captureBuilder) ||
        FAILED(captureBuilder->SetFiltergraph(filterGraph))) {
        return 0;
    }
    if (!Query(filterGraph, IID_IMediaControl, &mediaControl) ||
        !Query(filterGraph, IID_IVideoWindow, &videoWindow) ||
        !Query(filterGraph, IID_IBasicVideo, &basicVideo) ||
        !Query(filterGraph, IID_IBasicAudio, &basicAudio) ||
        !Query(filterGraph, IID_IMediaEventEx, &mediaEvent)) {
        return 0;
    }
    ++graphTag;
    if (FAILED(mediaEvent->SetNotifyWindow(reinterpret_cast<OAHWND>(ownerWindow), WM_GRAPH_EVENT,
                                           graphTag))) {
        return 0;
    }

    EnumerateDeviceNames(CLSID_AudioInputDeviceCategory, kAudioDeviceCapacity);
    audio.ChooseAudioDevice();
    // The audio device is optional: without it the preview has no sound.
    audioCaptureFilter = FindAndAddDevice(filterGraph, CLSID_AudioInputDeviceCategory,
                                          audio.GetCurrentAudioDevice(), kDevicePosition);
    videoCaptureFilter = FindVideoDevice(kPreferredVideoDevice);
    if (!videoCaptureFilter) {
        videoCaptureFilter = FindVideoDevice(kFallbackVideoDevice);
    }
    if (!videoCaptureFilter) {
        return 0;
    }
    if (audioCaptureFilter) {
        SuggestAudioBuffers();
    }
    if (FAILED(captureBuilder->RenderStream(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Video,
                                            videoCaptureFilter, NULL, NULL))) {
        return 0;
    }
    if (audioCaptureFilter) {
        // Without a sound renderer the preview goes on, silent.
        captureBuilder->RenderStream(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Audio, audioCaptureFilter,
                                     NULL, NULL);
    }
    if (FAILED(SetupVideoWindow())) {
        return 0;
    }
    return SUCCEEDED(mediaControl->Run()) ? 1 : 0;
}

// Smaller buffers than the driver's own keep the sound close to the picture;
// a driver that refuses keeps its own.
void CaptureGraph::SuggestAudioBuffers() {
    IPin* pin = NULL;
    if (FAILED(audioCaptureFilter->FindPin(L"Capture", &pin)) || !pin) {
        return;
    }
    IAMBufferNegotiation* negotiation = NULL;
    if (SUCCEEDED(pin->QueryInterface(IID_IAMBufferNegotiation,
                                      reinterpret_cast<void**>(&negotiation)))) {
        ALLOCATOR_PROPERTIES buffers = kAudioBuffers;
        negotiation->SuggestAllocatorProperties(&buffers);
        negotiation->Release();
    }
    pin->Release();
}

HRESULT CaptureGraph::SetupVideoWindow() {
    HRESULT result = videoWindow->put_Owner(reinterpret_cast<OAHWND>(ownerWindow));
    if (FAILED(result)) {
        return result;
    }
    result = videoWindow->put_WindowStyle(WS_CHILD | WS_CLIPCHILDREN);
    if (FAILED(result)) {
        return result;
    }
    if (ownerWindow) {
        if (videoWidth == 0 || videoHeight == 0) {
            // The source's own size, kept for every later build.
            long height = 0;
            long width = 0;
            basicVideo->get_SourceHeight(&height);
            basicVideo->get_SourceWidth(&width);
            videoHeight = height;
            videoWidth = width;
        }
        videoWindow->put_Width(videoWidth);
        videoWindow->put_Height(videoHeight);
        videoWindow->SetWindowPosition(videoLeft, videoTop, videoWidth, videoHeight);
    }
    return videoWindow->put_Visible(OATRUE);
}

void CaptureGraph::NotifyOwnerMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // Silent: a renderer without a palette of its own has nothing to do.
    if (ShowsPicture()) {
        videoWindow->NotifyOwnerMessage(reinterpret_cast<OAHWND>(ownerWindow),
                                        static_cast<long>(message), static_cast<LONG_PTR>(wParam),
                                        lParam);
    }
}

void CaptureGraph::TearDown() {
    ++changing;
    ReleaseGraph();
    --changing;
}

void CaptureGraph::ReleaseGraph() {
    if (mediaControl) {
        mediaControl->StopWhenReady();
    }
    if (mediaEvent) {
        mediaEvent->SetNotifyWindow(0, WM_GRAPH_EVENT, 0);
    }
    if (videoWindow) {
        videoWindow->put_Visible(OAFALSE);
        videoWindow->put_Owner(0);
    }
    if (filterGraph) {
        if (videoCaptureFilter) {
            filterGraph->RemoveFilter(videoCaptureFilter);
        }
        if (audioCaptureFilter) {
            filterGraph->RemoveFilter(audioCaptureFilter);
        }
    }
    ReleaseAndClear(&mediaControl);
    ReleaseAndClear(&mediaEvent);
    ReleaseAndClear(&videoWindow);
    ReleaseAndClear(&basicVideo);
    ReleaseAndClear(&basicAudio);
    ReleaseAndClear(&filterGraph);
    ReleaseAndClear(&captureBuilder);
    ReleaseAndClear(&videoCaptureFilter);
    ReleaseAndClear(&audioCaptureFilter);
    // Only the initialisation this object's Build made is given back: an
    // unmatched CoUninitialize would end COM under someone else's feet.
    if (comInitialized) {
        CoUninitialize();
        comInitialized = false;
    }
}

int CaptureGraph::CheckGraphEvent(LONG_PTR announcedBy) {
    // The events of a graph torn down went with it; only a fetch from the
    // graph that announced one can time out.
    if (!mediaEvent || announcedBy != graphTag) {
        return 0;
    }
    long code = 0;
    LONG_PTR first = 0;
    LONG_PTR second = 0;
    HRESULT result = mediaEvent->GetEvent(&code, &first, &second, kEventWaitMs);
    GraphEventFetch fetch = kEventFetchFailed;
    if (SUCCEEDED(result)) {
        mediaEvent->FreeEventParams(code, first, second);
        fetch = kEventFetched;
    } else if (result == E_ABORT) {
        fetch = kEventTimedOut;
    }
    return IsCameraLost(fetch, code) ? 1 : 0;
}

int CaptureGraph::RedetectAudioDevices() {
    AudioDeviceSnapshot before;
    audio.TakeSnapshot(&before);
    // A graph torn down since gave its COM back: the listing needs it again,
    // and the tear-down that begins the build below gives it back.
    if (!comInitialized) {
        comInitialized = SUCCEEDED(CoInitialize(NULL));
    }
    EnumerateDeviceNames(CLSID_AudioInputDeviceCategory, kAudioDeviceCapacity);
    audio.PreferNewDevice(before);
    if (!Build()) {
        TearDown();
    }
    return audio.GetAudioDeviceCount() - before.count;
}

void CaptureGraph::SetVolume(long volume) {
    // A graph without a sound renderer refuses the volume: nothing to do then.
    if (basicAudio) {
        basicAudio->put_Volume(volume);
    }
}
