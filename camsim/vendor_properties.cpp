#include "camsim/vendor_properties.h"

#include "camsim/vendor_protocol.h"

namespace {

VendorAnswer ApplyCommand(ControlBlock& block, const ReceivedCommand& command, uint32_t nowMs) {
    switch (ApplyDeckCommand(block.deck, command.commandClass, command.code, nowMs,
                             block.settings.deckSettleMs)) {
    case CommandNotReady:
        return VendorNotReady;
    case CommandUnsupported:
        return VendorCommandUnsupported;
    case CommandAccepted:
        break;
    }
    if (command.commandClass == kClassBrightness)
        block.brightness = command.code;
    return VendorOk;
}

void PutWord(uint32_t value, uint8_t* data) {
    for (int i = 0; i < 4; ++i)
        data[i] = static_cast<uint8_t>(value >> (8 * i));
}

} // namespace

uint8_t ReportedMode(const ControlBlock& block, uint32_t nowMs) {
    if (block.settings.forcedMode != kNotForced)
        return static_cast<uint8_t>(block.settings.forcedMode);
    return DeckModeByte(block.deck.tape != 0, DeckMotionAt(block.deck, nowMs));
}

uint32_t ReportedTransportAvailable(const ControlBlock& block) {
    if (block.settings.forcedTransport != kNotForced)
        return static_cast<uint32_t>(block.settings.forcedTransport) & 0x3;
    return 1;
}

VendorAnswer GetVendorProperty(ControlBlock& block, uint32_t property, uint8_t* data,
                               uint32_t length, uint32_t* returned, uint32_t nowMs) {
    *returned = 0;
    uint32_t needed;
    if (property == kPropertyCapability)
        needed = kCapabilityLength;
    else if (property == kPropertyStatus) {
        needed = kStatusLength;
        ++block.statusReads;
    } else
        return property == kPropertyCommand ? VendorWrongDirection : VendorUnknownProperty;
    if (!block.settings.plugged)
        return VendorNotConnected;
    if (length < needed) {
        *returned = needed;
        return VendorBufferTooSmall;
    }
    const uint32_t faults = block.settings.faults;
    if ((faults & FaultGetFails) || (property == kPropertyStatus && (faults & FaultStatusFails)))
        return VendorFailed;
    if (property == kPropertyCapability) {
        uint32_t capability = (faults & FaultCapabilityClear) ? 0 : kCapabilityControllable;
        PutWord(capability, data);
    } else {
        EncodeStatusBlock(ReportedMode(block, nowMs), ReportedTransportAvailable(block), data);
    }
    *returned = needed;
    return (faults & FaultGetSFalse) ? VendorSFalse : VendorOk;
}

VendorAnswer SetVendorProperty(ControlBlock& block, uint32_t property, const uint8_t* data,
                               uint32_t length, uint32_t nowMs,
                               int32_t (*answerCode)(VendorAnswer)) {
    if (property == kPropertyCapability || property == kPropertyStatus)
        return VendorWrongDirection;
    if (property != kPropertyCommand)
        return VendorUnknownProperty;
    if (length < kCommandLength)
        return VendorBufferTooSmall;

    ReceivedCommand command;
    bool wellFormed = DecodeCommandWord(data, &command);
    VendorAnswer answer;
    const uint32_t faults = block.settings.faults;
    if (!block.settings.plugged)
        answer = VendorNotConnected;
    else if (!wellFormed)
        answer = VendorMalformedCommand;
    else if (faults & FaultSetFails)
        answer = VendorFailed;
    else {
        answer = ApplyCommand(block, command, nowMs);
        if (answer == VendorOk && (faults & FaultSetSFalse))
            answer = VendorSFalse;
    }
    CommandRecord record = {command.commandClass, command.code, command.sequence, nowMs,
                            answerCode(answer)};
    RecordCommand(block, record);
    return answer;
}
