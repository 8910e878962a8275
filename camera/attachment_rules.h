// How the main window follows the camera: which device messages count, what
// each timer tick does on which page, and when a graph event detaches.
// Platform-free; the main window carries the answers out.
#ifndef MORVANE_CAMERA_ATTACHMENT_RULES_H
#define MORVANE_CAMERA_ATTACHMENT_RULES_H

// Page 0 says no camera is attached; an attach shows page 1.
const int kNoCameraPage = 0;
const int kAttachedPage = 1;

enum DeviceChange {
    kDeviceChangeIgnored,
    kCaptureArrival,
    kCaptureRemoval,
};

// Device events of WM_DEVICECHANGE that are read.
const unsigned long kDeviceArrival = 0x8000;
const unsigned long kDeviceRemoveComplete = 0x8004;

// What a WM_DEVICECHANGE means: the arrival or removal of a capture-class
// device interface, or nothing. broadcast is the message's device broadcast
// header, read only for the two events and only as far as its own size
// says it reaches; a null or short one is ignored.
DeviceChange ReadDeviceChange(unsigned long event, const void* broadcast);

enum TimerAction {
    kTimerIgnored,
    kTimerPollStatus,   // timer 1: read the deck, re-send its command
    kTimerAttach,       // timer 2 while no camera is shown
    kTimerRedetectAudio // timer 2 on a page with a camera
};

TimerAction ChooseTimerAction(unsigned long timerId, int page);

// A lost camera is acted on only while a page with a camera is shown.
bool DetachesOnGraphEvent(int cameraLost, int page);

// A re-detection that found exactly one new audio device stores it at once,
// but only on Windows XP.
bool StoresNewAudioDevice(int devicesAppeared, bool windowsXp);

#endif
