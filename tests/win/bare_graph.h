// The preview of the simulated camera built the shortest way, with nothing
// but the calls a preview needs: the floor the program's own graph is
// measured against.
#ifndef MORVANE_TESTS_WIN_BARE_GRAPH_H
#define MORVANE_TESTS_WIN_BARE_GRAPH_H

#include <windows.h>
#include <dshow.h>

#include "tests/win/device_list.h"

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

#endif
