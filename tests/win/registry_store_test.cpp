// The registry primitives and the settings operations on Wine's real registry.
#include "settings/registry_store.h"

#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "settings/settings_store.h"

namespace {

const char kShared[] = "SOFTWARE\\Kivo Corporation\\Pelvorn\\";
const char kDriver[] = "SOFTWARE\\KIVO ZUL\\Orvelle\\REL3";

void DeleteTree(const char* subkey) {
    DWORD result = SHDeleteKeyA(HKEY_LOCAL_MACHINE, subkey);
    ASSERT_TRUE(result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND) << subkey;
}

// Writes a value exactly as given, bypassing the primitives. A byte other than
// zero follows the data: the registry adds the zero that a text lacks when the
// caller's buffer has one right after it.
void PutRaw(const char* subkey, const char* name, DWORD type, const void* data, DWORD size) {
    const BYTE* bytes = static_cast<const BYTE*>(data);
    std::vector<BYTE> guarded(bytes, bytes + size);
    guarded.push_back('Z');
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, NULL, 0, KEY_ALL_ACCESS,
                                             NULL, &key, NULL));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name, 0, type, guarded.data(), size));
    RegCloseKey(key);
}

struct RawValue {
    bool found;
    DWORD type;
    std::vector<BYTE> data;
};

RawValue GetRaw(const char* subkey, const char* name) {
    RawValue value = {false, 0, {}};
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return value;
    }
    BYTE data[1024];
    DWORD size = sizeof data;
    if (RegQueryValueExA(key, name, NULL, &value.type, data, &size) == ERROR_SUCCESS) {
        value.found = true;
        value.data.assign(data, data + size);
    }
    RegCloseKey(key);
    return value;
}

std::vector<BYTE> Bytes(std::initializer_list<int> bytes) {
    return std::vector<BYTE>(bytes.begin(), bytes.end());
}

class RegistryStoreTest : public ::testing::Test {
  protected:
    // Whole families go, so that writes must create every missing parent.
    void SetUp() override { RemoveSettings(); }
    void TearDown() override { RemoveSettings(); }
    static void RemoveSettings() {
        DeleteTree("SOFTWARE\\Kivo Corporation");
        DeleteTree("SOFTWARE\\KIVO ZUL");
    }
};

TEST_F(RegistryStoreTest, DwordReadTakesAnyValueOfAtMostFourBytesWhateverItsType) {
    const struct {
        const char* what;
        DWORD type;
        std::vector<BYTE> data;
        int read;
        int value;
    } cases[] = {
        {"REG_DWORD", REG_DWORD, Bytes({0x78, 0x56, 0x34, 0x12}), 1, 0x12345678},
        {"all bits", REG_DWORD, Bytes({0xFF, 0xFF, 0xFF, 0xFF}), 1, -1},
        {"one byte", REG_BINARY, Bytes({7}), 1, 7},
        {"two bytes", REG_BINARY, Bytes({1, 0}), 1, 1},
        {"two-byte text", REG_SZ, Bytes({1, 0}), 1, 1},
        {"big-endian type", REG_DWORD_BIG_ENDIAN, Bytes({0, 0, 0, 5}), 1, 0x05000000},
        {"no data", REG_NONE, Bytes({}), 1, 0},
        {"eight bytes", REG_QWORD, Bytes({1, 0, 0, 0, 0, 0, 0, 0}), 0, 0},
        {"five bytes", REG_BINARY, Bytes({1, 2, 3, 4, 5}), 0, 0},
        {"text of five bytes", REG_SZ, Bytes({'1', '2', '3', '4', 0}), 0, 0},
    };
    for (const auto& c : cases) {
        PutRaw(kShared, "Morvane_AudioSetting", c.type, c.data.data(),
               static_cast<DWORD>(c.data.size()));
        int value = 0x5A5A5A5A;
        EXPECT_EQ(c.read, RegistryStore::ReadDword(kShared, "Morvane_AudioSetting", &value))
            << c.what;
        EXPECT_EQ(c.read ? c.value : 0x5A5A5A5A, value) << c.what;
    }
}

TEST_F(RegistryStoreTest, ReadsOfMissingKeysAndValuesFailUntouched) {
    int value = 42;
    char text[260] = "untouched";
    EXPECT_EQ(0, RegistryStore::ReadDword(kDriver, "SFMin", &value));
    EXPECT_EQ(0, RegistryStore::ReadString(kShared, "Morvane_AudioDevice", text));
    ASSERT_EQ(1, RegistryStore::WriteDword(kDriver, "SF", 20));
    ASSERT_EQ(1, RegistryStore::WriteString(kShared, "Other", "x"));
    EXPECT_EQ(0, RegistryStore::ReadDword(kDriver, "SFMin", &value));
    EXPECT_EQ(0, RegistryStore::ReadString(kShared, "Morvane_AudioDevice", text));
    EXPECT_EQ(42, value);
    EXPECT_STREQ("untouched", text);
}

TEST_F(RegistryStoreTest, WritesCreateMissingKeysAndStoreTheExactForm) {
    ASSERT_EQ(1, RegistryStore::WriteDword(kDriver, "SFMin", -2));
    ASSERT_EQ(1, RegistryStore::WriteString(kShared, "Morvane_AudioDevice", "Line In"));

    RawValue quality = GetRaw(kDriver, "SFMin");
    ASSERT_TRUE(quality.found);
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), quality.type);
    EXPECT_EQ(Bytes({0xFE, 0xFF, 0xFF, 0xFF}), quality.data);

    // The trailing backslash names the same key as the path without it.
    RawValue device = GetRaw("SOFTWARE\\Kivo Corporation\\Pelvorn", "Morvane_AudioDevice");
    ASSERT_TRUE(device.found);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), device.type);
    EXPECT_EQ(Bytes({'L', 'i', 'n', 'e', ' ', 'I', 'n', 0}), device.data);

    int value = 0;
    EXPECT_EQ(1, RegistryStore::ReadDword(kDriver, "SFMin", &value));
    EXPECT_EQ(-2, value);
}

// Reads "Morvane_AudioDevice" into a buffer full of marks: on success it must
// hold the expected text, terminated; on failure it must be untouched.
void ExpectStringRead(int read, const std::string& text, const char* what) {
    char buffer[260];
    std::memset(buffer, 'X', sizeof buffer);
    EXPECT_EQ(read, RegistryStore::ReadString(kShared, "Morvane_AudioDevice", buffer)) << what;
    if (read) {
        ASSERT_NE(nullptr, std::memchr(buffer, '\0', sizeof buffer)) << what;
        EXPECT_EQ(text, std::string(buffer)) << what;
    } else {
        EXPECT_EQ(std::string(260, 'X'), std::string(buffer, sizeof buffer)) << what;
    }
}

TEST_F(RegistryStoreTest, StringReadIsAlwaysTerminatedOrFailsUntouched) {
    const std::string longest(259, 'a');
    const std::string tooLong(260, 'b');
    const struct {
        const char* what;
        DWORD type;
        std::string data; // stored byte for byte, without an added zero
        int read;
        std::string text;
    } cases[] = {
        {"259 characters", REG_SZ, longest + '\0', 1, longest},
        {"260 characters", REG_SZ, tooLong + '\0', 0, ""},
        {"260 characters without a zero", REG_SZ, tooLong, 0, ""},
        {"300 characters", REG_SZ, std::string(300, 'c') + '\0', 0, ""},
        {"text without a zero", REG_SZ, "abcdefghij", 1, "abcdefghij"},
        {"259 characters without a zero", REG_SZ, longest, 1, longest},
        {"empty text", REG_SZ, std::string(1, '\0'), 1, ""},
        {"no data", REG_SZ, "", 1, ""},
        {"binary without a zero", REG_BINARY, "\x01\x02\x03", 1, "\x01\x02\x03"},
        {"a number", REG_DWORD, std::string("\x41\x42\x00\x00", 4), 1, "AB"},
    };
    for (const auto& c : cases) {
        PutRaw(kShared, "Morvane_AudioDevice", c.type, c.data.data(),
               static_cast<DWORD>(c.data.size()));
        ExpectStringRead(c.read, c.text, c.what);
    }
}

TEST_F(RegistryStoreTest, WideAndOddlyEncodedTextsReadSafely) {
    const struct {
        const char* what;
        DWORD type;
        std::wstring data;
        DWORD size; // bytes of data stored
        int read;
        std::string text;
    } cases[] = {
        {"accented", REG_SZ, L"Caf\u00e9 Audio", 22, 1, "Caf\xe9 Audio"},
        {"half a character", REG_SZ, L"ab", 3, 1, "a"},
        {"too long in wide characters", REG_SZ, std::wstring(261, L'w'), 522, 0, ""},
    };
    for (const auto& c : cases) {
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, kShared, 0, NULL, 0,
                                                 KEY_ALL_ACCESS, NULL, &key, NULL));
        ASSERT_EQ(ERROR_SUCCESS,
                  RegSetValueExW(key, L"Morvane_AudioDevice", 0, c.type,
                                 reinterpret_cast<const BYTE*>(c.data.data()), c.size))
            << c.what;
        RegCloseKey(key);
        ExpectStringRead(c.read, c.text, c.what);
    }
}

// Wine hands out the lowest free handle slot: a key left open by any path
// would take the slot that a probe key got before.
HKEY ProbeKey() {
    HKEY key = NULL;
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_READ, &key);
    RegCloseKey(key);
    return key;
}

TEST_F(RegistryStoreTest, EveryPathClosesTheKeysItOpened) {
    ASSERT_EQ(1, RegistryStore::WriteDword(kDriver, "SFMin", 50));
    ASSERT_EQ(1, RegistryStore::WriteString(kShared, "Morvane_AudioDevice", "Line In"));
    PutRaw(kShared, "Wide", REG_BINARY, "0123456789", 10);
    const std::string hugeName(20000, 'n');
    HKEY before = ProbeKey();
    ASSERT_NE(nullptr, before);
    for (int round = 0; round < 3; ++round) {
        int value;
        char text[260];
        RegistryStore::ReadDword(kDriver, "SFMin", &value);               // read
        RegistryStore::ReadDword(kDriver, "SFMinOriginal", &value);       // no value
        RegistryStore::ReadDword(kShared, "Wide", &value);                // too large
        RegistryStore::ReadDword("SOFTWARE\\No Such Maker", "X", &value); // no key
        RegistryStore::ReadString(kShared, "Morvane_AudioDevice", text);
        RegistryStore::ReadString(kShared, "Morvane_AudioDeviceOriginal", text);
        RegistryStore::ReadString("SOFTWARE\\No Such Maker", "X", text);
        RegistryStore::WriteDword(kDriver, "SF", 66);
        RegistryStore::WriteString(kShared, "Morvane_AudioDevice", "Line In");
        RegistryStore::WriteDword(kDriver, hugeName.c_str(), 1); // refused name
        RegistryStore::WriteString(kDriver, hugeName.c_str(), "x");
    }
    EXPECT_EQ(before, ProbeKey());
}

// The main window's settings fields, as the tests observe them.
struct Record {
    char audioDevice[260] = "";
    int quality = 0;
    int brightness = 0;
    char savedAudioDevice[260] = "";
    int savedQuality = 0;
    int savedBrightness = 0;
    int firstRun = 0;

    SettingsFields Fields() {
        return {audioDevice,   &quality,         &brightness, savedAudioDevice,
                &savedQuality, &savedBrightness, &firstRun};
    }
};

TEST_F(RegistryStoreTest, AnEmptyStoredDeviceGivesEmptyNamesNotTheFallback) {
    PutRaw(kShared, "Morvane_AudioDevice", REG_SZ, "", 1);
    PutRaw(kShared, "Morvane_AudioDeviceOriginal", REG_SZ, "Microphone", 11);
    RegistryStore registry;
    Record record;
    SettingsStore<RegistryStore>(registry, record.Fields()).LoadSettings();
    EXPECT_STREQ("", record.audioDevice);
    EXPECT_STREQ("", record.savedAudioDevice);
}

} // namespace

namespace {

// Gives everyone the access rights to a key and no one more; its owner may
// always change that.
void LetEveryone(const char* subkey, REGSAM rights) {
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, WRITE_DAC, &key));
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    ASSERT_TRUE(
        AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone));
    BYTE aclBuffer[256];
    PACL acl = reinterpret_cast<PACL>(aclBuffer);
    ASSERT_TRUE(InitializeAcl(acl, sizeof aclBuffer, ACL_REVISION));
    ASSERT_TRUE(AddAccessAllowedAce(acl, ACL_REVISION, rights, everyone));
    SECURITY_DESCRIPTOR descriptor;
    ASSERT_TRUE(InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION));
    ASSERT_TRUE(SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE));
    EXPECT_EQ(ERROR_SUCCESS, RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor));
    RegCloseKey(key);
    FreeSid(everyone);
}

// The two settings keys as HKEY_LOCAL_MACHINE is for a limited account,
// which has the given rights on them and no more; all rights again when the
// object goes.
struct LimitedSettings {
    explicit LimitedSettings(REGSAM rights) {
        LetEveryone(kDriver, rights);
        LetEveryone(kShared, rights);
    }
    ~LimitedSettings() {
        LetEveryone(kDriver, KEY_ALL_ACCESS);
        LetEveryone(kShared, KEY_ALL_ACCESS);
    }
};

} // namespace

// A key that may only be read is read; one whose values may be set (and
// whose subkeys made) but not read takes every value Finish writes.
TEST_F(RegistryStoreTest, EachCallNeedsOnlyTheAccessItUses) {
    const struct {
        const char* what;
        REGSAM rights;
        int reads;
        int writes;
    } cases[] = {
        {"read only", KEY_READ, 1, 0},
        {"set values and make subkeys", KEY_SET_VALUE | KEY_CREATE_SUB_KEY, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RemoveSettings();
        ASSERT_EQ(1, RegistryStore::WriteDword(kDriver, "SFMin", 50));
        ASSERT_EQ(1, RegistryStore::WriteString(kShared, "Morvane_AudioDevice", "Line In"));
        {
            LimitedSettings limitedAccount(c.rights);
            HKEY probe;
            ASSERT_NE(ERROR_SUCCESS,
                      RegOpenKeyExA(HKEY_LOCAL_MACHINE, kDriver, 0, KEY_ALL_ACCESS, &probe))
                << "the key must refuse full access for this test to mean anything";

            int quality = 0;
            EXPECT_EQ(c.reads, RegistryStore::ReadDword(kDriver, "SFMin", &quality));
            char device[kSettingTextSize] = "";
            EXPECT_EQ(c.reads, RegistryStore::ReadString(kShared, "Morvane_AudioDevice", device));
            EXPECT_EQ(c.reads ? 50 : 0, quality);
            EXPECT_STREQ(c.reads ? "Line In" : "", device);

            const struct {
                const char* subkey;
                const char* name;
                int value;
            } numbers[] = {{kDriver, "SFMin", 60},
                           {kDriver, "SF", 76},
                           {kShared, "Morvane_VideoBright", 7},
                           {kShared, "Morvane_AudioSetting", 1}};
            for (const auto& number : numbers) {
                EXPECT_EQ(c.writes,
                          RegistryStore::WriteDword(number.subkey, number.name, number.value))
                    << number.name;
            }
            EXPECT_EQ(c.writes,
                      RegistryStore::WriteString(kShared, "Morvane_AudioDevice", "Other"));
        }
        EXPECT_EQ(c.writes ? Bytes({60, 0, 0, 0}) : Bytes({50, 0, 0, 0}),
                  GetRaw(kDriver, "SFMin").data);
        EXPECT_EQ(c.writes ? Bytes({76, 0, 0, 0}) : Bytes({}), GetRaw(kDriver, "SF").data);
        EXPECT_EQ(c.writes ? Bytes({7, 0, 0, 0}) : Bytes({}),
                  GetRaw(kShared, "Morvane_VideoBright").data);
        EXPECT_EQ(c.writes ? Bytes({1, 0, 0, 0}) : Bytes({}),
                  GetRaw(kShared, "Morvane_AudioSetting").data);
        EXPECT_EQ(c.writes ? Bytes({'O', 't', 'h', 'e', 'r', 0})
                           : Bytes({'L', 'i', 'n', 'e', ' ', 'I', 'n', 0}),
                  GetRaw(kShared, "Morvane_AudioDevice").data);
    }
}
