// settings/: the stored streaming settings and the launcher's notice of them.
//
// The persistent settings: where each value lives, the fallbacks that stand in
// for a missing one, and the order in which they are loaded and saved.
// Platform-free: the values are read and written through a Store, a class
// with the four primitives
//   int ReadDword(const char* subkey, const char* name, int* value);
//   int WriteDword(const char* subkey, const char* name, int value);
//   int ReadString(const char* subkey, const char* name, char* buffer); // kSettingTextSize
//   int WriteString(const char* subkey, const char* name, const char* text);
// each answering 1 on success and 0 on failure, leaving its output untouched
// on failure. The registry is the program's Store (settings/registry_store.h).
#ifndef MORVANE_SETTINGS_SETTINGS_STORE_H
#define MORVANE_SETTINGS_SETTINGS_STORE_H

#include "base/text.h"

// Both keys are under HKEY_LOCAL_MACHINE. The shared key's trailing backslash
// is part of the subkey as the launcher's family spells it.
const char kSharedKey[] = "SOFTWARE\\Kivo Corporation\\Pelvorn\\";
const char kDriverKey[] = "SOFTWARE\\KIVO ZUL\\Orvelle\\REL3";

const char kQualityValue[] = "SFMin";
const char kCompanionQualityValue[] = "SF";
const char kQualityOriginalValue[] = "SFMinOriginal";
const char kBrightnessValue[] = "Morvane_VideoBright";
const char kBrightnessOriginalValue[] = "Morvane_VideoBrightOriginal";
const char kAudioDeviceValue[] = "Morvane_AudioDevice";
const char kAudioDeviceOriginalValue[] = "Morvane_AudioDeviceOriginal";
const char kAudioSettingValue[] = "Morvane_AudioSetting";

// A string value holds at most 259 bytes and its terminating zero.
const int kSettingTextSize = 260;

const int kFallbackQuality = 4;
const int kFallbackBrightness = 128;
const char kFallbackAudioDevice[] = "Orvelle Audio";

// The driver accepts a quality of 4..80 only.
int StoredQuality(int quality);
// The driver's companion value: the stored quality plus 16, at most 80.
int CompanionQuality(int storedQuality);

// Makes a text just read from the store safe to use: length bytes arrived in a
// buffer of capacity bytes. Answers false when the text and its terminating
// zero do not fit; the text may arrive with or without its zero.
bool TerminateStoredText(char* text, int capacity, int length);

// The settings fields of the main window's record, which the operations below
// read and write. Both texts are kSettingTextSize bytes.
struct SettingsFields {
    char* audioDevice;
    int* quality;
    int* brightness;
    char* savedAudioDevice;
    int* savedQuality;
    int* savedBrightness;
    int* firstRun;
};

template <class Store> class SettingsStore {
  public:
    SettingsStore(Store& store, const SettingsFields& fields) : store(store), fields(fields) {}

    // Loads every setting at start; a value that cannot be read gets its
    // default. A missing or zero "Morvane_AudioSetting" makes this start a
    // first run (firstRun = 1); otherwise firstRun is left as it was.
    void LoadSettings() {
        if (store.ReadDword(kDriverKey, kQualityValue, fields.savedQuality)) {
            *fields.quality = *fields.savedQuality;
        } else {
            LoadDefaultQuality();
        }
        if (store.ReadDword(kSharedKey, kBrightnessValue, fields.savedBrightness)) {
            *fields.brightness = *fields.savedBrightness;
        } else {
            LoadDefaultBrightness();
        }
        char name[kSettingTextSize];
        if (store.ReadString(kSharedKey, kAudioDeviceValue, name)) {
            CopyText(fields.savedAudioDevice, kSettingTextSize, name);
            CopyText(fields.audioDevice, kSettingTextSize, fields.savedAudioDevice);
        } else {
            LoadDefaultAudioDevice();
        }
        int audioSetting = 0;
        if (!store.ReadDword(kSharedKey, kAudioSettingValue, &audioSetting) || audioSetting == 0) {
            *fields.firstRun = 1;
        }
    }

    // Cancel always restores the fallback quality, whatever the original was.
    void LoadDefaultQuality() {
        if (!store.ReadDword(kDriverKey, kQualityOriginalValue, fields.quality)) {
            *fields.quality = kFallbackQuality;
        }
        *fields.savedQuality = kFallbackQuality;
    }

    void LoadDefaultBrightness() {
        if (!store.ReadDword(kSharedKey, kBrightnessOriginalValue, fields.brightness)) {
            *fields.brightness = kFallbackBrightness;
        }
        *fields.savedBrightness = kFallbackBrightness;
    }

    // Unlike the numbers, the name restored by Cancel is the one loaded here.
    void LoadDefaultAudioDevice() {
        char name[kSettingTextSize];
        if (store.ReadString(kSharedKey, kAudioDeviceOriginalValue, name)) {
            CopyText(fields.audioDevice, kSettingTextSize, name);
        } else {
            CopyText(fields.audioDevice, kSettingTextSize, kFallbackAudioDevice);
        }
        CopyText(fields.savedAudioDevice, kSettingTextSize, fields.audioDevice);
    }

    // Writes the quality for the driver, which reads it when its graph is
    // built. The field keeps its unclamped value. Failed writes are silent.
    void StoreQuality() {
        int stored = StoredQuality(*fields.quality);
        store.WriteDword(kDriverKey, kQualityValue, stored);
        store.WriteDword(kDriverKey, kCompanionQualityValue, CompanionQuality(stored));
    }

    // Writes the current values at the end of the wizard; only Finish
    // (finished = 1) marks the set-up as done. Failed writes are silent: the
    // program goes on with the values it holds.
    void SaveSettings(int finished) {
        store.WriteString(kSharedKey, kAudioDeviceValue, fields.audioDevice);
        StoreQuality();
        store.WriteDword(kSharedKey, kBrightnessValue, *fields.brightness);
        if (finished == 1) {
            store.WriteDword(kSharedKey, kAudioSettingValue, 1);
        }
    }

  private:
    Store& store;
    SettingsFields fields;
};

#endif
