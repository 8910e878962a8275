// What a quality step costs the user: tearing the preview down and building
// it again, next to a bare graph of the same devices built the shortest way,
// measured side by side in one run. Also the memory both leave behind over
// many cycles, so that growth of the program's graph can be told from the
// platform's own.
#include <windows.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <vector>

#include "capture/capture_graph.h"
#include "tests/win/camera_preview_fixture.h"
#include "tests/win/resource_watch.h"

namespace {

// The same devices rendered with nothing but the calls a preview needs.
class BareGraph {
  public:
    explicit BareGraph(HWND owner) : owner(owner) {}
    ~BareGraph() { TearDown(); }

    bool Build() {
        TearDown();
        CoCreateInstance(CLSID_FilterGraph, NULL, CLSCTX_INPROC, IID_IGraphBuilder,
                         reinterpret_cast<void**>(&graph));
        CoCreateInstance(CLSID_CaptureGraphBuilder2, NULL, CLSCTX_INPROC, IID_ICaptureGraphBuilder2,
                         reinterpret_cast<void**>(&builder));
        builder->SetFiltergraph(graph);
        graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control));
        graph->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(&window));
        camera = BindDevice(CLSID_VideoInputDeviceCategory, L"Orvelle Video");
        microphone = BindDevice(CLSID_AudioInputDeviceCategory, L"Orvelle Audio");
        if (!camera || !microphone) {
            return false;
        }
        graph->AddFilter(microphone, NULL);
        graph->AddFilter(camera, NULL);
        builder->RenderStream(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Video, camera, NULL, NULL);
        builder->RenderStream(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Audio, microphone, NULL, NULL);
        window->put_Owner(reinterpret_cast<OAHWND>(owner));
        window->put_WindowStyle(WS_CHILD | WS_CLIPCHILDREN);
        window->SetWindowPosition(14, 82, 320, 240);
        window->put_Visible(OATRUE);
        return SUCCEEDED(control->Run());
    }
    void TearDown() {
        if (control) {
            control->Stop();
        }
        if (window) {
            window->put_Visible(OAFALSE);
            window->put_Owner(0);
        }
        for (IUnknown** held :
             {reinterpret_cast<IUnknown**>(&control), reinterpret_cast<IUnknown**>(&window),
              reinterpret_cast<IUnknown**>(&camera), reinterpret_cast<IUnknown**>(&microphone),
              reinterpret_cast<IUnknown**>(&builder), reinterpret_cast<IUnknown**>(&graph)}) {
            if (*held) {
                (*held)->Release();
                *held = NULL;
            }
        }
    }

  private:
    HWND owner;
    IGraphBuilder* graph = NULL;
    ICaptureGraphBuilder2* builder = NULL;
    IMediaControl* control = NULL;
    IVideoWindow* window = NULL;
    IBaseFilter* camera = NULL;
    IBaseFilter* microphone = NULL;
};

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * (to.QuadPart - from.QuadPart) / frequency.QuadPart;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

template <typename Rebuild> double TimeRebuild(Rebuild rebuild) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    rebuild();
    QueryPerformanceCounter(&end);
    PumpMessages(20);
    return Milliseconds(start, end);
}

// The benchmark meets the machine as the preview tests do.
typedef CameraPreview PreviewRebuild;

TEST_F(PreviewRebuild, CostsAtMostAFifthMoreThanABareGraph) {
    CaptureGraph& program = *graph;
    BareGraph bare(owner);
    ASSERT_EQ(1, program.Build());
    ASSERT_TRUE(bare.Build());
    // Turn about, so that both meet the same state of the machine.
    std::vector<double> programTimes, bareTimes;
    for (int i = 0; i < 61; ++i) {
        programTimes.push_back(TimeRebuild([&] { program.Build(); }));
        bareTimes.push_back(TimeRebuild([&] { bare.Build(); }));
    }
    double programMedian = Median(programTimes);
    double bareMedian = Median(bareTimes);
    std::cout << "tear-down and rebuild, median of 61: program " << programMedian
              << " ms, bare graph " << bareMedian << " ms, ratio " << programMedian / bareMedian
              << std::endl;
    EXPECT_LE(programMedian, 1.2 * bareMedian);
}

TEST_F(PreviewRebuild, MemoryAfterTwoHundredCyclesNextToABareGraph) {
    CaptureGraph& program = *graph;
    BareGraph bare(owner);
    for (int i = 0; i < 20; ++i) {
        program.Build();
        bare.Build();
        PumpMessages(0);
    }
    program.TearDown();
    bare.TearDown();
    ResourceMark start = TakeResourceMark();
    for (int i = 0; i < 200; ++i) {
        bare.Build();
        PumpMessages(0);
    }
    bare.TearDown();
    ResourceMark afterBare = TakeResourceMark();
    for (int i = 0; i < 200; ++i) {
        program.Build();
        PumpMessages(0);
    }
    program.TearDown();
    ResourceMark afterProgram = TakeResourceMark();
    long long bareGrowth = static_cast<long long>(afterBare.privateBytes) - start.privateBytes;
    long long programGrowth =
        static_cast<long long>(afterProgram.privateBytes) - afterBare.privateBytes;
    std::cout << "committed memory over 200 cycles: bare graph +" << bareGrowth / 1024
              << " KB, program +" << programGrowth / 1024 << " KB" << std::endl;
    std::cout << "GDI slot " << start.gdiSlot << " -> " << afterBare.gdiSlot << " (bare) -> "
              << afterProgram.gdiSlot << " (program); kernel slot " << start.kernelSlot << " -> "
              << afterBare.kernelSlot << " -> " << afterProgram.kernelSlot << std::endl;
    EXPECT_FALSE(KeptHandles(afterBare, afterProgram));
}

} // namespace
