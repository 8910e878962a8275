// The floors of the benchmark: a program that does nothing but show the
// simulated camera's preview, built the shortest way. Like every program with
// skinned controls it loads the common controls first. Started with the
// argument "dialog", it shows the preview in Morvane's dialog template 101, as
// any program that shows that dialog must: its font and its 17 controls,
// drawn by nothing but the dialog manager. Without it, the preview has a
// window of its own, beside Morvane's centred window, so that both can run at
// once. A message kRebuildPreview tears the graph down and builds it again, as
// a quality step does.
#include <windows.h>
#include <commctrl.h>
#include <dshow.h>

#include <string.h>

#include "res/resource_ids.h"
#include "tests/bench/bench_messages.h"
#include "tests/win/bare_graph.h"

namespace {

// Room for the preview at the screen's top left.
const int kPlainWidth = 334;
const int kPlainHeight = 322;

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

INT_PTR CALLBACK BareDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(dialog);
        return TRUE;
    case WM_DESTROY:
        PostQuitMessage(0);
        return TRUE;
    default:
        return FALSE;
    }
}

HWND CreatePlainWindow(HINSTANCE instance) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = BarePreviewProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kBarePreviewClass;
    RegisterClassA(&windowClass);
    return CreateWindowA(kBarePreviewClass, kBarePreviewClass, WS_POPUP | WS_VISIBLE, 0, 0,
                         kPlainWidth, kPlainHeight, NULL, NULL, instance, NULL);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
    InitCommonControls();
    CoInitialize(NULL);
    HWND window =
        strcmp(arguments, "dialog") == 0
            ? CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), NULL, BareDialogProc, 0)
            : CreatePlainWindow(instance);
    BareGraph graph(window);
    preview = &graph;
    if (!window || !graph.Build()) {
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
