#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "camsim/vendor_properties.h"
#include "camsim/vendor_protocol.h"

namespace {

int32_t Code(VendorAnswer answer) { return 1000 + answer; }

ControlBlock MakeBlock() {
    ControlBlock block;
    CamsimSettings settings = DefaultSettings();
    settings.installed = 1;
    InitControlBlock(block, settings);
    return block;
}

} // namespace

TEST(CamsimCommandWord, DecodesWhatTheProgramPacks) {
    const struct {
        uint8_t bytes[4];
        bool wellFormed;
        uint32_t commandClass, code, sequence;
    } rows[] = {
        {{0x10, 0x1A, 0x11, 0x00}, true, 1, 26, 1},
        {{0x30, 0x80, 0x38, 0x00}, true, 8, 128, 3},
        {{0x00, 0xFF, 0x0F, 0x00}, true, 15, 255, 0},
        {{0x10, 0x1A, 0x21, 0x00}, false, 1, 26, 1}, // sequence copies differ
        {{0x11, 0x1A, 0x11, 0x00}, false, 1, 26, 1}, // low nibble set
        {{0x10, 0x1A, 0x11, 0x01}, false, 1, 26, 1}, // top byte set
    };
    for (const auto& row : rows) {
        ReceivedCommand command;
        EXPECT_EQ(row.wellFormed, DecodeCommandWord(row.bytes, &command));
        EXPECT_EQ(row.commandClass, command.commandClass);
        EXPECT_EQ(row.code, command.code);
        EXPECT_EQ(row.sequence, command.sequence);
    }
}

TEST(CamsimVendorSet, StatusCarriesModeAndTransportForcedOrNot) {
    ControlBlock block = MakeBlock();
    uint8_t status[64];
    memset(status, 0xEE, sizeof status);
    uint32_t returned = 0;
    ASSERT_EQ(VendorOk, GetVendorProperty(block, kPropertyStatus, status, 64, &returned, 0));
    EXPECT_EQ(64u, returned);
    EXPECT_EQ(2, status[2]);
    EXPECT_EQ(1, status[3]);
    EXPECT_EQ(0, status[63]);
    block.settings.forcedMode = 226;
    block.settings.forcedTransport = 0;
    GetVendorProperty(block, kPropertyStatus, status, 64, &returned, 0);
    EXPECT_EQ(226, status[2]);
    EXPECT_EQ(0, status[3]);
}

TEST(CamsimVendorSet, LengthsDirectionsAndPlugAreChecked) {
    ControlBlock block = MakeBlock();
    uint8_t data[64] = {0x10, 0x1A, 0x11, 0x00};
    uint32_t returned = 0;
    EXPECT_EQ(VendorBufferTooSmall, GetVendorProperty(block, kPropertyCapability, data, 3,
                                                      &returned, 0));
    EXPECT_EQ(4u, returned);
    EXPECT_EQ(VendorWrongDirection, GetVendorProperty(block, kPropertyCommand, data, 4,
                                                      &returned, 0));
    EXPECT_EQ(VendorUnknownProperty, GetVendorProperty(block, 7, data, 64, &returned, 0));
    EXPECT_EQ(VendorWrongDirection, SetVendorProperty(block, kPropertyStatus, data, 64, 0, Code));
    EXPECT_EQ(VendorBufferTooSmall, SetVendorProperty(block, kPropertyCommand, data, 3, 0, Code));
    EXPECT_EQ(0u, block.commandCount);
    block.settings.plugged = 0;
    EXPECT_EQ(VendorNotConnected, GetVendorProperty(block, kPropertyCapability, data, 4,
                                                    &returned, 0));
    EXPECT_EQ(VendorNotConnected, SetVendorProperty(block, kPropertyCommand, data, 4, 0, Code));
    EXPECT_EQ(1u, block.commandCount); // it arrived, so it is logged
    EXPECT_EQ(Code(VendorNotConnected), block.log[0].result);
}

TEST(CamsimVendorSet, FaultsShapeEachAnswer) {
    // refusal: the answer to a command the camera does not know; a fault
    // that answers S_FALSE leaves a refusal as it is.
    const struct {
        uint32_t faults;
        VendorAnswer capability, status, command, refusal;
        uint8_t capabilityByte1;
    } rows[] = {
        {0, VendorOk, VendorOk, VendorOk, VendorCommandUnsupported, 0x20},
        {FaultCapabilityClear, VendorOk, VendorOk, VendorOk, VendorCommandUnsupported, 0x00},
        {FaultGetFails, VendorFailed, VendorFailed, VendorOk, VendorCommandUnsupported, 0xEE},
        {FaultGetSFalse, VendorSFalse, VendorSFalse, VendorOk, VendorCommandUnsupported, 0x20},
        {FaultSetFails, VendorOk, VendorOk, VendorFailed, VendorFailed, 0x20},
        {FaultSetSFalse, VendorOk, VendorOk, VendorSFalse, VendorCommandUnsupported, 0x20},
        {FaultStatusFails, VendorOk, VendorFailed, VendorOk, VendorCommandUnsupported, 0x20},
    };
    for (const auto& row : rows) {
        ControlBlock block = MakeBlock();
        block.settings.faults = row.faults;
        uint8_t data[64];
        memset(data, 0xEE, sizeof data);
        uint32_t returned;
        EXPECT_EQ(row.capability,
                  GetVendorProperty(block, kPropertyCapability, data, 4, &returned, 0));
        EXPECT_EQ(row.capabilityByte1, data[1]) << row.faults;
        EXPECT_EQ(row.status, GetVendorProperty(block, kPropertyStatus, data, 64, &returned, 0));
        EXPECT_EQ(1u, block.statusReads) << "each status read counts, failed or not";
        const uint8_t darker[4] = {0x10, 0x05, 0x18, 0x00};
        EXPECT_EQ(row.command, SetVendorProperty(block, kPropertyCommand, darker, 4, 0, Code));
        // A failed Set changes nothing; S_FALSE still acted.
        EXPECT_EQ(row.command == VendorFailed ? kDefaultBrightness : 5u, block.brightness);
        const uint8_t unknown[4] = {0x20, 0x01, 0x23, 0x00}; // class 3
        EXPECT_EQ(row.refusal, SetVendorProperty(block, kPropertyCommand, unknown, 4, 0, Code))
            << row.faults;
    }
}

TEST(CamsimCommandLog, KeepsTheLatestRecordsOldestFirst) {
    ControlBlock block = MakeBlock();
    for (uint32_t index = 0; index < kCommandLogCapacity + 10; ++index) {
        CommandRecord record = {1, index % 256, index % 16, index, 0};
        RecordCommand(block, record);
    }
    ASSERT_EQ(kCommandLogCapacity, HeldCommandCount(block));
    EXPECT_EQ(10u, HeldCommand(block, 0).timeMs);
    EXPECT_EQ(uint32_t(kCommandLogCapacity + 9), HeldCommand(block, kCommandLogCapacity - 1).timeMs);
}

TEST(CamsimSettings, DevicesFollowPlugFaultsAndSlots) {
    CamsimSettings settings = DefaultSettings();
    EXPECT_FALSE(VideoDevicePresent(settings, 0)); // not installed yet
    settings.installed = 1;
    EXPECT_TRUE(VideoDevicePresent(settings, 0));
    EXPECT_FALSE(VideoDevicePresent(settings, 1));
    EXPECT_TRUE(AudioDevicePresent(settings, 0));
    const uint16_t name[] = {'M', 'i', 'c', 0};
    EXPECT_EQ(1, AddAudioDevice(settings, name));
    EXPECT_EQ(2, AddAudioDevice(settings, nullptr));
    EXPECT_EQ(0, settings.audio[2].hasName);
    // A new device takes the first free slot after the camera's own.
    settings.audio[1].used = 0;
    EXPECT_EQ(1, AddAudioDevice(settings, name));
    settings.audio[0].used = 0;
    EXPECT_EQ(3, AddAudioDevice(settings, name));
    settings.audio[0].used = 1;
    settings.plugged = 0;
    EXPECT_FALSE(VideoDevicePresent(settings, 0));
    EXPECT_FALSE(AudioDevicePresent(settings, 0)); // the camera's own sound goes with it
    EXPECT_TRUE(AudioDevicePresent(settings, 1));
    settings.plugged = 1;
    settings.faults = FaultVideoMissing;
    EXPECT_FALSE(VideoDevicePresent(settings, 0));
    EXPECT_TRUE(AudioDevicePresent(settings, 0));
    EXPECT_FALSE(IsUsableSettings(&settings, sizeof settings - 4));
    settings.size = 12;
    EXPECT_FALSE(IsUsableSettings(&settings, sizeof settings));
}

TEST(CamsimSettings, AudioNamesAreCutToTheirCapacity) {
    for (int length : {kAudioNameCapacity - 1, kAudioNameCapacity, kAudioNameCapacity + 6}) {
        CamsimSettings settings = DefaultSettings();
        std::vector<uint16_t> name(length, 'x');
        name.push_back(0);
        settings.audio[2].name[0] = 'y'; // the next slot is left alone
        ASSERT_EQ(1, AddAudioDevice(settings, name.data()));
        const uint16_t* stored = settings.audio[1].name;
        int kept = 0;
        while (kept < kAudioNameCapacity && stored[kept] == 'x')
            ++kept;
        EXPECT_EQ(std::min(length, kAudioNameCapacity - 1), kept) << length;
        EXPECT_EQ(0, stored[kept]) << length;
        EXPECT_EQ('y', settings.audio[2].name[0]) << length;
    }
}

TEST(CamsimSettings, AStoredBlockIsTakenOverOnlyInThisLayout) {
    ControlBlock block = {};
    EXPECT_FALSE(IsUsableBlock(block)); // a new store is zero-filled
    block = MakeBlock();
    EXPECT_TRUE(IsUsableBlock(block));
    block.size -= 4;
    EXPECT_FALSE(IsUsableBlock(block));
    block = MakeBlock();
    block.settings.size = 12;
    EXPECT_FALSE(IsUsableBlock(block));
}
