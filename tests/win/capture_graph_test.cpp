// The preview graph on real DirectShow, with the simulated camera unplugged
// and probe filters registered as the audio capture device and, where a test
// needs one, as the camera's video device. A probe cannot be rendered, so
// every build here stops at the latest at the video preview: what is checked
// is what the graph did up to there and that the tear-down gives everything
// back.
#include <windows.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "capture/capture_graph.h"
#include "tests/win/camsim_fixture.h"
#include "res/resource_ids.h"
#include "tests/win/capture_probes.h"

namespace {

bool SameBuffers(const ALLOCATOR_PROPERTIES& a, const ALLOCATOR_PROPERTIES& b) {
    return a.cBuffers == b.cBuffers && a.cbBuffer == b.cbBuffer && a.cbAlign == b.cbAlign &&
           a.cbPrefix == b.cbPrefix;
}

class PreviewGraph : public CamsimTest {
  protected:
    void SetUp() override {
        CamsimTest::SetUp();
        Change([](ControlBlock& shared) { shared.settings.plugged = 0; });
        factory.reset(new ProbeFactory);
        audioDevices.reset(new DeviceCategory(CLSID_AudioInputDeviceCategory));
        videoDevices.reset(new DeviceCategory(CLSID_VideoInputDeviceCategory));
        owner =
            CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 400, 400, NULL, NULL, NULL, NULL);
        ASSERT_NE(nullptr, owner);
        graph.reset(new CaptureGraph);
        graph->SetOwnerWindow(owner);
    }
    void TearDown() override {
        graph.reset();
        for (const auto& probe : factory->made) {
            EXPECT_EQ(0, probe->references) << probe->tag << " still referenced";
            EXPECT_EQ(0, probe->pin.references) << probe->tag << "'s pin still referenced";
        }
        audioDevices.reset();
        videoDevices.reset();
        factory.reset();
        DestroyWindow(owner);
        CamsimTest::TearDown();
    }

    // The probe created for the device of this tag, or nullptr.
    ProbeFilter* Probe(const std::string& tag) {
        for (const auto& probe : factory->made) {
            if (probe->tag == tag) {
                return probe.get();
            }
        }
        return nullptr;
    }

    // Posts an event into the graph the probe joined, as a filter does.
    void Notify(ProbeFilter* probe, long code, LONG_PTR first) {
        IMediaEventSink* sink = NULL;
        ASSERT_EQ(S_OK, probe->CurrentGraph()->QueryInterface(IID_IMediaEventSink,
                                                              reinterpret_cast<void**>(&sink)));
        EXPECT_EQ(S_OK, sink->Notify(code, first, 0));
        sink->Release();
    }

    std::unique_ptr<ProbeFactory> factory;
    std::unique_ptr<DeviceCategory> audioDevices;
    std::unique_ptr<DeviceCategory> videoDevices;
    std::unique_ptr<CaptureGraph> graph;
    HWND owner = NULL;
};

TEST_F(PreviewGraph, WithoutCameraFailsAfterAddingTheAudioDeviceAndTearDownGivesItBack) {
    audioDevices->Add("Morvane Probe 1", "Orvelle Audio", "audio");
    EXPECT_EQ(0, graph->Build());
    EXPECT_EQ(nullptr, graph->GetVideoCaptureFilter());
    EXPECT_STREQ("Orvelle Audio", graph->GetCurrentAudioDevice());
    EXPECT_EQ(1u, factory->made.size());
    ProbeFilter* probe = Probe("audio");
    ASSERT_NE(nullptr, probe);
    EXPECT_NE(nullptr, probe->CurrentGraph());
    EXPECT_GT(probe->references, 0);

    graph->TearDown();
    EXPECT_EQ(nullptr, probe->CurrentGraph());
    EXPECT_EQ(0, probe->references);
    // A second tear-down has nothing left to give back.
    graph->TearDown();
    EXPECT_EQ(2u, probe->joins.size());
}

TEST_F(PreviewGraph, SuggestsFourBuffersOf22050BytesOnTheCapturePin) {
    const ALLOCATOR_PROPERTIES expected = {4, 22050, 1, 0};
    const struct {
        bool pin;
        bool negotiation;
        HRESULT answer;
        size_t suggestions;
    } cases[] = {
        {true, true, S_OK, 1},
        {true, true, E_FAIL, 1}, // refused: the driver keeps its own buffers
        {true, false, S_OK, 0},
        {false, true, S_OK, 0},
    };
    for (const auto& c : cases) {
        factory->behaviour.hasCapturePin = c.pin;
        factory->behaviour.hasBufferNegotiation = c.negotiation;
        factory->behaviour.suggestResult = c.answer;
        factory->made.clear();
        audioDevices->Add("Morvane Probe 1", "Orvelle Audio", "audio");
        videoDevices->Add("Morvane Probe 1", "Orvelle Video", "video");
        graph->Build();
        ASSERT_NE(nullptr, Probe("video")) << "the buffers are suggested once the camera is found";
        ProbeFilter* probe = Probe("audio");
        ASSERT_NE(nullptr, probe);
        ASSERT_EQ(c.suggestions, probe->pin.suggestions.size()) << c.pin << c.negotiation;
        if (c.suggestions) {
            EXPECT_TRUE(SameBuffers(expected, probe->pin.suggestions[0]));
        }
        graph->TearDown();
        EXPECT_EQ(0, probe->references);
        EXPECT_EQ(0, probe->pin.references);
    }
}

TEST_F(PreviewGraph, PrefersTheChosenAudioDeviceAndMovesItToTheFront) {
    audioDevices->Add("Morvane Probe 1", "Morvane Probe Mic A", "A");
    audioDevices->Add("Morvane Probe 2", "Morvane Probe Mic B", "B");
    graph->SetPreferredAudioDevice("Morvane Probe Mic B");
    graph->Build();
    EXPECT_STREQ("Morvane Probe Mic B", graph->GetCurrentAudioDevice());
    EXPECT_STREQ("Morvane Probe Mic B", graph->GetAudioDeviceName(0));
    EXPECT_NE(nullptr, Probe("B"));
    EXPECT_EQ(nullptr, Probe("A"));
}

TEST_F(PreviewGraph, TakesOrvelleVideo2BeforeOrvelleVideo) {
    const struct {
        std::vector<std::pair<const char*, const char*>> devices; // name, tag
        const char* taken;
    } cases[] = {
        {{{"Orvelle Video", "video"}, {"Orvelle Video2", "video2"}}, "video2"},
        {{{"Orvelle Video2", "video2"}, {"Orvelle Video", "video"}}, "video2"},
        {{{"Orvelle Video", "video"}}, "video"},
        {{{"Other Camera", "other"}, {"Orvelle Video", "video"}}, "video"},
        {{{"orvelle video", "lower"}, {"Orvelle Video3", "video3"}}, nullptr},
    };
    for (const auto& c : cases) {
        factory->made.clear();
        videoDevices.reset(new DeviceCategory(CLSID_VideoInputDeviceCategory));
        int instance = 1;
        for (const auto& device : c.devices) {
            char key[32];
            wsprintfA(key, "Morvane Probe %d", instance++);
            videoDevices->Add(key, device.first, device.second);
        }
        graph->Build();
        if (c.taken) {
            ProbeFilter* probe = Probe(c.taken);
            ASSERT_NE(nullptr, probe) << c.taken;
            EXPECT_NE(nullptr, probe->CurrentGraph());
            EXPECT_EQ(static_cast<IBaseFilter*>(probe), graph->GetVideoCaptureFilter());
            EXPECT_EQ(1u, factory->made.size()) << "only the device taken is created";
        } else {
            EXPECT_TRUE(factory->made.empty());
            EXPECT_EQ(nullptr, graph->GetVideoCaptureFilter());
        }
        graph->TearDown();
        EXPECT_EQ(nullptr, graph->GetVideoCaptureFilter());
        for (const auto& probe : factory->made) {
            EXPECT_EQ(nullptr, probe->CurrentGraph());
            EXPECT_EQ(0, probe->references);
        }
    }
}

TEST_F(PreviewGraph, GraphEventsArriveAsMessage1037AndLostDevicesCount) {
    audioDevices->Add("Morvane Probe 1", "Orvelle Audio", "audio");
    EXPECT_EQ(0, graph->CheckGraphEvent(0)) << "no graph yet";
    graph->Build();
    ProbeFilter* probe = Probe("audio");
    ASSERT_NE(nullptr, probe);
    const struct {
        long code;
        LONG_PTR first;
        int lost;
    } cases[] = {
        {EC_DEVICE_LOST, 0, 1}, {EC_DEVICE_LOST, 1, 1}, {EC_ERRORABORT, E_FAIL, 1},
        {EC_USERABORT, 0, 0},   {EC_PAUSED, S_OK, 0},
    };
    MSG message;
    for (const auto& c : cases) {
        while (PeekMessageA(&message, owner, WM_GRAPH_EVENT, WM_GRAPH_EVENT, PM_REMOVE)) {
        }
        Notify(probe, c.code, c.first);
        ASSERT_TRUE(PeekMessageA(&message, owner, WM_GRAPH_EVENT, WM_GRAPH_EVENT, PM_REMOVE))
            << c.code;
        EXPECT_EQ(c.lost, graph->CheckGraphEvent(message.lParam)) << c.code;
    }
    // Announced but nothing to fetch within the wait: the camera counts as lost.
    EXPECT_EQ(1, graph->CheckGraphEvent(message.lParam));
    graph->TearDown();
    EXPECT_EQ(0, graph->CheckGraphEvent(message.lParam));
}

TEST_F(PreviewGraph, EventsLeftInTheQueueByATornDownGraphChangeNothing) {
    audioDevices->Add("Morvane Probe 1", "Orvelle Audio", "audio");
    graph->Build();
    Notify(factory->made.back().get(), EC_USERABORT, 0);
    // Rebuilt before the messages were handled: their events went with their
    // graph, and waiting for them on the new one would time out.
    graph->Build();
    MSG message;
    int stale = 0;
    while (PeekMessageA(&message, owner, WM_GRAPH_EVENT, WM_GRAPH_EVENT, PM_REMOVE)) {
        EXPECT_EQ(0, graph->CheckGraphEvent(message.lParam));
        ++stale;
    }
    EXPECT_GE(stale, 1);
    Notify(factory->made.back().get(), EC_USERABORT, 0);
    ASSERT_TRUE(PeekMessageA(&message, owner, WM_GRAPH_EVENT, WM_GRAPH_EVENT, PM_REMOVE));
    EXPECT_EQ(0, graph->CheckGraphEvent(message.lParam));
    EXPECT_EQ(1, graph->CheckGraphEvent(message.lParam)) << "a timeout on the running graph";
}

// COM must be initialised on a thread exactly as often as it is given back.
bool ComInitialised() {
    IUnknown* object = NULL;
    HRESULT result = CoCreateInstance(CLSID_FilterGraph, NULL, CLSCTX_INPROC, IID_IUnknown,
                                      reinterpret_cast<void**>(&object));
    if (object) {
        object->Release();
    }
    return result != CO_E_NOTINITIALIZED;
}

TEST(PreviewGraphCom, BuildAndTearDownLeaveTheThreadAsTheyFoundIt) {
    bool initialisedAfter = true;
    std::thread worker([&] {
        CaptureGraph graph;
        for (int i = 0; i < 3; ++i) {
            graph.Build();
            graph.TearDown();
        }
        graph.TearDown();
        initialisedAfter = ComInitialised();
    });
    worker.join();
    EXPECT_FALSE(initialisedAfter);
}

TEST(PreviewGraphCom, ATearDownWithoutBuildLeavesTheCallersComAlone) {
    bool initialisedAfter = false;
    std::thread worker([&] {
        CoInitialize(NULL);
        {
            CaptureGraph graph;
            graph.TearDown();
            graph.TearDown();
        } // and its destruction tears down once more
        initialisedAfter = ComInitialised();
        CoUninitialize();
    });
    worker.join();
    EXPECT_TRUE(initialisedAfter);
}

} // namespace
