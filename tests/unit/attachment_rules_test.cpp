#include "camera/attachment_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "base/windows_version.h"
#include "res/resource_ids.h"

namespace {

const unsigned char kCaptureClass[16] = {0x3D, 0x77, 0xE8, 0x65, 0x56, 0x8F, 0xD0, 0x11,
                                         0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96};

// A device broadcast as the system lays it out: size, device type, reserved,
// class GUID, then the device name. The buffer ends where bufferSize says,
// so that the sanitizer catches any read past it.
std::vector<unsigned char> Broadcast(unsigned size, unsigned type, const unsigned char* guid,
                                     unsigned bufferSize = 32) {
    std::vector<unsigned char> bytes(bufferSize, 0);
    std::memcpy(&bytes[0], &size, 4);
    if (bufferSize >= 8) {
        std::memcpy(&bytes[4], &type, 4);
    }
    if (bufferSize >= 28) {
        std::memcpy(&bytes[12], guid, 16);
    }
    return bytes;
}

} // namespace

TEST(DeviceChange, OnlyArrivalsAndRemovalsOfCaptureInterfacesCount) {
    unsigned char otherClass[16];
    std::memcpy(otherClass, kCaptureClass, 16);
    otherClass[15] ^= 0x01; // one bit off in the last byte
    unsigned char swappedFirstField[16];
    std::memcpy(swappedFirstField, kCaptureClass, 16);
    swappedFirstField[0] = 0x65; // the GUID's first field stored big-endian
    swappedFirstField[3] = 0x3D;

    const struct {
        const char* what;
        unsigned long event;
        std::vector<unsigned char> broadcast;
        DeviceChange expected;
    } cases[] = {
        {"capture arrival", 0x8000, Broadcast(32, 5, kCaptureClass), kCaptureArrival},
        {"capture removal", 0x8004, Broadcast(32, 5, kCaptureClass), kCaptureRemoval},
        {"exactly header and class", 0x8000, Broadcast(28, 5, kCaptureClass), kCaptureArrival},
        {"query remove", 0x8001, Broadcast(32, 5, kCaptureClass), kDeviceChangeIgnored},
        {"remove pending", 0x8003, Broadcast(32, 5, kCaptureClass), kDeviceChangeIgnored},
        {"devnodes changed", 0x0007, Broadcast(32, 5, kCaptureClass), kDeviceChangeIgnored},
        {"volume arrival", 0x8000, Broadcast(32, 2, kCaptureClass), kDeviceChangeIgnored},
        {"handle arrival", 0x8000, Broadcast(32, 6, kCaptureClass), kDeviceChangeIgnored},
        {"other class", 0x8000, Broadcast(32, 5, otherClass), kDeviceChangeIgnored},
        {"byte order of the class", 0x8000, Broadcast(32, 5, swappedFirstField),
         kDeviceChangeIgnored},
        {"size short of the class", 0x8000, Broadcast(27, 5, kCaptureClass), kDeviceChangeIgnored},
        {"header only", 0x8000, Broadcast(12, 5, kCaptureClass, 12), kDeviceChangeIgnored},
        {"size short of the type", 0x8000, Broadcast(4, 5, kCaptureClass, 4), kDeviceChangeIgnored},
        {"size zero", 0x8004, Broadcast(0, 5, kCaptureClass), kDeviceChangeIgnored},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, ReadDeviceChange(c.event, c.broadcast.data())) << c.what;
    }
}

TEST(DeviceChange, NullBroadcastIsIgnoredForEveryEvent) {
    for (unsigned long event : {0x8000ul, 0x8004ul, 0x0007ul}) {
        EXPECT_EQ(kDeviceChangeIgnored, ReadDeviceChange(event, nullptr)) << event;
    }
}

TEST(DeviceChange, OtherEventsAreIgnoredWithoutReadingTheirParameter) {
    // A pointer that must not be followed: under the sanitizer a read of it
    // would fail the test.
    const void* unreadable = reinterpret_cast<const void*>(0x10);
    EXPECT_EQ(kDeviceChangeIgnored, ReadDeviceChange(0x0007, unreadable));
    EXPECT_EQ(kDeviceChangeIgnored, ReadDeviceChange(0x8006, unreadable));
}

TEST(AttachmentTimers, EachTimerDoesItsWorkByPage) {
    const struct {
        unsigned long timer;
        int page;
        TimerAction expected;
    } cases[] = {
        {TIMER_STATUS_POLL, 0, kTimerPollStatus},
        {TIMER_STATUS_POLL, 3, kTimerPollStatus},
        {TIMER_REATTACH, 0, kTimerAttach},
        {TIMER_REATTACH, 1, kTimerRedetectAudio},
        {TIMER_REATTACH, 3, kTimerRedetectAudio},
        {TIMER_REATTACH, 4, kTimerRedetectAudio},
        {0, 0, kTimerIgnored},
        {3, 1, kTimerIgnored},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, ChooseTimerAction(c.timer, c.page)) << c.timer << " " << c.page;
    }
}

TEST(AttachmentGraphEvents, OnlyALostCameraOnAPageWithACameraDetaches) {
    EXPECT_TRUE(DetachesOnGraphEvent(1, 1));
    EXPECT_TRUE(DetachesOnGraphEvent(1, 4));
    EXPECT_FALSE(DetachesOnGraphEvent(1, 0));
    EXPECT_FALSE(DetachesOnGraphEvent(0, 2));
}

TEST(AttachmentAudioDevices, OneNewDeviceIsStoredAtOnceOnWindowsXpOnly) {
    const struct {
        WindowsVersion version;
        int appeared;
        bool stored;
    } cases[] = {
        {{2, 5, 1}, 1, true},   // XP
        {{2, 5, 0}, 1, false},  // 2000
        {{2, 5, 2}, 1, false},  // Server 2003 and XP x64
        {{2, 6, 1}, 1, false},  // later
        {{1, 5, 1}, 1, false},  // not NT
        {{1, 4, 10}, 1, false}, // 98
        {{2, 5, 1}, 2, false},  {{2, 5, 1}, 0, false}, {{2, 5, 1}, -1, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.stored, StoresNewAudioDevice(c.appeared, IsWindowsXp(c.version)))
            << c.version.platform << " " << c.version.major << "." << c.version.minor << " +"
            << c.appeared;
    }
}
