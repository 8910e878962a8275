#include "camera/attachment_rules.h"

#include "res/resource_ids.h"

namespace {

// The layout of DEV_BROADCAST_DEVICEINTERFACE: the common header (size,
// device type, reserved; 32 bits each), then the interface's class GUID.
const unsigned kTypeOffset = 4;
const unsigned kHeaderSize = 12;
const unsigned kClassOffset = 12;
const unsigned kClassSize = 16;
const unsigned long kDeviceTypeInterface = 5;

// KSCATEGORY_CAPTURE {65E8773D-8F56-11D0-A3B9-00A0C9223196} as it lies in memory.
const unsigned char kCaptureClass[kClassSize] = {0x3D, 0x77, 0xE8, 0x65, 0x56, 0x8F, 0xD0, 0x11,
                                                 0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96};

unsigned long ReadLittleEndian32(const unsigned char* bytes) {
    return static_cast<unsigned long>(bytes[0]) | static_cast<unsigned long>(bytes[1]) << 8 |
           static_cast<unsigned long>(bytes[2]) << 16 | static_cast<unsigned long>(bytes[3]) << 24;
}

bool IsCaptureInterface(const unsigned char* broadcast) {
    // The size field itself is the one read that cannot be checked first.
    unsigned long size = ReadLittleEndian32(broadcast);
    if (size < kHeaderSize || ReadLittleEndian32(broadcast + kTypeOffset) != kDeviceTypeInterface ||
        size < kClassOffset + kClassSize) {
        return false;
    }
    for (unsigned i = 0; i < kClassSize; ++i) {
        if (broadcast[kClassOffset + i] != kCaptureClass[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

DeviceChange ReadDeviceChange(unsigned long event, const void* broadcast) {
    if ((event != kDeviceArrival && event != kDeviceRemoveComplete) || !broadcast) {
        return kDeviceChangeIgnored;
    }
    if (!IsCaptureInterface(static_cast<const unsigned char*>(broadcast))) {
        return kDeviceChangeIgnored;
    }
    return event == kDeviceArrival ? kCaptureArrival : kCaptureRemoval;
}

TimerAction ChooseTimerAction(unsigned long timerId, int page) {
    if (timerId == TIMER_STATUS_POLL) {
        return kTimerPollStatus;
    }
    if (timerId == TIMER_REATTACH) {
        return page == kNoCameraPage ? kTimerAttach : kTimerRedetectAudio;
    }
    return kTimerIgnored;
}

bool DetachesOnGraphEvent(int cameraLost, int page) {
    return cameraLost == 1 && page != kNoCameraPage;
}

bool StoresNewAudioDevice(int devicesAppeared, bool windowsXp) {
    return devicesAppeared == 1 && windowsXp;
}
