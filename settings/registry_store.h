// The settings' Store on the registry: values under HKEY_LOCAL_MACHINE, each
// key opened with only the access its call needs (querying values to read,
// setting them to write; a missing key is created) and closed again in every
// call.
// Each primitive answers 1 on success and 0 on any failure, reports nothing,
// and leaves its output untouched when it fails.
#ifndef MORVANE_SETTINGS_REGISTRY_STORE_H
#define MORVANE_SETTINGS_REGISTRY_STORE_H

class RegistryStore {
  public:
    // Takes any value of at most 4 bytes, whatever its type, as a
    // little-endian number; missing high bytes are zero.
    static int ReadDword(const char* subkey, const char* name, int* value);
    // Creates the key and any missing parent; stores a REG_DWORD.
    static int WriteDword(const char* subkey, const char* name, int value);
    // buffer holds kSettingTextSize bytes; on success it holds a terminated
    // text. A value that does not fit with its terminating zero fails.
    static int ReadString(const char* subkey, const char* name, char* buffer);
    // Creates the key and any missing parent; stores a REG_SZ with its zero.
    static int WriteString(const char* subkey, const char* name, const char* text);
};

#endif
