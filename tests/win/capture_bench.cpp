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
#include "tests/win/bare_graph.h"
#include "tests/win/camera_preview_fixture.h"
#include "tests/win/resource_watch.h"

namespace {

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
    // Each rebuild meets a preview that has shown a frame, as a user's step does.
    for (int i = 0; i < 61; ++i) {
        programTimes.push_back(TimeRebuild([&] { program.Build(); }));
        WaitForFrames(Snapshot().framesDelivered + 1);
        bareTimes.push_back(TimeRebuild([&] { bare.Build(); }));
        WaitForFrames(Snapshot().framesDelivered + 1);
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
    }
    program.TearDown();
    bare.TearDown();
    ResourceMark start = TakeResourceMark();
    for (int i = 0; i < 200; ++i) {
        bare.Build();
    }
    bare.TearDown();
    ResourceMark afterBare = TakeResourceMark();
    for (int i = 0; i < 200; ++i) {
        program.Build();
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
