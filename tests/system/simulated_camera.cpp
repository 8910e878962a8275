#include "simulated_camera.h"

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
        AddAudioDevice(settings, reinterpret_cast<const uint16_t*>(name));
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

uint32_t SimulatedCamera::FramesDelivered() {
    uint32_t frames = 0;
    ControlBlock* shared = block.Lock();
    if (shared) {
        frames = shared->framesDelivered;
        block.Unlock();
    }
    return frames;
}

uint32_t SimulatedCamera::GraphJoinMs() {
    uint32_t joined = 0;
    ControlBlock* shared = block.Lock();
    if (shared) {
        joined = shared->graphJoinMs;
        block.Unlock();
    }
    return joined;
}

std::vector<CommandRecord> SimulatedCamera::Commands() {
    std::vector<CommandRecord> commands;
    ControlBlock* shared = block.Lock();
    if (shared) {
        for (int i = 0; i < HeldCommandCount(*shared); ++i) {
            commands.push_back(HeldCommand(*shared, i));
        }
        block.Unlock();
    }
    return commands;
}
