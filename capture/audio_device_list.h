// The audio capture devices known by friendly name: the list that the audio
// device combobox shows, the preferred device and the user's selection.
// Platform-free: the names arrive from whatever enumerates the devices.
#ifndef MORVANE_CAPTURE_AUDIO_DEVICE_LIST_H
#define MORVANE_CAPTURE_AUDIO_DEVICE_LIST_H

const int kDeviceNameSize = 260;
const int kAudioDeviceCapacity = 16;

extern const char kDefaultAudioDevice[];

// The names of a listing, kept to compare a later listing with.
struct AudioDeviceSnapshot {
    char names[kAudioDeviceCapacity][kDeviceNameSize];
    int count;

    bool Contains(const char* name) const;
};

// Laid out as the audio fields of the preview graph, in their order.
struct AudioDeviceList {
    char currentAudioDevice[kDeviceNameSize];
    char audioDeviceNames[kAudioDeviceCapacity][kDeviceNameSize];
    int audioDeviceCount;
    int selection;
    char preferredAudioDevice[kDeviceNameSize];

    AudioDeviceList();

    // A new listing replaces the names from the front; entries beyond the new
    // count keep what an earlier listing left there.
    void BeginListing() { audioDeviceCount = 0; }
    // Adds a name while fewer than maxCount (and the capacity) are listed;
    // answers whether it was added.
    bool AddListedName(const char* name, int maxCount);

    // Moves the preferred name to the front and takes the current device from
    // the selection.
    void ChooseAudioDevice();
    void TakeSnapshot(AudioDeviceSnapshot* snapshot) const;
    // After a new listing: when exactly one device more is listed than in
    // before, prefer the first name that before did not hold, or entry 0 when
    // the new device repeats a known name.
    void PreferNewDevice(const AudioDeviceSnapshot& before);

    void SetPreferredAudioDevice(const char* name);
    void SetSelection(int index);
    const char* GetAudioDeviceName(int index) const;
    int GetAudioDeviceCount() const { return audioDeviceCount; }
    const char* GetCurrentAudioDevice() const { return currentAudioDevice; }
};

// An index clamped to the list's capacity, 0..15.
int ClampAudioDeviceIndex(int index);

#endif
