#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/unit/recording_store.h"

namespace {

using Lines = std::vector<std::string>;

// The settings fields as the main window holds them, filled with marks that
// show which ones an operation touched.
struct Record {
    char audioDevice[260] = "current device";
    int quality = -1;
    int brightness = -1;
    char savedAudioDevice[260] = "saved device";
    int savedQuality = -1;
    int savedBrightness = -1;
    int firstRun = 0;

    SettingsFields Fields() {
        return {audioDevice,   &quality,         &brightness, savedAudioDevice,
                &savedQuality, &savedBrightness, &firstRun};
    }
};

class SettingsStoreTest : public ::testing::Test {
  protected:
    void Load() { Settings().LoadSettings(); }
    SettingsStore<RecordingStore> Settings() { return {store, record.Fields()}; }

    RecordingStore store;
    Record record;
};

TEST_F(SettingsStoreTest, EmptyStoreGivesEveryFallbackAndAFirstRun) {
    Load();
    EXPECT_EQ(4, record.quality);
    EXPECT_EQ(4, record.savedQuality);
    EXPECT_EQ(128, record.brightness);
    EXPECT_EQ(128, record.savedBrightness);
    EXPECT_STREQ("Orvelle Audio", record.audioDevice);
    EXPECT_STREQ("Orvelle Audio", record.savedAudioDevice);
    EXPECT_EQ(1, record.firstRun);
    EXPECT_EQ((Lines{"driver SFMin", "driver SFMinOriginal", "shared Morvane_VideoBright",
                     "shared Morvane_VideoBrightOriginal", "shared Morvane_AudioDevice",
                     "shared Morvane_AudioDeviceOriginal", "shared Morvane_AudioSetting"}),
              store.reads);
    EXPECT_TRUE(store.writes.empty());
}

TEST_F(SettingsStoreTest, StoredValuesAreTakenAsTheyAreWithoutReadingOriginals) {
    store.PutDword(kTestDriverKey, "SFMin", 200);
    store.PutDword(kTestDriverKey, "SFMinOriginal", 30);
    store.PutDword(kTestSharedKey, "Morvane_VideoBright", -7);
    store.PutDword(kTestSharedKey, "Morvane_VideoBrightOriginal", 90);
    store.PutString(kTestSharedKey, "Morvane_AudioDevice", "Line In (USB)");
    store.PutString(kTestSharedKey, "Morvane_AudioDeviceOriginal", "Microphone");
    store.PutDword(kTestSharedKey, "Morvane_AudioSetting", 1);
    Load();
    EXPECT_EQ(200, record.quality);
    EXPECT_EQ(200, record.savedQuality);
    EXPECT_EQ(-7, record.brightness);
    EXPECT_EQ(-7, record.savedBrightness);
    EXPECT_STREQ("Line In (USB)", record.audioDevice);
    EXPECT_STREQ("Line In (USB)", record.savedAudioDevice);
    EXPECT_EQ(0, record.firstRun);
    EXPECT_EQ((Lines{"driver SFMin", "shared Morvane_VideoBright", "shared Morvane_AudioDevice",
                     "shared Morvane_AudioSetting"}),
              store.reads);
}

TEST_F(SettingsStoreTest, OriginalsFillTheCurrentValuesButNumbersRestoreTheConstants) {
    store.PutDword(kTestDriverKey, "SFMinOriginal", 30);
    store.PutDword(kTestSharedKey, "Morvane_VideoBrightOriginal", 90);
    store.PutString(kTestSharedKey, "Morvane_AudioDeviceOriginal", "Microphone");
    Load();
    EXPECT_EQ(30, record.quality);
    EXPECT_EQ(4, record.savedQuality);
    EXPECT_EQ(90, record.brightness);
    EXPECT_EQ(128, record.savedBrightness);
    // The name restored by Cancel is the original one, not the constant.
    EXPECT_STREQ("Microphone", record.audioDevice);
    EXPECT_STREQ("Microphone", record.savedAudioDevice);
}

TEST_F(SettingsStoreTest, AnEmptyDeviceNameIsANameNotAMissingValue) {
    store.PutString(kTestSharedKey, "Morvane_AudioDevice", "");
    store.PutString(kTestSharedKey, "Morvane_AudioDeviceOriginal", "Microphone");
    Load();
    EXPECT_STREQ("", record.audioDevice);
    EXPECT_STREQ("", record.savedAudioDevice);
}

TEST_F(SettingsStoreTest, OnlyAZeroOrMissingAudioSettingIsAFirstRun) {
    const struct {
        bool present;
        int value;
        int firstRun;
    } cases[] = {{false, 0, 1}, {true, 0, 1}, {true, 1, 0}, {true, 7, 0}, {true, -1, 0}};
    for (const auto& c : cases) {
        RecordingStore cleanStore;
        if (c.present) {
            cleanStore.PutDword(kTestSharedKey, "Morvane_AudioSetting", c.value);
        }
        Record cleanRecord;
        SettingsStore<RecordingStore>(cleanStore, cleanRecord.Fields()).LoadSettings();
        EXPECT_EQ(c.firstRun, cleanRecord.firstRun)
            << "present " << c.present << ", value " << c.value;
    }
}

TEST_F(SettingsStoreTest, StoreQualityClampsWhatItWritesButNotTheField) {
    const struct {
        int quality;
        int stored;
        int companion;
    } cases[] = {{2, 4, 20},
                 {3, 4, 20},
                 {4, 4, 20},
                 {5, 5, 21},
                 {50, 50, 66},
                 {63, 63, 79},
                 {64, 64, 80},
                 {65, 65, 80},
                 {79, 79, 80},
                 {80, 80, 80},
                 {81, 80, 80},
                 {200, 80, 80},
                 {-2147483647 - 1, 4, 20},
                 {2147483647, 80, 80}};
    for (const auto& c : cases) {
        store.writes.clear();
        record.quality = c.quality;
        Settings().StoreQuality();
        EXPECT_EQ((Lines{"driver SFMin=" + std::to_string(c.stored),
                         "driver SF=" + std::to_string(c.companion)}),
                  store.writes)
            << "quality " << c.quality;
        EXPECT_EQ(c.quality, record.quality);
    }
}

TEST_F(SettingsStoreTest, FinishWritesEverySettingAndMarksTheSetUpDone) {
    CopyText(record.audioDevice, 260, "Line In");
    record.quality = 50;
    record.brightness = 300;
    Settings().SaveSettings(1);
    EXPECT_EQ((Lines{"shared Morvane_AudioDevice=\"Line In\"", "driver SFMin=50", "driver SF=66",
                     "shared Morvane_VideoBright=300", "shared Morvane_AudioSetting=1"}),
              store.writes);
}

TEST_F(SettingsStoreTest, AResetMakesTheConstantTheQualityCancelPutsBack) {
    // Started with SFMin 50 and an original of 30: the reset shows 30 and
    // leaves 4, not 50, to be restored.
    store.PutDword(kTestDriverKey, "SFMin", 50);
    store.PutDword(kTestDriverKey, "SFMinOriginal", 30);
    Load();
    EXPECT_EQ(50, record.savedQuality);
    Settings().LoadDefaultQuality();
    EXPECT_EQ(30, record.quality);
    EXPECT_EQ(4, record.savedQuality);
}

TEST_F(SettingsStoreTest, ASaveThatDoesNotFinishWritesEverySettingButNotTheMark) {
    CopyText(record.audioDevice, 260, "Line In");
    record.quality = 50;
    record.brightness = 300;
    Settings().SaveSettings(0);
    EXPECT_EQ((Lines{"shared Morvane_AudioDevice=\"Line In\"", "driver SFMin=50", "driver SF=66",
                     "shared Morvane_VideoBright=300"}),
              store.writes);
}

TEST_F(SettingsStoreTest, AFailedSaveIsSilentAndKeepsTheValuesInMemory) {
    CopyText(record.audioDevice, 260, "Line In");
    record.quality = 90;
    record.brightness = 12;
    store.failWrites = true;
    Settings().SaveSettings(1);
    EXPECT_EQ(5u, store.writes.size());
    EXPECT_STREQ("Line In", record.audioDevice);
    EXPECT_EQ(90, record.quality);
    EXPECT_EQ(12, record.brightness);
    EXPECT_STREQ("saved device", record.savedAudioDevice);
    EXPECT_EQ(-1, record.savedQuality);
    EXPECT_TRUE(store.values.empty());
}

TEST(StoredText, IsTerminatedOrRefused) {
    const struct {
        char arrived[5];
        int length;
        bool fits;
        const char* text;
    } cases[] = {
        {"abc", 4, true, "abc"},  // with its zero
        {"abcX", 3, true, "abc"}, // without: the zero goes after it
        {"XXXX", 0, true, ""},    // no data at all
        {"abcd", 4, false, ""},   // fills the buffer without a zero
        {"ab\0d", 4, false, ""},  // an inner zero does not end the value
        {"abc", 5, false, ""},    // longer than the buffer
        {"abc", -1, false, ""},
    };
    for (const auto& c : cases) {
        char buffer[4];
        std::memcpy(buffer, c.arrived, 4);
        bool fits = TerminateStoredText(buffer, 4, c.length);
        EXPECT_EQ(c.fits, fits) << c.arrived << " of " << c.length;
        if (c.fits) {
            EXPECT_STREQ(c.text, buffer);
        }
    }
}

} // namespace
