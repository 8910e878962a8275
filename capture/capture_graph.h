// capture/: the live preview's DirectShow graph and the audio devices it can use.
//
// The preview graph: the camera's video and the chosen audio device rendered
// into a child window of the main window, with the catalogue of audio devices.
#ifndef MORVANE_CAPTURE_CAPTURE_GRAPH_H
#define MORVANE_CAPTURE_CAPTURE_GRAPH_H

#include <windows.h>

#include "capture/audio_device_list.h"

struct IGraphBuilder;
struct ICaptureGraphBuilder2;
struct IVideoWindow;
struct IMediaControl;
struct IMediaEventEx;
struct IBasicAudio;
struct IBasicVideo;
struct IBaseFilter;
struct IMoniker;

enum FriendlyNameRead { kNoStorage, kNoFriendlyName, kFriendlyNameRead };

// Reads a device's friendly name into a 260-byte ANSI buffer.
FriendlyNameRead ReadFriendlyName(IMoniker* device, char name[kDeviceNameSize]);

class CaptureGraph {
  public:
    CaptureGraph();
    ~CaptureGraph();

    void SetOwnerWindow(HWND window) { ownerWindow = window; }
    void SetVideoRect(int left, int top, int width, int height);

    // 1 when the preview runs; on 0 the graph is held as far as it got and the
    // caller tears it down.
    int Build();
    void TearDown();
    // Whether a Build or TearDown is under way. Either may hand messages to
    // the owner's windows on the way (the video window leaving takes the
    // mouse with it), and neither may be started again from those.
    bool IsChanging() const { return changing != 0; }
    // 1 when the event announced by the graph's message means the camera is
    // lost. announcedBy is the message's lParam: a message that a graph torn
    // down since left in the queue announces nothing.
    int CheckGraphEvent(LONG_PTR announcedBy);
    // Lists the audio devices again, prefers the one new device, rebuilds;
    // answers the new count minus the old.
    int RedetectAudioDevices();

    // Whether the preview's picture shows: a video window stands, and no
    // build or tear-down is under way.
    bool ShowsPicture() const { return videoWindow && !changing; }
    // Passes a palette, display or system colour message of the owner to the
    // video window, as its renderer asks of the window that owns it; nothing
    // while no picture shows.
    void NotifyOwnerMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Lent: valid until the next Build or TearDown.
    IBaseFilter* GetVideoCaptureFilter() const { return videoCaptureFilter; }
    void SetVolume(long volume);

    // The catalogue. Both expect COM to be initialised on this thread.
    int EnumerateDeviceNames(REFCLSID category, int maxCount);
    static IBaseFilter* FindAndAddDevice(IGraphBuilder* graph, REFCLSID category,
                                         const char* friendlyName, int position);

    void SetPreferredAudioDevice(const char* name) { audio.SetPreferredAudioDevice(name); }
    void ChooseAudioDevice() { audio.ChooseAudioDevice(); }
    void SetSelection(int index) { audio.SetSelection(index); }
    const char* GetAudioDeviceName(int index) const { return audio.GetAudioDeviceName(index); }
    int GetAudioDeviceCount() const { return audio.GetAudioDeviceCount(); }
    const char* GetCurrentAudioDevice() const { return audio.GetCurrentAudioDevice(); }

  private:
    int BuildGraph();
    void ReleaseGraph();
    HRESULT SetupVideoWindow();
    void SuggestAudioBuffers();
    IBaseFilter* FindVideoDevice(const char* name);

    HWND ownerWindow;
    char videoDeviceName[kDeviceNameSize];
    AudioDeviceList audio;
    IGraphBuilder* filterGraph;
    ICaptureGraphBuilder2* captureBuilder;
    IVideoWindow* videoWindow;
    IMediaControl* mediaControl;
    IMediaEventEx* mediaEvent;
    IBasicAudio* basicAudio;
    IBasicVideo* basicVideo;
    IBaseFilter* videoCaptureFilter;
    IBaseFilter* audioCaptureFilter;
    int videoTop;
    int videoLeft;
    int videoWidth;
    int videoHeight;
    // Whether this object's Build holds an initialisation of COM, which its
    // TearDown gives back; a tear-down without one leaves COM alone.
    bool comInitialized;
    // Tells the graphs apart in their event messages: each build's is new.
    LONG_PTR graphTag;
    // Builds and tear-downs under way, one inside the other included.
    int changing;
};

#endif
