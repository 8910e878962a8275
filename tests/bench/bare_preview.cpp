// The floor of the benchmark: a program that does nothing but show the
// simulated camera's preview in a window, built the shortest way. Like every
// program with skinned controls it loads the common controls first. A message
// kRebuild tears the graph down and builds it again, as a quality step does.
#include <windows.h>
#include <commctrl.h>
#include <dshow.h>

#include "tests/bench/bench_messages.h"
#include "tests/win/bare_graph.h"

namespace {

BareGraph* preview = nullptr;

LRESULT CALLBACK BarePreviewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kRebuildPreview:
        return preview->Build() ? 1 : 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    InitCommonControls();
    CoInitialize(NULL);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = BarePreviewProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kBarePreviewClass;
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA(kBarePreviewClass, kBarePreviewClass, WS_POPUP | WS_VISIBLE, 0, 0,
                                640, 400, NULL, NULL, instance, NULL);
    BareGraph graph(window);
    preview = &graph;
    if (!graph.Build()) {
        return 1;
    }
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    graph.TearDown();
    CoUninitialize();
    return 0;
}
