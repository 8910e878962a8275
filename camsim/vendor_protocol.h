// The camera's side of the vendor property set: the command word it receives
// and the status block it answers. Platform-free.
#ifndef CAMSIM_VENDOR_PROTOCOL_H
#define CAMSIM_VENDOR_PROTOCOL_H

#include <stdint.h>

// Property IDs of the vendor set and their data lengths.
const uint32_t kPropertyCapability = 20;
const uint32_t kPropertyCommand = 21;
const uint32_t kPropertyStatus = 22;
const uint32_t kCapabilityLength = 4;
const uint32_t kCommandLength = 4;
const uint32_t kStatusLength = 64;

// Bit 13 of the capability word: the deck and picture can be controlled.
const uint32_t kCapabilityControllable = 0x2000;

struct ReceivedCommand {
    uint32_t commandClass; // bits 16-19
    uint32_t code;         // bits 8-15
    uint32_t sequence;     // bits 4-7, repeated in bits 20-23
};

// Splits a 4-byte little-endian command word (fields taken from the lower
// copy of the sequence). Answers false when the word is malformed: reserved
// bits set or the two copies of the sequence differ.
bool DecodeCommandWord(const uint8_t bytes[4], ReceivedCommand* command);

// Fills the 64-byte status block: mode in byte 2, transportAvailable in bits
// 0-1 of byte 3, every other byte zero.
void EncodeStatusBlock(uint8_t modeByte, uint32_t transportAvailable, uint8_t block[64]);

#endif
