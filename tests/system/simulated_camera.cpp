#include "simulated_camera.h"

template <class Changer> void SimulatedCamera::Change(Changer change) {
    ControlBlock* shared = block.Lock();
    if (shared) {
        change(*shared);
        block.Unlock();
    }
}

SimulatedCamera::SimulatedCamera() {
    HMODULE driver = LoadLibraryA("camsim.dll");
    if (driver) {
        auto registerServer = reinterpret_cast<HRESULT(WINAPI*)()>(
            reinterpret_cast<void*>(GetProcAddress(driver, "DllRegisterServer")));
        installed = registerServer && registerServer() == S_OK;
        FreeLibrary(driver);
    }
    opened = block.Open();
}

void SimulatedCamera::Reset(bool plugged, const std::vector<const wchar_t*>& extraAudioDevices,
                            const wchar_t* previewPinDevice) {
    CamsimSettings settings = DefaultSettings();
    settings.installed = 1;
    settings.plugged = plugged ? 1 : 0;
    for (const wchar_t* name : extraAudioDevices) {
        // wchar_t is 16 bits wide on Windows.
        ::AddAudioDevice(settings, reinterpret_cast<const uint16_t*>(name));
    }
    if (previewPinDevice) {
        ::AddAudioDevice(settings, reinterpret_cast<const uint16_t*>(previewPinDevice), true);
    }
    Change([&](ControlBlock& b) { InitControlBlock(b, settings); });
}

void SimulatedCamera::SetFaults(uint32_t faults) {
    Change([=](ControlBlock& b) { b.settings.faults = faults; });
}

void SimulatedCamera::SetTape(bool in) {
    Change([=](ControlBlock& b) {
        b.settings.tape = in ? 1 : 0;
        SetDeckTape(b.deck, in);
    });
}

void SimulatedCamera::ForceMode(int32_t mode) {
    Change([=](ControlBlock& b) { b.settings.forcedMode = mode; });
}

void SimulatedCamera::ForceTransport(int32_t available) {
    Change([=](ControlBlock& b) { b.settings.forcedTransport = available; });
}

void SimulatedCamera::SetDeckDelay(uint32_t ms) {
    Change([=](ControlBlock& b) { b.settings.deckSettleMs = ms; });
}

void SimulatedCamera::SetPlugged(bool plugged) {
    Change([=](ControlBlock& b) { b.settings.plugged = plugged ? 1 : 0; });
}

void SimulatedCamera::AddAudioDevice(const wchar_t* name) {
    Change([=](ControlBlock& b) {
        ::AddAudioDevice(b.settings, reinterpret_cast<const uint16_t*>(name));
    });
}

void SimulatedCamera::RemoveAudioDevice(int slot) {
    Change([=](ControlBlock& b) { b.settings.audio[slot].used = 0; });
}

template <class Reader>
auto SimulatedCamera::Read(Reader read) -> decltype(read(*(ControlBlock*)nullptr)) {
    decltype(read(*(ControlBlock*)nullptr)) value{};
    ControlBlock* shared = block.Lock();
    if (shared) {
        value = read(*shared);
        block.Unlock();
    }
    return value;
}

uint32_t SimulatedCamera::FramesDelivered() {
    return Read([](ControlBlock& b) { return b.framesDelivered; });
}

uint32_t SimulatedCamera::GraphJoinMs() {
    return Read([](ControlBlock& b) { return b.graphJoinMs; });
}

uint32_t SimulatedCamera::GraphJoins() {
    return Read([](ControlBlock& b) { return b.graphJoins; });
}

uint32_t SimulatedCamera::StatusReads() {
    return Read([](ControlBlock& b) { return b.statusReads; });
}

uint8_t SimulatedCamera::DeckTarget() {
    return Read([](ControlBlock& b) { return b.deck.target; });
}

int32_t SimulatedCamera::LastAudioJoined() {
    return Read([](ControlBlock& b) { return b.lastAudioJoined; });
}

uint32_t SimulatedCamera::GraphsLeftAfterWindows() {
    return Read([](ControlBlock& b) { return b.leftAfterWindows; });
}

int32_t SimulatedCamera::FirstFrameDelayMs() {
    return Read([](ControlBlock& b) { return b.firstFrameDelayMs; });
}

std::vector<uint32_t> SimulatedCamera::BrightnessSent(size_t from) {
    std::vector<CommandRecord> commands = Commands();
    std::vector<uint32_t> values;
    for (size_t i = from; i < commands.size(); ++i) {
        if (commands[i].commandClass == kClassBrightness) {
            values.push_back(commands[i].code);
        }
    }
    return values;
}

bool IsCommand(const CommandRecord& record, uint32_t commandClass, uint32_t code) {
    return record.commandClass == commandClass && record.code == code;
}

std::vector<CommandRecord> SimulatedCamera::Commands() {
    return Read([](ControlBlock& b) {
        std::vector<CommandRecord> commands;
        for (int i = 0; i < HeldCommandCount(b); ++i) {
            commands.push_back(HeldCommand(b, i));
        }
        return commands;
    });
}
