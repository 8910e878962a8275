#include "camsim/camsim_control.h"

#include <string.h>

#include "camsim/device_registry.h"

const char kCamsimSettingsKey[] = "SOFTWARE\\camsim";

namespace {

// No backslash in the names: Windows 9x and NT 4 refuse "Local\".
const char kMappingName[] = "camsim control block";
const char kMutexName[] = "camsim control lock";
const char kSettingsValue[] = "Settings";
const char kStateFileName[] = "camsim.dat";
const DWORD kLockTimeoutMs = 5000;

// The file that holds the block, one per machine: both the 32-bit and the
// 64-bit processes find it in the Windows folder.
bool StateFilePath(char (&path)[MAX_PATH]) {
    UINT length = GetWindowsDirectoryA(path, MAX_PATH);
    if (length == 0 || length + 1 + sizeof kStateFileName > MAX_PATH)
        return false;
    if (path[length - 1] != '\\')
        path[length++] = '\\';
    lstrcpyA(path + length, kStateFileName);
    return true;
}

// INVALID_HANDLE_VALUE when the file cannot be opened; the block then lives
// only while a process holds it.
HANDLE OpenStateFile() {
    char path[MAX_PATH];
    if (!StateFilePath(path))
        return INVALID_HANDLE_VALUE;
    return CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

void StoreSettings(const CamsimSettings& settings) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kCamsimSettingsKey, 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return; // the block still holds them while any process has it open
    RegSetValueExA(key, kSettingsValue, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&settings),
                   sizeof settings);
    RegCloseKey(key);
}

bool AnyVideoPresent(const CamsimSettings& settings) {
    for (int index = 0; index < kVideoDeviceCount; ++index)
        if (VideoDevicePresent(settings, index))
            return true;
    return false;
}

bool AnyDeviceCame(const CamsimSettings& before, const CamsimSettings& after, bool arrived) {
    const CamsimSettings& absent = arrived ? before : after;
    const CamsimSettings& present = arrived ? after : before;
    if (AnyVideoPresent(present) && !AnyVideoPresent(absent))
        return true;
    for (int slot = 0; slot < kMaxAudioDevices; ++slot)
        if (AudioDevicePresent(present, slot) && !AudioDevicePresent(absent, slot))
            return true;
    return false;
}

} // namespace

CamsimSettings StoredSettings() {
    CamsimSettings settings = DefaultSettings();
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCamsimSettingsKey, 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
        return settings;
    CamsimSettings stored;
    DWORD type = 0;
    DWORD length = sizeof stored;
    if (RegQueryValueExA(key, kSettingsValue, nullptr, &type, reinterpret_cast<BYTE*>(&stored),
                         &length) == ERROR_SUCCESS &&
        type == REG_BINARY && IsUsableSettings(&stored, length))
        settings = stored;
    RegCloseKey(key);
    return settings;
}

bool RemoveStateFile() {
    char path[MAX_PATH];
    if (!StateFilePath(path))
        return true; // there is no Windows folder to hold one
    return DeleteFileA(path) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

CamsimBlock::CamsimBlock() : mutex(nullptr), mapping(nullptr), view(nullptr), settingsAtLock() {}

CamsimBlock::~CamsimBlock() { Close(); }

bool CamsimBlock::Open() {
    if (view)
        return true;
    mutex = CreateMutexA(nullptr, FALSE, kMutexName);
    if (!mutex)
        return false;
    // Made under the lock, so that only one process fills a new block.
    DWORD waited = WaitForSingleObject(mutex, kLockTimeoutMs);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        Close();
        return false;
    }
    // The mapping keeps the file open; a process that finds the mapping made
    // by another shares that one.
    HANDLE file = OpenStateFile();
    mapping =
        CreateFileMappingA(file, nullptr, PAGE_READWRITE, 0, sizeof(ControlBlock), kMappingName);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    if (mapping)
        view = static_cast<ControlBlock*>(
            MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(ControlBlock)));
    if (view && !IsUsableBlock(*view))
        InitControlBlock(*view, StoredSettings());
    ReleaseMutex(mutex);
    if (!view) {
        Close();
        return false;
    }
    return true;
}

void CamsimBlock::Close() {
    if (view)
        UnmapViewOfFile(view);
    if (mapping)
        CloseHandle(mapping);
    if (mutex)
        CloseHandle(mutex);
    view = nullptr;
    mapping = nullptr;
    mutex = nullptr;
}

ControlBlock* CamsimBlock::Lock() {
    if (!view)
        return nullptr;
    DWORD waited = WaitForSingleObject(mutex, kLockTimeoutMs);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED)
        return nullptr;
    settingsAtLock = view->settings;
    return view;
}

void CamsimBlock::Unlock() {
    const CamsimSettings after = view->settings;
    const bool changed = memcmp(&after, &settingsAtLock, sizeof after) != 0;
    if (changed) {
        StoreSettings(after);
        SyncDeviceRegistrations(after);
    }
    ReleaseMutex(mutex);
    // Announced outside the lock: a window procedure that reads the block
    // while handling the message must not wait for us.
    if (changed && AnyDeviceCame(settingsAtLock, after, true))
        AnnounceCaptureDevice(true);
    if (changed && AnyDeviceCame(settingsAtLock, after, false))
        AnnounceCaptureDevice(false);
}
