// The settings operations of the main window, on the registry.
#include "wizard/streaming_wizard.h"

#include "settings/launcher_broadcast.h"
#include "settings/registry_store.h"
#include "settings/settings_store.h"

static_assert(kDeviceNameSize == kSettingTextSize, "device names are settings texts");

namespace {

RegistryStore registry;

SettingsStore<RegistryStore> Settings(const SettingsFields& fields) {
    return SettingsStore<RegistryStore>(registry, fields);
}

} // namespace

SettingsFields StreamingWizard::Fields() {
    SettingsFields fields = {audioDevice,   &quality,         &brightness, savedAudioDevice,
                             &savedQuality, &savedBrightness, &firstRun};
    return fields;
}

void StreamingWizard::LoadSettings() {
    Settings(Fields()).LoadSettings();
    // The launcher shows its icon while the set-up has never been finished.
    if (firstRun) {
        BroadcastToLauncher(kShowIconMessage);
    }
}

void StreamingWizard::LoadDefaultQuality() {
    Settings(Fields()).LoadDefaultQuality();
}

void StreamingWizard::LoadDefaultBrightness() {
    Settings(Fields()).LoadDefaultBrightness();
}

void StreamingWizard::LoadDefaultAudioDevice() {
    Settings(Fields()).LoadDefaultAudioDevice();
}

void StreamingWizard::StoreQuality() {
    Settings(Fields()).StoreQuality();
}

void StreamingWizard::SaveSettings(int finished) {
    Settings(Fields()).SaveSettings(finished);
}
