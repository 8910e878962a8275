#include "camsim/control_block.h"

#include <string.h>

namespace {

void CopyName(uint16_t* destination, const uint16_t* source) {
    int length = 0;
    while (source[length] && length < kAudioNameCapacity - 1) {
        destination[length] = source[length];
        ++length;
    }
    destination[length] = 0;
}

} // namespace

CamsimSettings DefaultSettings() {
    CamsimSettings settings;
    memset(&settings, 0, sizeof settings);
    settings.size = sizeof settings;
    settings.plugged = 1;
    settings.tape = 1;
    settings.forcedMode = kNotForced;
    settings.forcedTransport = kNotForced;
    settings.deckSettleMs = kDefaultDeckSettleMs;
    static const uint16_t cameraAudio[] = {'O', 'r', 'v', 'e', 'l', 'l', 'e', ' ',
                                           'A', 'u', 'd', 'i', 'o', 0};
    settings.audio[0].used = 1;
    settings.audio[0].hasName = 1;
    CopyName(settings.audio[0].name, cameraAudio);
    return settings;
}

bool IsUsableSettings(const void* bytes, uint32_t length) {
    if (length != sizeof(CamsimSettings))
        return false;
    uint32_t size;
    memcpy(&size, bytes, sizeof size);
    return size == sizeof(CamsimSettings);
}

void InitControlBlock(ControlBlock& block, const CamsimSettings& settings) {
    memset(&block, 0, sizeof block);
    block.size = sizeof block;
    block.settings = settings;
    block.deck = NewDeck();
    SetDeckTape(block.deck, settings.tape != 0);
    block.brightness = kDefaultBrightness;
    block.firstFrameDelayMs = -1;
    block.lastAudioJoined = -1;
}

bool IsUsableBlock(const ControlBlock& block) {
    return block.size == sizeof block && IsUsableSettings(&block.settings, sizeof block.settings);
}

bool VideoDevicePresent(const CamsimSettings& settings, int videoIndex) {
    if (videoIndex < 0 || videoIndex >= kVideoDeviceCount)
        return false;
    return settings.installed && settings.plugged && !(settings.faults & FaultVideoMissing) &&
           (videoIndex == 0 || settings.video2);
}

bool AudioDevicePresent(const CamsimSettings& settings, int slot) {
    if (slot < 0 || slot >= kMaxAudioDevices)
        return false;
    return settings.installed && settings.audio[slot].used && (slot != 0 || settings.plugged);
}

void RecordCommand(ControlBlock& block, const CommandRecord& record) {
    block.log[block.commandCount % kCommandLogCapacity] = record;
    ++block.commandCount;
}

int HeldCommandCount(const ControlBlock& block) {
    return block.commandCount < uint32_t(kCommandLogCapacity) ? int(block.commandCount)
                                                              : kCommandLogCapacity;
}

const CommandRecord& HeldCommand(const ControlBlock& block, int index) {
    uint32_t oldest = block.commandCount - uint32_t(HeldCommandCount(block));
    return block.log[(oldest + uint32_t(index)) % kCommandLogCapacity];
}

int AudioNameLength(const AudioDeviceSlot& device) {
    int length = 0;
    while (length < kAudioNameCapacity - 1 && device.name[length])
        ++length;
    return length;
}

int AddAudioDevice(CamsimSettings& settings, const uint16_t* name, bool previewPin) {
    for (int slot = 1; slot < kMaxAudioDevices; ++slot) {
        AudioDeviceSlot& device = settings.audio[slot];
        if (device.used)
            continue;
        memset(&device, 0, sizeof device);
        device.used = 1;
        device.hasName = name ? 1 : 0;
        device.previewPin = previewPin ? 1 : 0;
        if (name)
            CopyName(device.name, name);
        return slot;
    }
    return -1;
}
