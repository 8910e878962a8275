// The simulated camera's devices in the system's capture categories: one
// Instance key per device under the category, carrying its friendly name,
// the filter's CLSID and the device's index for IPersistPropertyBag::Load.
#ifndef CAMSIM_DEVICE_REGISTRY_H
#define CAMSIM_DEVICE_REGISTRY_H

#include <windows.h>

#include "camsim/control_block.h"

// The filters' class IDs.
extern const GUID CLSID_CamsimVideoCapture;
extern const GUID CLSID_CamsimAudioCapture;

// The simulated sound output's class.
extern const GUID CLSID_CamsimSoundOutput;

// Makes the system's DirectSound renderer class create the simulated sound
// output (simulated), or gives that class back to the system's renderer,
// which plays through the machine's sound server.
HRESULT ChooseSoundOutput(bool simulated);

// Name of the property in the Instance key that tells a filter its device.
extern const wchar_t kDeviceIndexProperty[];

// Friendly names of the two video devices.
extern const char* const kVideoDeviceNames[kVideoDeviceCount];

// Writes or deletes each device's Instance key as the settings say.
void SyncDeviceRegistrations(const CamsimSettings& settings);

// Sends a capture-interface arrival or removal to every top-level window, as
// the system does when a capture device comes or goes.
void AnnounceCaptureDevice(bool arrived);

#endif
