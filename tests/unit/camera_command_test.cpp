// The command word the camera receives and the status it reports.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "camera/camera_command.h"
#include "camera/camera_status.h"

namespace {

std::vector<unsigned> Bytes(CameraCommand word) {
    return {word & 0xFF, (word >> 8) & 0xFF, (word >> 16) & 0xFF, word >> 24};
}

} // namespace

TEST(CameraCommand, PacksSequenceClassAndCodeInTransmissionOrder) {
    const struct {
        unsigned sequence, commandClass, code;
        std::vector<unsigned> bytes;
    } cases[] = {
        {1, 1, 26, {0x10, 0x1A, 0x11, 0x00}},
        {3, 8, 128, {0x30, 0x80, 0x38, 0x00}},
        {0, 15, 255, {0x00, 0xFF, 0x0F, 0x00}},
        {15, 1, 24, {0xF0, 0x18, 0xF1, 0x00}},
        {2, 8, 0x1FF, {0x20, 0xFF, 0x28, 0x00}},
        {2, 8, 256, {0x20, 0x00, 0x28, 0x00}},
        // A class of 16 or more spills over the upper copy of the sequence.
        {1, 0x25, 1, {0x10, 0x01, 0x35, 0x00}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.bytes, Bytes(PackCameraCommand(c.sequence, c.commandClass, c.code)))
            << c.sequence << "/" << c.commandClass << "/" << c.code;
    }
    EXPECT_EQ(0x00111A10u, PackCameraCommand(1, 1, 26));
}

TEST(CameraCommand, SixteenCommandsCarrySequenceOneToFifteenThenZero) {
    unsigned sequence = 0;
    std::vector<unsigned> carried;
    for (int i = 0; i < 17; ++i) {
        CameraCommand word = 0;
        ASSERT_TRUE(NextCameraCommand(&sequence, 1, 26, &word));
        carried.push_back((word >> 4) & 0xF);
        EXPECT_EQ((word >> 4) & 0xF, (word >> 20) & 0xF);
    }
    EXPECT_EQ((std::vector<unsigned>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0, 1}),
              carried);
}

TEST(CameraCommand, ClassZeroIsNotSentAndKeepsTheCounter) {
    unsigned sequence = 4;
    CameraCommand word = 0xDEAD;
    EXPECT_FALSE(NextCameraCommand(&sequence, 0, 26, &word));
    EXPECT_EQ(4u, sequence);
    EXPECT_EQ(0xDEADu, word);
    // Brightness 0: only the class is tested for zero.
    EXPECT_TRUE(NextCameraCommand(&sequence, 8, 0, &word));
    EXPECT_EQ(5u, sequence);
    EXPECT_EQ((std::vector<unsigned>{0x50, 0x00, 0x58, 0x00}), Bytes(word));
}

TEST(CameraCommand, CapabilityIsBitThirteen) {
    EXPECT_TRUE(IsCameraControllable(0x2000));
    EXPECT_TRUE(IsCameraControllable(0xFFFFFFFF));
    EXPECT_FALSE(IsCameraControllable(0xFFFFDFFF));
    EXPECT_FALSE(IsCameraControllable(0));
}

TEST(CameraStatus, DecodesEachFieldFromItsBits) {
    const struct {
        int byte;
        unsigned char value;
        unsigned CameraStatus::*wide;
        unsigned char CameraStatus::*narrow;
        unsigned expected;
    } cases[] = {
        {0, 0xA5, &CameraStatus::statusByte0High, nullptr, 0xA},
        {1, 0x9C, &CameraStatus::statusByte1, nullptr, 0x9C},
        {2, 0xC5, &CameraStatus::transportMode, nullptr, 0xC5},
        {3, 0xFE, &CameraStatus::transportAvailable, nullptr, 2},
        {3, 0x04, &CameraStatus::statusByte3Bit2, nullptr, 1},
        {3, 0xFB, &CameraStatus::statusByte3Bit2, nullptr, 0},
        {3, 0xE8, &CameraStatus::statusByte3Bits3to5, nullptr, 5},
        {4, 0xBF, nullptr, &CameraStatus::statusByte4High, 2},
        {5, 0x80, nullptr, &CameraStatus::statusByte5Bit7, 1},
        {5, 0xD5, nullptr, &CameraStatus::statusByte5Low, 0x55},
        {6, 0xEE, nullptr, &CameraStatus::statusByte6, 0xEE},
        {7, 0x07, nullptr, &CameraStatus::statusByte7, 0x07},
        {8, 0xE9, nullptr, &CameraStatus::statusByte8Low, 0x29},
        {8, 0x7F, nullptr, &CameraStatus::statusByte8High, 1},
    };
    for (const auto& c : cases) {
        unsigned char block[kStatusBlockSize];
        std::memset(block, 0, sizeof block);
        block[c.byte] = c.value;
        CameraStatus status = DecodeCameraStatus(block);
        unsigned got = c.wide ? status.*c.wide : status.*c.narrow;
        EXPECT_EQ(c.expected, got) << "byte " << c.byte << " value " << int(c.value);
    }
}

TEST(CameraStatus, IgnoresTheUndecodedBits) {
    unsigned char block[kStatusBlockSize];
    std::memset(block, 0xFF, sizeof block);
    block[0] = 0x0F; // bits 0-3 of byte 0 are not decoded
    block[3] = 0xC0; // nor bits 6-7 of byte 3
    block[4] = 0x3F; // nor bits 0-5 of byte 4
    CameraStatus status = DecodeCameraStatus(block);
    EXPECT_EQ(0u, status.statusByte0High);
    EXPECT_EQ(0u, status.transportAvailable);
    EXPECT_EQ(0u, status.statusByte3Bit2);
    EXPECT_EQ(0u, status.statusByte3Bits3to5);
    EXPECT_EQ(0, status.statusByte4High);
    EXPECT_EQ(0xFFu, status.statusByte1);
    EXPECT_EQ(0x7F, status.statusByte5Low);
    EXPECT_EQ(3, status.statusByte8High);
}
