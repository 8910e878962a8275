#include "settings/registry_store.h"

#include <windows.h>

#include "base/text.h"
#include "settings/settings_store.h"

namespace {

// Reads ask for reading only: a user who may read the settings but not
// change them (a limited account) still gets them.
bool OpenKeyForReading(const char* subkey, HKEY* key) {
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, KEY_QUERY_VALUE, key) == ERROR_SUCCESS;
}

// Writes ask for setting values only: an account that may set the values
// but not own the key keeps its settings. The system itself asks the parent
// for leave to create a missing key.
bool OpenKeyForWriting(const char* subkey, HKEY* key) {
    return RegCreateKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, NULL, REG_OPTION_NON_VOLATILE,
                           KEY_SET_VALUE, NULL, key, NULL) == ERROR_SUCCESS;
}

// Reads a value of at most size bytes into data; size becomes its length.
bool QueryValue(const char* subkey, const char* name, BYTE* data, DWORD* size) {
    HKEY key;
    if (!OpenKeyForReading(subkey, &key)) {
        return false;
    }
    LONG result = RegQueryValueExA(key, name, NULL, NULL, data, size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool SetValue(const char* subkey, const char* name, DWORD type, const BYTE* data, DWORD size) {
    HKEY key;
    if (!OpenKeyForWriting(subkey, &key)) {
        return false;
    }
    LONG result = RegSetValueExA(key, name, 0, type, data, size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

} // namespace

int RegistryStore::ReadDword(const char* subkey, const char* name, int* value) {
    BYTE bytes[4] = {0, 0, 0, 0};
    DWORD size = sizeof bytes;
    if (!QueryValue(subkey, name, bytes, &size)) {
        return 0;
    }
    DWORD number =
        bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<DWORD>(bytes[3]) << 24);
    *value = static_cast<int>(number);
    return 1;
}

int RegistryStore::WriteDword(const char* subkey, const char* name, int value) {
    DWORD number = static_cast<DWORD>(value);
    BYTE bytes[4] = {static_cast<BYTE>(number), static_cast<BYTE>(number >> 8),
                     static_cast<BYTE>(number >> 16), static_cast<BYTE>(number >> 24)};
    return SetValue(subkey, name, REG_DWORD, bytes, sizeof bytes) ? 1 : 0;
}

int RegistryStore::ReadString(const char* subkey, const char* name, char* buffer) {
    // Read into a buffer of our own first: the caller's stays untouched when
    // the value turns out not to fit.
    char text[kSettingTextSize];
    DWORD size = sizeof text;
    if (!QueryValue(subkey, name, reinterpret_cast<BYTE*>(text), &size) ||
        !TerminateStoredText(text, kSettingTextSize, static_cast<int>(size))) {
        return 0;
    }
    CopyText(buffer, kSettingTextSize, text);
    return 1;
}

int RegistryStore::WriteString(const char* subkey, const char* name, const char* text) {
    DWORD size = static_cast<DWORD>(TextLength(text) + 1);
    return SetValue(subkey, name, REG_SZ, reinterpret_cast<const BYTE*>(text), size) ? 1 : 0;
}
