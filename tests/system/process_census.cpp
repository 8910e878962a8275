#include "process_census.h"

#include <dshow.h>

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <vector>

#include "tests/wait_until.h"
#include "tests/win/bare_graph.h"

namespace {

// The camera's tone, and how far a pitch read under load may stray from it.
const double kCameraTone = 441;
const double kToneBound = 40;

// A process's kernel handles, from the system's handle table.
struct HandleEntry {
    ULONG ownerPid;
    BYTE objectType;
    BYTE flags;
    USHORT handle;
    PVOID object;
    ACCESS_MASK access;
};
typedef LONG(WINAPI* QuerySystemInformation)(ULONG, PVOID, ULONG, PULONG);
typedef LONG(WINAPI* QueryKey)(HANDLE, int, PVOID, ULONG, PULONG);

FARPROC NtEntry(const char* name) {
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), name);
}

// The handles `processId` holds; empty when the system does not tell.
std::vector<USHORT> HandlesOf(DWORD processId) {
    auto query = reinterpret_cast<QuerySystemInformation>(
        reinterpret_cast<void*>(NtEntry("NtQuerySystemInformation")));
    const ULONG kSystemHandleInformation = 16;
    std::vector<BYTE> buffer(1 << 16);
    for (;;) {
        ULONG needed = 0;
        LONG status = query(kSystemHandleInformation, buffer.data(),
                            static_cast<ULONG>(buffer.size()), &needed);
        if (status == static_cast<LONG>(0xC0000004)) { // the buffer is too small
            buffer.resize(std::max<size_t>(buffer.size() * 2, needed + 4096));
            continue;
        }
        if (status != 0) {
            return {};
        }
        break;
    }
    ULONG entries = *reinterpret_cast<ULONG*>(buffer.data());
    const HandleEntry* table = reinterpret_cast<const HandleEntry*>(buffer.data() + sizeof(void*));
    std::vector<USHORT> handles;
    for (ULONG i = 0; i < entries; ++i) {
        if (table[i].ownerPid == processId) {
            handles.push_back(table[i].handle);
        }
    }
    return handles;
}

// Whether a handle of `process` is a registry key that Wine's device
// enumerator left open; the program itself never opens these keys. The
// enumerator opens one key on the catalogue entry of every capture device it
// lists, and at every listing of any category (CreateClassEnumerator) the
// key of its own devices, HKCU\Software\Microsoft\ActiveMovie\devenum, and
// closes none of them. That key exists once the enumerator has listed a sound
// device there: with a sound server, whose capture devices it lists, every
// listing leaves one more. An entry removed since (an unplugged device's, or
// a sound device's listed anew) answers that its key is deleted: no other key
// the program could hold is deleted while it runs.
bool IsDeviceEnumeratorKey(HANDLE process, USHORT handle) {
    HANDLE copy = nullptr;
    if (!DuplicateHandle(process, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(handle)),
                         GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
        return false;
    }
    auto queryKey = reinterpret_cast<QueryKey>(reinterpret_cast<void*>(NtEntry("NtQueryKey")));
    const int kKeyNameInformation = 3;
    const LONG kKeyDeleted = static_cast<LONG>(0xC000017C);
    std::vector<BYTE> info(4096);
    ULONG length = 0;
    LONG status = queryKey(copy, kKeyNameInformation, info.data(),
                           static_cast<ULONG>(info.size() - 2), &length);
    CloseHandle(copy);
    if (status == kKeyDeleted) {
        return true;
    }
    if (status != 0) {
        return false; // not a key
    }
    ULONG bytes = *reinterpret_cast<ULONG*>(info.data());
    std::wstring name(reinterpret_cast<wchar_t*>(info.data() + sizeof(ULONG)), bytes / 2);
    for (wchar_t& c : name) {
        c = towupper(c);
    }
    const std::wstring ownDevices = L"\\SOFTWARE\\MICROSOFT\\ACTIVEMOVIE\\DEVENUM";
    if (name.size() >= ownDevices.size() &&
        name.compare(name.size() - ownDevices.size(), ownDevices.size(), ownDevices) == 0) {
        return true;
    }
    for (const wchar_t* category : {L"{860BB310-5D01-11D0-BD3B-00A0C911CE86}",    // video
                                    L"{33D9A762-90C8-11D0-BD43-00A0C911CE86}"}) { // audio
        if (name.find(std::wstring(L"\\CLSID\\") + category + L"\\INSTANCE\\") !=
            std::wstring::npos) {
            return true;
        }
    }
    return false;
}

} // namespace

// Waits until the running preview has shown a few more frames.
void WaitForFrames(SimulatedCamera& camera, uint32_t count) {
    const uint32_t before = camera.FramesDelivered();
    WaitUntil([&] { return camera.FramesDelivered() - before >= count; },
              "the preview to show " + std::to_string(count) + " more frames");
}

HandleCensus CountHandles(HANDLE process, DWORD processId) {
    std::vector<USHORT> handles = HandlesOf(processId);
    HandleCensus census;
    if (handles.empty()) {
        return census;
    }
    census.total = static_cast<long>(handles.size());
    for (USHORT handle : handles) {
        census.enumeratorKeys += IsDeviceEnumeratorKey(process, handle) ? 1 : 0;
    }
    return census;
}

PROCESS_MEMORY_COUNTERS MemoryOf(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(process, &counters, sizeof counters);
    return counters;
}

// Why the camera's tone is not heard from the sound server now, or "" when
// it is.
std::string SoundMissing(SoundMeter& meter, const char* program) {
    if (!meter.Ready()) {
        return meter.Problem();
    }
    SoundLevel level = meter.Measure(1000);
    if (!level.recorded || level.silent || std::fabs(level.frequency - kCameraTone) > kToneBound) {
        return std::string("the camera's tone is not heard from ") + program;
    }
    return "";
}

// Measured on bare preview graphs built in this process, in a window of its
// own, playing into the sound server as Morvane's graph does. The first
// graphs, which load the libraries and fill Wine's caches for good, are not
// counted; the first is heard.
LeftPerGraph LeftPerPreviewGraph(SimulatedCamera& camera, SoundMeter& meter, int graphs) {
    if (!meter.Ready()) {
        throw MeasurementStopped(meter.Problem());
    }
    CoInitialize(nullptr);
    HWND owner = CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 334, 322, nullptr,
                               nullptr, nullptr, nullptr);
    bool runs = true;
    long before = 0;
    double beforeKb = 0;
    {
        BareGraph graph(owner);
        const int kWarmUpGraphs = 10;
        for (int i = 0; runs && i < kWarmUpGraphs + graphs; ++i) {
            runs = graph.Build();
            if (runs) {
                WaitForFrames(camera, kFramesBetweenRebuilds);
                // Morvane's build lists the devices four times (the audio
                // devices' names, the audio device, the preferred camera, the
                // other), the bare graph twice; Wine's enumerator keeps memory
                // of every listing.
                ListCategory(CLSID_AudioInputDeviceCategory);
                ListCategory(CLSID_VideoInputDeviceCategory);
            }
            if (runs && i == 0) {
                WaitUntil([&] { return SoundMissing(meter, "a bare preview graph").empty(); },
                          "the camera's tone to be heard from a bare preview graph");
            }
            if (runs && i == kWarmUpGraphs - 1) {
                graph.TearDown();
                before = CountHandles(GetCurrentProcess(), GetCurrentProcessId()).Own();
                beforeKb = MemoryOf(GetCurrentProcess()).PagefileUsage / 1024.0;
            }
        }
    }
    const long after = CountHandles(GetCurrentProcess(), GetCurrentProcessId()).Own();
    const double afterKb = MemoryOf(GetCurrentProcess()).PagefileUsage / 1024.0;
    DestroyWindow(owner);
    CoUninitialize();
    if (!runs) {
        throw MeasurementStopped("a bare preview graph does not run in the benchmark's process");
    }
    return {static_cast<double>(after - before) / graphs, (afterKb - beforeKb) / graphs};
}
