// camsim as the program meets it: devices listed by friendly name, a preview
// graph that shows real frames, device loss and arrival.
#include "camsim_fixture.h"

#include <dbt.h>

#include <algorithm>

#include "camsim/device_registry.h"

namespace {

const UINT kGraphEventMessage = WM_USER + 13;

// A top-level window that records the messages these tests wait for.
struct Recorder {
    int graphEvents = 0;
    std::vector<WPARAM> deviceEvents;
    std::vector<GUID> deviceClasses;
};

LRESULT CALLBACK RecorderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* recorder = reinterpret_cast<Recorder*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (recorder && message == kGraphEventMessage)
        ++recorder->graphEvents;
    if (recorder && message == WM_DEVICECHANGE && lParam) {
        auto* header = reinterpret_cast<DEV_BROADCAST_HDR*>(lParam);
        if (header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE) {
            recorder->deviceEvents.push_back(wParam);
            recorder->deviceClasses.push_back(
                reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_A*>(lParam)->dbcc_classguid);
        }
        return TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeRecorderWindow(Recorder* recorder) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = RecorderProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "camsim test window";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("camsim test window", "camsim", WS_POPUP | WS_VISIBLE, 0, 0, 400,
                                300, nullptr, nullptr, windowClass.hInstance, nullptr);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(recorder));
    return window;
}

// A running preview of "Orvelle Video" in a window, as the program builds it.
class Preview {
  public:
    explicit Preview(HWND owner) {
        CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC, IID_IGraphBuilder,
                         reinterpret_cast<void**>(&graph));
        CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC,
                         IID_ICaptureGraphBuilder2, reinterpret_cast<void**>(&builder));
        if (!graph || !builder)
            return;
        builder->SetFiltergraph(graph);
        graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control));
        graph->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(&events));
        graph->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(&window));
        events->SetNotifyWindow(reinterpret_cast<OAHWND>(owner), kGraphEventMessage, 0);
        camera = BindDevice(CLSID_VideoInputDeviceCategory, L"Orvelle Video");
        if (!camera)
            return;
        graph->AddFilter(camera, nullptr);
        renderResult = builder->RenderStream(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Video, camera,
                                             nullptr, nullptr);
        if (FAILED(renderResult))
            return;
        window->put_Owner(reinterpret_cast<OAHWND>(owner));
        window->put_WindowStyle(WS_CHILD | WS_CLIPCHILDREN);
        window->SetWindowPosition(0, 0, 320, 240);
        window->put_Visible(OATRUE);
        runResult = control->Run();
    }
    ~Preview() {
        if (control)
            control->Stop();
        if (events)
            events->SetNotifyWindow(0, 0, 0);
        if (window) {
            window->put_Visible(OAFALSE);
            window->put_Owner(0);
        }
        for (IUnknown* held : {static_cast<IUnknown*>(control), static_cast<IUnknown*>(events),
                               static_cast<IUnknown*>(window), static_cast<IUnknown*>(camera),
                               static_cast<IUnknown*>(builder)})
            if (held)
                held->Release();
        if (graph) {
            EXPECT_EQ(0u, graph->Release()); // nothing of the graph is left behind
        }
    }

    IGraphBuilder* graph = nullptr;
    ICaptureGraphBuilder2* builder = nullptr;
    IMediaControl* control = nullptr;
    IMediaEventEx* events = nullptr;
    IVideoWindow* window = nullptr;
    IBaseFilter* camera = nullptr;
    HRESULT renderResult = E_FAIL;
    HRESULT runResult = E_FAIL;
};

// Average of red, green and blue over a row of the video window.
double RowLevel(HWND video, int y) {
    HDC dc = GetDC(video);
    double sum = 0;
    for (int x = 0; x < 320; x += 4) {
        COLORREF colour = GetPixel(dc, x, y);
        sum += GetRValue(colour) + GetGValue(colour) + GetBValue(colour);
    }
    ReleaseDC(video, dc);
    return sum / (80 * 3);
}

} // namespace

class CamsimGraph : public CamsimTest {
  protected:
    void SetUp() override {
        CamsimTest::SetUp();
        owner = MakeRecorderWindow(&recorder);
        ASSERT_NE(nullptr, owner);
    }
    void TearDown() override {
        DestroyWindow(owner);
        CamsimTest::TearDown();
    }
    Recorder recorder;
    HWND owner = nullptr;
};

TEST_F(CamsimGraph, ListsTheCameraAndItsSoundByFriendlyName) {
    Change([](ControlBlock& shared) { shared.settings.video2 = 1; });
    std::vector<std::wstring> video, audio;
    for (const ListedDevice& device : ListCategory(CLSID_VideoInputDeviceCategory))
        video.push_back(device.name);
    for (const ListedDevice& device : ListCategory(CLSID_AudioInputDeviceCategory))
        audio.push_back(device.name);
    EXPECT_EQ(1, std::count(video.begin(), video.end(), L"Orvelle Video"));
    EXPECT_EQ(1, std::count(video.begin(), video.end(), L"Orvelle Video2"));
    EXPECT_EQ(1, std::count(audio.begin(), audio.end(), L"Orvelle Audio"));

    Change([](ControlBlock& shared) { shared.settings.video2 = 0; });
    video.clear();
    for (const ListedDevice& device : ListCategory(CLSID_VideoInputDeviceCategory))
        video.push_back(device.name);
    EXPECT_EQ(0, std::count(video.begin(), video.end(), L"Orvelle Video2"));
}

TEST_F(CamsimGraph, PreviewShowsMovingFramesWithTheBrightnessSent) {
    Preview preview(owner);
    ASSERT_NE(nullptr, preview.camera);
    ASSERT_TRUE(SUCCEEDED(preview.renderResult)) << std::hex << preview.renderResult;
    ASSERT_TRUE(SUCCEEDED(preview.runResult)) << std::hex << preview.runResult;
    WaitForFrames(20);
    ControlBlock observed = Snapshot();
    EXPECT_GE(observed.firstFrameDelayMs, 0);

    HWND video = FindWindowExA(owner, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, video);
    // Below the caption strip the bars are bright; the caption's background is black.
    WaitUntil([&] { return RowLevel(video, 200) > 60.0 && RowLevel(video, 1) < 10.0; },
              "bright bars under a black caption");
    double bars = RowLevel(video, 200);
    // The bars scroll: a column changes colour between two moments.
    HDC dc = GetDC(video);
    auto row = [&] {
        std::vector<COLORREF> colours;
        for (int x = 0; x < 320; x += 8)
            colours.push_back(GetPixel(dc, x, 120));
        return colours;
    };
    std::vector<COLORREF> before = row();
    WaitUntil([&] { return row() != before; }, "the bars to move");
    ReleaseDC(video, dc);

    // Brightness 0, sent as the program sends it, darkens the picture.
    IKsPropertySet* properties = nullptr;
    ASSERT_EQ(S_OK, preview.camera->QueryInterface(IID_IKsPropertySet,
                                                   reinterpret_cast<void**>(&properties)));
    const GUID vendorSet = {
        0xfb207460, 0x5945, 0x11d3, {0x90, 0x99, 0x00, 0xa0, 0xcc, 0x25, 0x5a, 0xb3}};
    BYTE darkest[4] = {0x10, 0x00, 0x18, 0x00}; // sequence 1, class 8, code 0
    EXPECT_EQ(S_OK, properties->Set(vendorSet, 21, nullptr, 0, darkest, 4));
    properties->Release();
    WaitUntil([&] { return RowLevel(video, 200) < bars - 40.0; }, "the picture to darken");
}

TEST_F(CamsimGraph, UnplugReportsTheLostDeviceToTheGraphAndEmptiesTheCategory) {
    Preview preview(owner);
    ASSERT_TRUE(SUCCEEDED(preview.runResult));
    WaitForFrames(5); // the messages of the start have been dispatched meanwhile
    recorder.graphEvents = 0;
    Change([](ControlBlock& shared) { shared.settings.plugged = 0; });

    // The graph tells its window, and the lost device is among the queued
    // events, with "removed" as its parameter.
    bool lost = false;
    WaitUntil(
        [&] {
            long code;
            LONG_PTR first, second;
            while (preview.events->GetEvent(&code, &first, &second, 0) == S_OK) {
                if (code == EC_DEVICE_LOST) {
                    lost = true;
                    EXPECT_EQ(reinterpret_cast<LONG_PTR>(preview.camera), first);
                    EXPECT_EQ(0, second);
                }
                preview.events->FreeEventParams(code, first, second);
            }
            return lost && recorder.graphEvents > 0;
        },
        "the graph to tell its window of the lost device");
    EXPECT_EQ(nullptr, BindDevice(CLSID_VideoInputDeviceCategory, L"Orvelle Video"));
    EXPECT_EQ(nullptr, BindDevice(CLSID_AudioInputDeviceCategory, L"Orvelle Audio"));
    // Removal is announced too, as the system does.
    ASSERT_FALSE(recorder.deviceEvents.empty());
    EXPECT_EQ(static_cast<WPARAM>(DBT_DEVICEREMOVECOMPLETE), recorder.deviceEvents.back());
}

TEST_F(CamsimGraph, PlugAnnouncesACaptureInterfaceArrivalToTopLevelWindows) {
    Change([](ControlBlock& shared) { shared.settings.plugged = 0; });
    recorder.deviceEvents.clear();
    recorder.deviceClasses.clear();
    Change([](ControlBlock& shared) { shared.settings.plugged = 1; });
    ASSERT_EQ(1u, recorder.deviceEvents.size());
    EXPECT_EQ(static_cast<WPARAM>(DBT_DEVICEARRIVAL), recorder.deviceEvents[0]);
    const GUID captureClass = {
        0x65e8773d, 0x8f56, 0x11d0, {0xa3, 0xb9, 0x00, 0xa0, 0xc9, 0x22, 0x31, 0x96}};
    EXPECT_TRUE(IsEqualGUID(captureClass, recorder.deviceClasses[0]));
    IBaseFilter* camera = BindDevice(CLSID_VideoInputDeviceCategory, L"Orvelle Video");
    ASSERT_NE(nullptr, camera);
    camera->Release();
}

TEST_F(CamsimGraph, VideoMissingFaultTakesOnlyTheVideoDeviceAway) {
    Change([](ControlBlock& shared) { shared.settings.faults = FaultVideoMissing; });
    EXPECT_EQ(nullptr, BindDevice(CLSID_VideoInputDeviceCategory, L"Orvelle Video"));
    IBaseFilter* audio = BindDevice(CLSID_AudioInputDeviceCategory, L"Orvelle Audio");
    ASSERT_NE(nullptr, audio);
    audio->Release();
}

TEST_F(CamsimGraph, RegistersUpToTwentyAudioDevicesInOrder) {
    for (int total : {17, 20}) {
        Change([&](ControlBlock& shared) {
            for (int slot = 1; slot < total; ++slot) {
                wchar_t name[16];
                wsprintfW(name, L"Line %02d", slot);
                AddAudioDevice(shared.settings, reinterpret_cast<const uint16_t*>(name));
            }
        });
        std::vector<ListedDevice> listed = ListCategory(CLSID_AudioInputDeviceCategory);
        ASSERT_EQ(total + MachineAudioDevices().size(), listed.size());
        EXPECT_EQ(L"Orvelle Audio", listed[0].name);
        EXPECT_EQ(L"Line 16", listed[16].name); // the 17th, which the program takes by position
        Change([](ControlBlock& shared) {
            shared.settings = DefaultSettings();
            shared.settings.installed = 1;
        });
    }
    Change([](ControlBlock& shared) {
        for (int slot = 1; slot < kMaxAudioDevices; ++slot)
            AddAudioDevice(shared.settings, reinterpret_cast<const uint16_t*>(L"More"));
        EXPECT_EQ(-1, AddAudioDevice(shared.settings, reinterpret_cast<const uint16_t*>(L"X")));
    });
}

TEST_F(CamsimGraph, AudioDevicesMayShareNamesCarryAnyNameOrNone) {
    const wchar_t* accented = L"Entr\u00e9e \u00e9cho \u6f14";
    Change([&](ControlBlock& shared) {
        AddAudioDevice(shared.settings, reinterpret_cast<const uint16_t*>(L"Orvelle Audio"));
        AddAudioDevice(shared.settings, nullptr);
        AddAudioDevice(shared.settings, reinterpret_cast<const uint16_t*>(accented));
    });
    std::vector<ListedDevice> listed = ListCategory(CLSID_AudioInputDeviceCategory);
    ASSERT_EQ(4 + MachineAudioDevices().size(), listed.size());
    EXPECT_EQ(L"Orvelle Audio", listed[1].name);
    EXPECT_FALSE(listed[2].hasName);
    EXPECT_EQ(accented, listed[3].name);

    // A device bound by name offers the "Capture" pin with buffer negotiation.
    IBaseFilter* audio = BindDevice(CLSID_AudioInputDeviceCategory, accented);
    ASSERT_NE(nullptr, audio);
    IPin* pin = nullptr;
    ASSERT_EQ(S_OK, audio->FindPin(L"Capture", &pin));
    IAMBufferNegotiation* negotiation = nullptr;
    ASSERT_EQ(S_OK, pin->QueryInterface(IID_IAMBufferNegotiation,
                                        reinterpret_cast<void**>(&negotiation)));
    ALLOCATOR_PROPERTIES wanted = {4, 22050, 1, 0};
    EXPECT_EQ(S_OK, negotiation->SuggestAllocatorProperties(&wanted));
    EXPECT_EQ(E_POINTER, negotiation->SuggestAllocatorProperties(nullptr));
    ALLOCATOR_PROPERTIES actual;
    EXPECT_EQ(VFW_E_NO_ALLOCATOR, negotiation->GetAllocatorProperties(&actual));
    negotiation->Release();
    pin->Release();
    EXPECT_EQ(0u, audio->Release());
}

// A device removed while its filter is in a graph, or already between its
// listing and the join (a filter is bound only for a listed device), is
// reported lost to that graph.
TEST_F(CamsimGraph, RemovedAudioDeviceIsReportedLostToItsGraph) {
    for (bool removedBeforeJoin : {false, true}) {
        SCOPED_TRACE(removedBeforeJoin ? "removed before the join" : "removed after it");
        int slot = -1;
        Change([&](ControlBlock& shared) {
            slot = AddAudioDevice(shared.settings, reinterpret_cast<const uint16_t*>(L"Headset"));
        });
        IGraphBuilder* graph = nullptr;
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC,
                                         IID_IGraphBuilder, reinterpret_cast<void**>(&graph)));
        IMediaEventEx* events = nullptr;
        graph->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(&events));
        IBaseFilter* headset = BindDevice(CLSID_AudioInputDeviceCategory, L"Headset");
        ASSERT_NE(nullptr, headset);
        auto remove = [&] {
            Change([&](ControlBlock& shared) { shared.settings.audio[slot].used = 0; });
        };
        if (removedBeforeJoin) {
            remove();
        }
        ASSERT_EQ(S_OK, graph->AddFilter(headset, nullptr));
        if (!removedBeforeJoin) {
            remove();
        }
        WaitUntil(
            [&] {
                long code = 0;
                LONG_PTR first, second;
                bool fetched = events->GetEvent(&code, &first, &second, 0) == S_OK;
                if (fetched)
                    events->FreeEventParams(code, first, second);
                return fetched && code == EC_DEVICE_LOST;
            },
            "the graph to report the removed audio device lost");
        graph->RemoveFilter(headset);
        EXPECT_EQ(0u, headset->Release());
        events->Release();
        EXPECT_EQ(0u, graph->Release());
    }
}
