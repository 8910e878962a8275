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
        SetWindowLongPtrA(owner, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ownProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OwnerProc)));
        graph.reset(new CaptureGraph);
        graph->SetOwnerWindow(owner);
        graph->SetVideoRect(14, 82, 320, 240);
    }
    void TearDown() override {
        graph.reset();
        DestroyWindow(owner);
        CamsimTest::TearDown();
    }
    // The owner handles each graph message as the main window does.
    static LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<CameraPreview*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message == WM_GRAPH_EVENT && self->graph) {
            self->cameraLost = self->cameraLost || self->graph->CheckGraphEvent(lParam) == 1;
        }
        return CallWindowProcA(self->ownProc, window, message, wParam, lParam);
    }

    HWND owner = NULL;
    WNDPROC ownProc = NULL;
    std::unique_ptr<CaptureGraph> graph;
    bool cameraLost = false;
};

#endif
