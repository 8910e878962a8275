// camsim.exe: installs the simulated camera's devices and operates the
// camera from scripts: plug, tape, faults, forced status, audio devices, and
// prints its state and command log.
#include <windows.h>

#include "camsim/camsim_control.h"
#include "camsim/device_registry.h"
#include "camsim/tool_command.h"
#include "camsim/vendor_properties.h"

namespace {

void Print(const char* text) {
    DWORD written;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, lstrlenA(text), &written, nullptr);
}

void PrintError(const char* text) {
    DWORD written;
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    WriteFile(error, "camsim: ", 8, &written, nullptr);
    WriteFile(error, text, lstrlenA(text), &written, nullptr);
    WriteFile(error, "\n", 1, &written, nullptr);
}

// Loads camsim.dll from beside this program and calls one of its
// registration entry points, as regsvr32 does.
int CallRegistration(const char* entryPoint) {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return kExitFailed;
    char* name = path + length;
    while (name > path && name[-1] != '\\' && name[-1] != '/')
        --name;
    if (name - path + 11 >= MAX_PATH)
        return kExitFailed;
    lstrcpyA(name, "camsim.dll");
    HMODULE library = LoadLibraryA(path);
    if (!library) {
        PrintError("cannot load camsim.dll beside camsim.exe");
        return kExitFailed;
    }
    typedef HRESULT(WINAPI * Registration)();
    Registration call = reinterpret_cast<Registration>(
        reinterpret_cast<void*>(GetProcAddress(library, entryPoint)));
    HRESULT result = call ? call() : E_NOINTERFACE;
    FreeLibrary(library);
    if (FAILED(result)) {
        PrintError("registration failed");
        return kExitFailed;
    }
    return kExitSuccess;
}

// Removes every device, then the camera's state file, which a later install
// makes anew from the stored settings.
int Uninstall() {
    int result = CallRegistration("DllUnregisterServer");
    if (result == kExitSuccess && !RemoveStateFile()) {
        PrintError("camsim.dat cannot be removed: a program still holds the camera");
        return kExitFailed;
    }
    return result;
}

int ChooseSound(bool simulated) {
    HRESULT result = CoInitialize(nullptr);
    if (SUCCEEDED(result)) {
        result = ChooseSoundOutput(simulated);
        CoUninitialize();
    }
    if (FAILED(result)) {
        PrintError("the sound renderer's class cannot be changed");
        return kExitFailed;
    }
    return kExitSuccess;
}

void PrintStatus(const ControlBlock& block) {
    const CamsimSettings& settings = block.settings;
    char line[200];
    wsprintfA(line,
              "installed %d\r\nplugged %d\r\ntape %d\r\nvideo2 %d\r\nfaults 0x%02X\r\n"
              "mode %d\r\ntransportAvailable %d\r\nbrightness %u\r\n",
              settings.installed, settings.plugged, settings.tape, settings.video2,
              settings.faults, ReportedMode(block, GetTickCount()),
              ReportedTransportAvailable(block), block.brightness);
    Print(line);
    wsprintfA(line,
              "deckDelayMs %u\r\nframes %u\r\nfirstFrameMs %d\r\ncommands %u\r\n"
              "statusReads %u\r\n",
              settings.deckSettleMs, block.framesDelivered, block.firstFrameDelayMs,
              block.commandCount, block.statusReads);
    Print(line);
    for (int slot = 0; slot < kMaxAudioDevices; ++slot) {
        const AudioDeviceSlot& device = settings.audio[slot];
        if (!device.used)
            continue;
        // Two bytes a unit hold any code page's characters; the block is a
        // file, so the name is taken no further than its field.
        char name[kAudioNameCapacity * 2] = "(no friendly name)";
        if (device.hasName) {
            int length = WideCharToMultiByte(
                CP_ACP, 0, reinterpret_cast<const wchar_t*>(device.name), AudioNameLength(device),
                name, sizeof name - 1, nullptr, nullptr);
            name[length] = 0;
        }
        wsprintfA(line, "audio %d %s%s\r\n", slot, name,
                  AudioDevicePresent(settings, slot) ? "" : " (absent)");
        Print(line);
    }
}

void PrintLog(const ControlBlock& block) {
    Print("sequence class code timeMs result\r\n");
    for (int index = 0; index < HeldCommandCount(block); ++index) {
        const CommandRecord& record = HeldCommand(block, index);
        char line[80];
        wsprintfA(line, "%u %u %u %u 0x%08X\r\n", record.sequence, record.commandClass,
                  record.code, record.timeMs, record.result);
        Print(line);
    }
}

// Applies a command that changes the camera; answers false when it cannot.
bool Apply(const ToolCommand& command, ControlBlock& block) {
    CamsimSettings& settings = block.settings;
    switch (command.action) {
    case ToolPlug:
    case ToolUnplug:
        settings.plugged = command.action == ToolPlug;
        return true;
    case ToolTape:
        settings.tape = command.flag;
        SetDeckTape(block.deck, command.flag);
        return true;
    case ToolFault:
        settings.faults = command.flag ? settings.faults | command.fault
                                       : settings.faults & ~command.fault;
        return true;
    case ToolMode:
        settings.forcedMode = command.number;
        return true;
    case ToolTransport:
        settings.forcedTransport = command.number;
        return true;
    case ToolVideo2:
        settings.video2 = command.flag;
        return true;
    case ToolDeckDelay:
        settings.deckSettleMs = uint32_t(command.number);
        return true;
    case ToolAudioAdd: {
        wchar_t name[kAudioNameCapacity];
        if (command.text)
            MultiByteToWideChar(CP_ACP, 0, command.text, -1, name, kAudioNameCapacity);
        name[kAudioNameCapacity - 1] = 0;
        int slot = AddAudioDevice(settings, command.text ? reinterpret_cast<uint16_t*>(name)
                                                         : nullptr);
        if (slot < 0)
            PrintError("all 20 audio device slots are taken");
        return slot >= 0;
    }
    case ToolAudioRemove:
        if (!settings.audio[command.number].used) {
            PrintError("no audio device in that slot");
            return false;
        }
        settings.audio[command.number].used = 0;
        return true;
    case ToolStatus:
        PrintStatus(block);
        return true;
    case ToolLog:
        PrintLog(block);
        return true;
    default:
        return false;
    }
}

int Run(int count, const char* const* arguments) {
    ToolCommand command = ParseToolCommand(count, arguments);
    if (command.action == ToolInvalid) {
        PrintError(command.error);
        PrintError(kToolUsage);
        return kExitUsage;
    }
    if (command.action == ToolInstall)
        return CallRegistration("DllRegisterServer");
    if (command.action == ToolUninstall)
        return Uninstall();
    if (command.action == ToolSoundOutput)
        return ChooseSound(command.flag);
    CamsimBlock handle;
    ControlBlock* block = handle.Open() ? handle.Lock() : nullptr;
    if (!block) {
        PrintError("cannot reach the camera's control block");
        return kExitFailed;
    }
    bool applied = Apply(command, *block);
    handle.Unlock();
    return applied ? kExitSuccess : kExitFailed;
}

} // namespace

int main(int count, char** arguments) { return Run(count - 1, arguments + 1); }
