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

void SimulatedCamera::Reset(bool plugged, const std::vector<const wchar_t*>& extraAudioDevices) {
    ControlBlock* shared = block.Lock();
    if (!shared) {
        return;
    }
    CamsimSettings settings = DefaultSettings();
    settings.installed = 1;
    settings.plugged = plugged ? 1 : 0;
    for (const wchar_t* name : extraAudioDevices) {
        // wchar_t is 16 bits wide on Windows.
        ::AddAudioDevice(settings, reinterpret_cast<const uint16_t*>(name));
    }
    InitControlBlock(*shared, settings);
    block.Unlock();
}

void SimulatedCamera::SetFaults(uint32_t faults) {
    ControlBlock* shared = block.Lock();
    if (shared) {
        shared->settings.faults = faults;
        block.Unlock();
    }
}

void SimulatedCamera::SetTape(bool in) {
    ControlBlock* shared = block.Lock();
    if (shared) {
        shared->settings.tape = in ? 1 : 0;
        SetDeckTape(shared->deck, in);
        block.Unlock();
    }
}

void SimulatedCamera::ForceMode(int32_t mode) {
    ControlBlock* shared = block.Lock();
    if (shared) {
        shared->settings.forcedMode = mode;
        block.Unlock();
    }
}

void SimulatedCamera::ForceTransport(int32_t available) {
    Change([=](ControlBlock& b) { b.settings.forcedTransport = available; });
}

void SimulatedCamera::SetPlugged(bool plugged) {
    ControlBlock* shared = block.Lock();
    if (shared) {
        shared->settings.plugged = plugged ? 1 : 0;
        block.Unlock();
    }
}

void SimulatedCamera::AddAudioDevice(const wchar_t* name) {
    ControlBlock* shared = block.Lock();
    if (shared) {
        ::AddAudioDevice(shared->settings, reinterpret_cast<const uint16_t*>(name));
        block.Unlock();
    }
}

void SimulatedCamera::RemoveAudioDevice(int slot) {
    ControlBlock* shared = block.Lock();
    if (shared) {
        shared->settings.audio[slot].used = 0;
        block.Unlock();
    }
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

std::vector<CommandRecord> SimulatedCamera::Commands() {
    return Read([](ControlBlock& b) {
        std::vector<CommandRecord> commands;
        for (int i = 0; i < HeldCommandCount(b); ++i) {
            commands.push_back(HeldCommand(b, i));
        }
        return commands;
    });
}
