// A top-level owner window with a preview graph placed as the main window
// places it, the simulated camera installed and plugged in.
#ifndef MORVANE_TESTS_WIN_CAMERA_PREVIEW_FIXTURE_H
#define MORVANE_TESTS_WIN_CAMERA_PREVIEW_FIXTURE_H

#include <windows.h>

#include <memory>

#include "capture/capture_graph.h"
#include "res/resource_ids.h"
#include "tests/win/camsim_fixture.h"

class CameraPreview : public CamsimTest {
  protected:
    void SetUp() override {
        CamsimTest::SetUp();
        owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                                400, 400, NULL, NULL, NULL, NULL);
        ASSERT_NE(nullptr, owner);
        graph.reset(new CaptureGraph);
        graph->SetOwnerWindow(owner);
        graph->SetVideoRect(14, 82, 320, 240);
    }
    void TearDown() override {
        graph.reset();
        DestroyWindow(owner);
        CamsimTest::TearDown();
    }
    bool WaitForFrames(uint32_t count) {
        for (int tries = 0; tries < 100; ++tries) {
            if (Snapshot().framesDelivered >= count) {
                return true;
            }
            PumpMessages(50);
        }
        return false;
    }
    // Runs the message loop, handling each graph message as the main window
    // does, until the camera counts as lost; answers whether it did.
    bool CameraLostWithin(int tries) {
        for (int i = 0; i < tries; ++i) {
            MSG message;
            while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
                if (message.message == WM_GRAPH_EVENT && message.hwnd == owner) {
                    if (graph->CheckGraphEvent(message.lParam) == 1) {
                        return true;
                    }
                } else {
                    TranslateMessage(&message);
                    DispatchMessageA(&message);
                }
            }
            Sleep(50);
        }
        return false;
    }

    HWND owner = NULL;
    std::unique_ptr<CaptureGraph> graph;
};

#endif
