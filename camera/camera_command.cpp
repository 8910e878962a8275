#include "camera/camera_command.h"

namespace {
const unsigned kSequenceModulus = 16;
const unsigned kControllableBit = 0x2000;
} // namespace

CameraCommand PackCameraCommand(unsigned sequence, unsigned commandClass, unsigned commandCode) {
    CameraCommand word = sequence;
    word = (word << 4) | (commandClass & 0xFF);
    word = (word << 8) | (commandCode & 0xFF);
    word = (word << 4) | sequence;
    return word << 4;
}

bool NextCameraCommand(unsigned* sequence, unsigned commandClass, unsigned commandCode,
                       CameraCommand* word) {
    if (commandClass == 0) {
        return false;
    }
    *sequence = (*sequence + 1) % kSequenceModulus;
    *word = PackCameraCommand(*sequence, commandClass, commandCode);
    return true;
}

bool IsCameraControllable(unsigned capabilityWord) {
    return (capabilityWord & kControllableBit) != 0;
}
