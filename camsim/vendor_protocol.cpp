#include "camsim/vendor_protocol.h"

bool DecodeCommandWord(const uint8_t bytes[4], ReceivedCommand* command) {
    uint32_t word = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (uint32_t(bytes[3]) << 24);
    uint32_t lowSequence = (word >> 4) & 0xF;
    uint32_t highSequence = (word >> 20) & 0xF;
    command->commandClass = (word >> 16) & 0xF;
    command->code = (word >> 8) & 0xFF;
    command->sequence = lowSequence;
    return (word & 0xFF00000F) == 0 && lowSequence == highSequence;
}

void EncodeStatusBlock(uint8_t modeByte, uint32_t transportAvailable, uint8_t block[64]) {
    for (uint32_t i = 0; i < kStatusLength; ++i)
        block[i] = 0;
    block[2] = modeByte;
    block[3] = static_cast<uint8_t>(transportAvailable & 0x3);
}
