#include "capture/audio_device_list.h"

#include "base/text.h"

const char kDefaultAudioDevice[] = "Orvelle Audio";

AudioDeviceList::AudioDeviceList() {
    currentAudioDevice[0] = '\0';
    for (int i = 0; i < kAudioDeviceCapacity; ++i) {
        audioDeviceNames[i][0] = '\0';
    }
    audioDeviceCount = 0;
    selection = 0;
    CopyText(preferredAudioDevice, kDeviceNameSize, kDefaultAudioDevice);
}

int ClampAudioDeviceIndex(int index) {
    if (index < 0) {
        return 0;
    }
    if (index >= kAudioDeviceCapacity) {
        return kAudioDeviceCapacity - 1;
    }
    return index;
}

bool AudioDeviceList::AddListedName(const char* name, int maxCount) {
    if (audioDeviceCount >= maxCount || audioDeviceCount >= kAudioDeviceCapacity) {
        return false;
    }
    CopyText(audioDeviceNames[audioDeviceCount], kDeviceNameSize, name);
    ++audioDeviceCount;
    return true;
}

void AudioDeviceList::ChooseAudioDevice() {
    // Every match swaps with the front, a later copy of the name as well.
    for (int i = 0; i < audioDeviceCount; ++i) {
        if (TextEquals(audioDeviceNames[i], preferredAudioDevice)) {
            char front[kDeviceNameSize];
            CopyText(front, kDeviceNameSize, audioDeviceNames[0]);
            CopyText(audioDeviceNames[0], kDeviceNameSize, audioDeviceNames[i]);
            CopyText(audioDeviceNames[i], kDeviceNameSize, front);
            selection = 0;
        }
    }
    CopyText(currentAudioDevice, kDeviceNameSize, audioDeviceNames[selection]);
}

void AudioDeviceList::TakeSnapshot(AudioDeviceSnapshot* snapshot) const {
    snapshot->count = audioDeviceCount;
    for (int i = 0; i < audioDeviceCount; ++i) {
        CopyText(snapshot->names[i], kDeviceNameSize, audioDeviceNames[i]);
    }
}

bool AudioDeviceSnapshot::Contains(const char* name) const {
    for (int i = 0; i < count; ++i) {
        if (TextEquals(names[i], name)) {
            return true;
        }
    }
    return false;
}

void AudioDeviceList::PreferNewDevice(const AudioDeviceSnapshot& before) {
    if (audioDeviceCount != before.count + 1) {
        return;
    }
    for (int i = 0; i < audioDeviceCount; ++i) {
        if (!before.Contains(audioDeviceNames[i])) {
            CopyText(preferredAudioDevice, kDeviceNameSize, audioDeviceNames[i]);
            return;
        }
    }
    CopyText(preferredAudioDevice, kDeviceNameSize, audioDeviceNames[0]);
}

void AudioDeviceList::SetPreferredAudioDevice(const char* name) {
    CopyText(preferredAudioDevice, kDeviceNameSize, name);
}

// The combobox answers -1 when nothing is selected: the selection is kept
// within the list so that no entry outside it is ever read.
void AudioDeviceList::SetSelection(int index) {
    selection = ClampAudioDeviceIndex(index);
}

const char* AudioDeviceList::GetAudioDeviceName(int index) const {
    return audioDeviceNames[ClampAudioDeviceIndex(index)];
}
