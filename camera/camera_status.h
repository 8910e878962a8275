// The camera's status block (property 22, 64 bytes) and its decoded fields.
// Platform-free.
#ifndef MORVANE_CAMERA_CAMERA_STATUS_H
#define MORVANE_CAMERA_CAMERA_STATUS_H

const int kStatusBlockSize = 64;

struct CameraStatus {
    unsigned statusByte0High;
    unsigned statusByte1;
    unsigned transportMode;
    unsigned transportAvailable;
    unsigned statusByte3Bit2;
    unsigned statusByte3Bits3to5;
    unsigned char statusByte4High;
    unsigned char statusByte5Bit7;
    unsigned char statusByte5Low;
    unsigned char statusByte6;
    unsigned char statusByte7;
    unsigned char statusByte8Low;
    unsigned char statusByte8High;
};

// Decodes bytes 0 to 8 of a status block; the rest is not interpreted.
CameraStatus DecodeCameraStatus(const unsigned char block[kStatusBlockSize]);

#endif
