#include "camera/camera_status.h"

namespace {

// Bits first..last of a byte, shifted down to start at bit 0.
unsigned char Bits(unsigned char value, int first, int last) {
    unsigned mask = (1u << (last - first + 1)) - 1;
    return static_cast<unsigned char>((value >> first) & mask);
}

} // namespace

CameraStatus DecodeCameraStatus(const unsigned char block[kStatusBlockSize]) {
    CameraStatus status;
    status.statusByte0High = Bits(block[0], 4, 7);
    status.statusByte1 = block[1];
    status.transportMode = block[2];
    status.transportAvailable = Bits(block[3], 0, 1);
    status.statusByte3Bit2 = Bits(block[3], 2, 2);
    status.statusByte3Bits3to5 = Bits(block[3], 3, 5);
    status.statusByte4High = Bits(block[4], 6, 7);
    status.statusByte5Bit7 = Bits(block[5], 7, 7);
    status.statusByte5Low = Bits(block[5], 0, 6);
    status.statusByte6 = block[6];
    status.statusByte7 = block[7];
    status.statusByte8Low = Bits(block[8], 0, 5);
    status.statusByte8High = Bits(block[8], 6, 7);
    return status;
}
