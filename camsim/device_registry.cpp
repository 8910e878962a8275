#include "camsim/device_registry.h"

#include <dbt.h>
#include <dshow.h>

// {5C2F7A31-8E4B-4D62-9A17-3B6E0C9D41A8}
const GUID CLSID_CamsimVideoCapture = {
    0x5c2f7a31, 0x8e4b, 0x4d62, {0x9a, 0x17, 0x3b, 0x6e, 0x0c, 0x9d, 0x41, 0xa8}};
// {5C2F7A32-8E4B-4D62-9A17-3B6E0C9D41A8}
const GUID CLSID_CamsimAudioCapture = {
    0x5c2f7a32, 0x8e4b, 0x4d62, {0x9a, 0x17, 0x3b, 0x6e, 0x0c, 0x9d, 0x41, 0xa8}};

// {5C2F7A33-8E4B-4D62-9A17-3B6E0C9D41A8}
const GUID CLSID_CamsimSoundOutput = {
    0x5c2f7a33, 0x8e4b, 0x4d62, {0x9a, 0x17, 0x3b, 0x6e, 0x0c, 0x9d, 0x41, 0xa8}};

const wchar_t kDeviceIndexProperty[] = L"CamsimDevice";

const char* const kVideoDeviceNames[kVideoDeviceCount] = {"Orvelle Video", "Orvelle Video2"};

namespace {

// The categories' Instance keys under HKEY_CLASSES_ROOT.
const char kVideoInstances[] = "CLSID\\{860BB310-5D01-11D0-BD3B-00A0C911CE86}\\Instance";
const char kAudioInstances[] = "CLSID\\{33D9A762-90C8-11D0-BD43-00A0C911CE86}\\Instance";

// {65E8773D-8F56-11D0-A3B9-00A0C9223196}
const GUID kCaptureInterfaceClass = {
    0x65e8773d, 0x8f56, 0x11d0, {0xa3, 0xb9, 0x00, 0xa0, 0xc9, 0x22, 0x31, 0x96}};

void SetText(HKEY key, const wchar_t* name, const wchar_t* text) {
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>((lstrlenW(text) + 1) * sizeof(wchar_t)));
}

// Both registry views: the device enumerator of a 32-bit program on 64-bit
// Windows lists the 32-bit view, a 64-bit program's the other; where there is
// one registry, both flags name it.
const REGSAM kRegistryViews[] = {KEY_WOW64_64KEY, KEY_WOW64_32KEY};

// Writes one Instance key; a null friendly name leaves that value out.
void WriteInstanceInView(REGSAM view, const char* category, const char* instance,
                         const wchar_t* friendlyName, const GUID& clsid, int deviceIndex) {
    HKEY instances;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, category, 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr,
                        &instances, nullptr) != ERROR_SUCCESS)
        return;
    RegDeleteKeyA(instances, instance); // a re-plugged device starts clean
    HKEY key;
    LONG created = RegCreateKeyExA(instances, instance, 0, nullptr, 0, KEY_SET_VALUE | view,
                                   nullptr, &key, nullptr);
    RegCloseKey(instances);
    if (created != ERROR_SUCCESS)
        return;
    if (friendlyName)
        SetText(key, L"FriendlyName", friendlyName);
    wchar_t clsidText[40];
    StringFromGUID2(clsid, clsidText, 40);
    SetText(key, L"CLSID", clsidText);
    wchar_t indexText[12];
    wsprintfW(indexText, L"%d", deviceIndex);
    SetText(key, kDeviceIndexProperty, indexText);
    RegCloseKey(key);
}

void WriteInstance(const char* category, const char* instance, const wchar_t* friendlyName,
                   const GUID& clsid, int deviceIndex) {
    for (REGSAM view : kRegistryViews)
        WriteInstanceInView(view, category, instance, friendlyName, clsid, deviceIndex);
}

void DeleteInstance(const char* category, const char* instance) {
    for (REGSAM view : kRegistryViews) {
        HKEY instances;
        if (RegOpenKeyExA(HKEY_CLASSES_ROOT, category, 0, KEY_ALL_ACCESS | view, &instances) ==
            ERROR_SUCCESS) {
            RegDeleteKeyA(instances, instance);
            RegCloseKey(instances);
        }
    }
}

struct Announcement {
    WPARAM event;
    DEV_BROADCAST_DEVICEINTERFACE_A* broadcast;
};

BOOL CALLBACK AnnounceToWindow(HWND window, LPARAM parameter) {
    const Announcement* announcement = reinterpret_cast<const Announcement*>(parameter);
    DWORD_PTR answer;
    // A hung window must not hold up the plug; the system waits the same way.
    SendMessageTimeoutA(window, WM_DEVICECHANGE, announcement->event,
                        reinterpret_cast<LPARAM>(announcement->broadcast), SMTO_ABORTIFHUNG, 2000,
                        &answer);
    return TRUE;
}

} // namespace

void SyncDeviceRegistrations(const CamsimSettings& settings) {
    for (int index = 0; index < kVideoDeviceCount; ++index) {
        char instance[32];
        wsprintfA(instance, "camsim video %d", index);
        if (VideoDevicePresent(settings, index)) {
            wchar_t name[40];
            MultiByteToWideChar(CP_ACP, 0, kVideoDeviceNames[index], -1, name, 40);
            WriteInstance(kVideoInstances, instance, name, CLSID_CamsimVideoCapture, index);
        } else {
            DeleteInstance(kVideoInstances, instance);
        }
    }
    // Two-digit slot numbers keep the category's order the slots' order.
    for (int slot = 0; slot < kMaxAudioDevices; ++slot) {
        char instance[32];
        wsprintfA(instance, "camsim audio %02d", slot);
        const AudioDeviceSlot& device = settings.audio[slot];
        if (AudioDevicePresent(settings, slot)) {
            wchar_t name[kAudioNameCapacity];
            for (int i = 0; i < kAudioNameCapacity; ++i)
                name[i] = static_cast<wchar_t>(device.name[i]);
            name[kAudioNameCapacity - 1] = 0;
            WriteInstance(kAudioInstances, instance, device.hasName ? name : nullptr,
                          CLSID_CamsimAudioCapture, slot);
        } else {
            DeleteInstance(kAudioInstances, instance);
        }
    }
}

void AnnounceCaptureDevice(bool arrived) {
    const char name[] = "\\\\?\\root#camsim#0000#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global";
    union {
        DEV_BROADCAST_DEVICEINTERFACE_A header;
        char bytes[sizeof(DEV_BROADCAST_DEVICEINTERFACE_A) + sizeof name];
    } broadcast = {};
    broadcast.header.dbcc_size = sizeof broadcast;
    broadcast.header.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    broadcast.header.dbcc_classguid = kCaptureInterfaceClass;
    lstrcpynA(broadcast.header.dbcc_name, name, sizeof name);
    Announcement announcement = {
        static_cast<WPARAM>(arrived ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE),
        &broadcast.header};
    EnumWindows(AnnounceToWindow, reinterpret_cast<LPARAM>(&announcement));
}

HRESULT ChooseSoundOutput(bool simulated) {
    if (simulated)
        return CoTreatAsClass(CLSID_DSoundRender, CLSID_CamsimSoundOutput);
    CLSID treatedAs;
    if (CoGetTreatAsClass(CLSID_DSoundRender, &treatedAs) == S_OK &&
        IsEqualCLSID(treatedAs, CLSID_CamsimSoundOutput))
        return CoTreatAsClass(CLSID_DSoundRender, CLSID_NULL);
    return S_OK;
}
