// How the camera answers its vendor property set, over the shared block:
// capability, command and status, with the fault switches applied. The
// shell turns the answers into HRESULTs. Platform-free.
#ifndef CAMSIM_VENDOR_PROPERTIES_H
#define CAMSIM_VENDOR_PROPERTIES_H

#include <stdint.h>

#include "camsim/control_block.h"

enum VendorAnswer {
    VendorOk,
    VendorSFalse,             // a fault answers S_FALSE
    VendorFailed,             // a fault answers E_FAIL
    VendorNotConnected,       // the camera is unplugged
    VendorBufferTooSmall,     // data shorter than the property
    VendorWrongDirection,     // Get of the command, Set of capability or status
    VendorUnknownProperty,    // a property ID the set does not have
    VendorMalformedCommand,   // reserved bits set or sequence copies differ
    VendorNotReady,           // a transport command without a tape
    VendorCommandUnsupported, // a command class or code the camera ignores
};

// Get of a property into data (length bytes); *returned receives the bytes
// written, or the bytes needed when the buffer is too small.
VendorAnswer GetVendorProperty(ControlBlock& block, uint32_t property, uint8_t* data,
                               uint32_t length, uint32_t* returned, uint32_t nowMs);

// Set of a property. A command word that arrives is logged, whatever the
// answer, with the HRESULT that answerCode gives for the answer.
VendorAnswer SetVendorProperty(ControlBlock& block, uint32_t property, const uint8_t* data,
                               uint32_t length, uint32_t nowMs,
                               int32_t (*answerCode)(VendorAnswer));

// The mode byte and transportAvailable the status reports, forced values first.
uint8_t ReportedMode(const ControlBlock& block, uint32_t nowMs);
uint32_t ReportedTransportAvailable(const ControlBlock& block);

#endif
