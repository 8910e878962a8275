// The camera's vendor property set, its deck, its fault switches and the
// control block, driven through real filter objects and camsim.exe.
#include "camsim_fixture.h"

#include "camsim/deck_model.h"
#include "camsim/device_registry.h"
#include "tests/win/run_to_end.h"

namespace {

const GUID kVendorSet = {0xfb207460, 0x5945, 0x11d3,
                         {0x90, 0x99, 0x00, 0xa0, 0xcc, 0x25, 0x5a, 0xb3}};

// A video capture filter of the camera, as a second program would bind it.
class CameraFilter {
  public:
    CameraFilter() {
        CoCreateInstance(CLSID_CamsimVideoCapture, nullptr, CLSCTX_INPROC_SERVER,
                         IID_IKsPropertySet, reinterpret_cast<void**>(&properties));
    }
    ~CameraFilter() {
        if (properties) {
            EXPECT_EQ(0u, properties->Release());
        }
    }
    HRESULT Send(uint32_t commandClass, uint32_t code) {
        sequence = (sequence + 1) % 16;
        BYTE word[4] = {BYTE(sequence << 4), BYTE(code), BYTE((sequence << 4) | commandClass), 0};
        return properties->Set(kVendorSet, 21, nullptr, 0, word, 4);
    }
    HRESULT Status(BYTE block[64]) {
        DWORD returned = 0;
        return properties->Get(kVendorSet, 22, nullptr, 0, block, 64, &returned);
    }
    int Mode() {
        BYTE block[64] = {};
        return Status(block) == S_OK ? block[2] : -1;
    }
    // Waits until the deck reports mode.
    void WaitForMode(int mode) {
        WaitUntil([&] { return Mode() == mode; },
                  "the deck to report mode " + std::to_string(mode));
    }
    HRESULT Capability(DWORD* word) {
        DWORD returned = 0;
        return properties->Get(kVendorSet, 20, nullptr, 0, word, 4, &returned);
    }

    IKsPropertySet* properties = nullptr;
    uint32_t sequence = 0;
};

// Runs camsim.exe with arguments; answers its exit code.
DWORD RunTool(const std::string& arguments, std::string* printed = nullptr) {
    return RunToEnd("camsim.exe " + arguments, printed);
}

} // namespace

using CamsimControl = CamsimTest;

TEST_F(CamsimControl, EachTransportCommandSettlesOnItsModeAfterTheMechanicalDelay) {
    CameraFilter camera;
    ASSERT_NE(nullptr, camera.properties);
    EXPECT_EQ(2, camera.Mode());
    const struct {
        uint32_t code;
        int mode;
    } steps[] = {
        {kCodePlay, 6},        {kCodePause, 7},   {kCodeFastForward, 37}, {kCodePlay, 6},
        {kCodeRewind, 53},     {kCodeStop, 2},    {kCodeFastForward, 3},  {kCodeRewind, 131},
        {kCodeStop, 2},
    };
    for (const auto& step : steps) {
        EXPECT_EQ(S_OK, camera.Send(kClassTransport, step.code));
        camera.WaitForMode(step.mode);
    }
    BYTE block[64];
    ASSERT_EQ(S_OK, camera.Status(block));
    EXPECT_EQ(1, block[3] & 3); // transportAvailable

    // Every command is logged with its sequence number, in order.
    ControlBlock observed = Snapshot();
    ASSERT_EQ(9u, observed.commandCount);
    for (int index = 0; index < 9; ++index) {
        EXPECT_EQ(uint32_t(index + 1), HeldCommand(observed, index).sequence);
        EXPECT_EQ(steps[index].code, HeldCommand(observed, index).code);
        EXPECT_EQ(kClassTransport, HeldCommand(observed, index).commandClass);
    }
}

TEST_F(CamsimControl, KeepAliveBrightnessAndUnknownCommands) {
    CameraFilter camera;
    EXPECT_EQ(S_OK, camera.Send(kClassKeepAlive, kCodeKeepAlive));
    EXPECT_EQ(S_OK, camera.Send(kClassBrightness, 0));
    EXPECT_EQ(0u, Snapshot().brightness);
    EXPECT_EQ(S_OK, camera.Send(kClassBrightness, 255));
    EXPECT_EQ(255u, Snapshot().brightness);
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_NOT_SUPPORTED), camera.Send(3, 1));
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_NOT_SUPPORTED), camera.Send(kClassTransport, 99));
    BYTE skewed[4] = {0x10, 26, 0x21, 0}; // sequence copies 1 and 2
    EXPECT_EQ(E_INVALIDARG, camera.properties->Set(kVendorSet, 21, nullptr, 0, skewed, 4));
    EXPECT_EQ(6u, Snapshot().commandCount); // refused commands are logged as well
}

TEST_F(CamsimControl, WithoutTapeTheDeckReportsNotOperable) {
    CameraFilter camera;
    Change([](ControlBlock& shared) {
        shared.settings.tape = 0;
        SetDeckTape(shared.deck, false);
    });
    EXPECT_EQ(1, camera.Mode());
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_NOT_READY), camera.Send(kClassTransport, kCodePlay));
    // The mechanism was not set moving: nothing is left to settle.
    EXPECT_EQ(DeckStopped, Snapshot().deck.target);
    EXPECT_EQ(1, camera.Mode());
}

TEST_F(CamsimControl, ForcedModeAndTransportPlayAnyRowOfTheTable) {
    CameraFilter camera;
    camera.Send(kClassTransport, kCodePlay);
    camera.WaitForMode(6);
    Change([](ControlBlock& shared) {
        shared.settings.forcedMode = 2; // the tape's end stopped the deck
        shared.settings.forcedTransport = 0;
    });
    BYTE block[64];
    ASSERT_EQ(S_OK, camera.Status(block));
    EXPECT_EQ(2, block[2]);
    EXPECT_EQ(0, block[3] & 3);
}

TEST_F(CamsimControl, EveryInstanceDrivesTheSameDeck) {
    CameraFilter first, second;
    EXPECT_EQ(S_OK, first.Send(kClassTransport, kCodePlay));
    second.WaitForMode(6);
}

TEST_F(CamsimControl, PropertyCallsCheckSetsIdsLengthsAndPointers) {
    CameraFilter camera;
    IKsPropertySet* set = camera.properties;
    BYTE data[64] = {};
    DWORD returned = 0;
    const GUID otherSet = {0x12345678, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
    EXPECT_EQ(E_PROP_SET_UNSUPPORTED, set->Get(otherSet, 20, nullptr, 0, data, 4, &returned));
    EXPECT_EQ(E_PROP_SET_UNSUPPORTED, set->Set(otherSet, 21, nullptr, 0, data, 4));
    EXPECT_EQ(E_PROP_ID_UNSUPPORTED, set->Get(kVendorSet, 23, nullptr, 0, data, 64, &returned));
    EXPECT_EQ(E_PROP_ID_UNSUPPORTED, set->Set(kVendorSet, 19, nullptr, 0, data, 4));
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_INVALID_FUNCTION),
              set->Get(kVendorSet, 21, nullptr, 0, data, 4, &returned));
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_INVALID_FUNCTION),
              set->Set(kVendorSet, 22, nullptr, 0, data, 64));
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER),
              set->Get(kVendorSet, 22, nullptr, 0, data, 63, &returned));
    EXPECT_EQ(64u, returned);
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER),
              set->Get(kVendorSet, 20, nullptr, 0, data, 3, &returned));
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER),
              set->Set(kVendorSet, 21, nullptr, 0, data, 2));
    EXPECT_EQ(E_POINTER, set->Get(kVendorSet, 20, nullptr, 0, nullptr, 4, &returned));
    EXPECT_EQ(E_POINTER, set->Get(kVendorSet, 20, nullptr, 0, data, 4, nullptr));
    EXPECT_EQ(E_POINTER, set->Set(kVendorSet, 21, nullptr, 0, nullptr, 4));
    DWORD support = 0;
    EXPECT_EQ(S_OK, set->QuerySupported(kVendorSet, 21, &support));
    EXPECT_EQ(DWORD(KSPROPERTY_SUPPORT_SET), support);
    EXPECT_EQ(E_POINTER, set->QuerySupported(kVendorSet, 20, nullptr));
    EXPECT_EQ(0u, Snapshot().commandCount); // nothing reached the deck
}

TEST_F(CamsimControl, FaultSwitchesChangeTheAnswers) {
    CameraFilter camera;
    const struct {
        uint32_t fault;
        HRESULT capability; // Get of property 20
        DWORD capabilityWord;
        HRESULT status;  // Get of property 22
        HRESULT command; // Set of property 21
    } rows[] = {
        {0, S_OK, 0x2000, S_OK, S_OK},
        {FaultCapabilityClear, S_OK, 0, S_OK, S_OK},
        {FaultGetFails, E_FAIL, 0xFFFF, E_FAIL, S_OK},
        {FaultGetSFalse, S_FALSE, 0x2000, S_FALSE, S_OK},
        {FaultSetFails, S_OK, 0x2000, S_OK, E_FAIL},
        {FaultSetSFalse, S_OK, 0x2000, S_OK, S_FALSE},
        {FaultStatusFails, S_OK, 0x2000, E_FAIL, S_OK},
    };
    for (const auto& row : rows) {
        Change([&](ControlBlock& shared) { shared.settings.faults = row.fault; });
        DWORD word = 0xFFFF;
        BYTE block[64];
        EXPECT_EQ(row.capability, camera.Capability(&word)) << "fault " << row.fault;
        EXPECT_EQ(row.capabilityWord, word) << "fault " << row.fault;
        EXPECT_EQ(row.status, camera.Status(block)) << "fault " << row.fault;
        EXPECT_EQ(row.command, camera.Send(kClassKeepAlive, kCodeKeepAlive))
            << "fault " << row.fault;
    }
}

TEST_F(CamsimControl, AnUnpluggedCameraAnswersNotConnected) {
    CameraFilter camera;
    Change([](ControlBlock& shared) { shared.settings.plugged = 0; });
    DWORD word;
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED), camera.Capability(&word));
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED),
              camera.Send(kClassTransport, kCodePlay));
}

TEST_F(CamsimControl, AHolderThatDiesLeavesTheBlockUsable) {
    HANDLE holder = CreateThread(
        nullptr, 0,
        [](void*) -> DWORD {
            // Locks and ends without unlocking, as a crashed program would.
            CamsimBlock* dying = new CamsimBlock;
            return dying->Open() && dying->Lock() ? 0 : 1;
        },
        nullptr, 0, nullptr);
    WaitUntil([&] { return WaitForSingleObject(holder, 0) == WAIT_OBJECT_0; },
              "the holder's thread to end");
    DWORD result = 1;
    GetExitCodeThread(holder, &result);
    CloseHandle(holder);
    ASSERT_EQ(0u, result);
    ControlBlock* shared = block.Lock();
    ASSERT_NE(nullptr, shared);
    block.Unlock();
}

TEST_F(CamsimControl, TheDeckAndTheLogOutliveEveryProcessThatHoldsThem) {
    {
        CameraFilter camera;
        ASSERT_EQ(S_OK, camera.Send(kClassTransport, kCodePlay));
        camera.WaitForMode(6);
    }
    block.Close(); // no process holds the block now
    const struct {
        const char* command;
        const char* line;
    } rows[] = {{"status", "\r\nmode 6\r\n"},
                {"status", "\r\ncommands 1\r\n"},
                {"log", "\r\n1 1 26 "}}; // sequence, class, code of the play command
    for (const auto& row : rows) {
        std::string printed;
        EXPECT_EQ(0u, RunTool(row.command, &printed));
        EXPECT_NE(std::string::npos, printed.find(row.line)) << row.command << ":\n" << printed;
    }
}

TEST_F(CamsimControl, ToolSettingsPersistAndBadArgumentsFail) {
    EXPECT_EQ(0u, RunTool("unplug"));
    EXPECT_EQ(0u, RunTool("tape out"));
    EXPECT_EQ(0u, RunTool("fault status-fail on"));
    CamsimSettings stored = StoredSettings();
    EXPECT_EQ(0, stored.plugged);
    EXPECT_EQ(0, stored.tape);
    EXPECT_EQ(uint32_t(FaultStatusFails), stored.faults);
    EXPECT_EQ(nullptr, BindDevice(CLSID_VideoInputDeviceCategory, L"Orvelle Video"));
    EXPECT_EQ(0u, RunTool("plug"));
    IBaseFilter* camera = BindDevice(CLSID_VideoInputDeviceCategory, L"Orvelle Video");
    ASSERT_NE(nullptr, camera);
    camera->Release();
    EXPECT_EQ(0u, RunTool("audio add Extra"));
    EXPECT_EQ(1, Snapshot().settings.audio[1].used);
    EXPECT_EQ(0u, RunTool("status"));
    // The deck's settle time reaches the driver: its next movement takes it.
    EXPECT_EQ(0u, RunTool("deck-delay 1500"));
    EXPECT_EQ(1500u, StoredSettings().deckSettleMs);
    EXPECT_EQ(0u, RunTool("tape in"));
    {
        CameraFilter deck;
        ASSERT_EQ(S_OK, deck.Send(kClassTransport, kCodePlay));
    }
    EXPECT_EQ(1500u, Snapshot().deck.settleMs);

    const struct {
        const char* arguments;
        DWORD exitCode;
    } refused[] = {{"", 1},           {"dance", 1},           {"tape sideways", 1},
                   {"mode 256", 1},   {"transport 4", 1},     {"fault nothing on", 1},
                   {"plug now", 1},   {"audio remove 20", 1}, {"audio remove 7", 2},
                   {"deck-delay", 1}, {"deck-delay 5001", 1}, {"deck-delay 1s", 1}};
    for (const auto& row : refused)
        EXPECT_EQ(row.exitCode, RunTool(row.arguments)) << row.arguments;
}

TEST_F(CamsimControl, UninstallRemovesTheStateFile) {
    char path[MAX_PATH];
    UINT length = GetWindowsDirectoryA(path, MAX_PATH - 12);
    ASSERT_NE(0u, length);
    lstrcpyA(path + length, "\\camsim.dat");
    block.Close(); // no process holds the block now
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path));
    EXPECT_EQ(0u, RunTool("uninstall"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path));
}

// A state file whose names lost their terminators: each is read no further
// than its own field.
TEST_F(CamsimControl, ACorruptStateFilesNamesStayWithinTheirFields) {
    Change([](ControlBlock& shared) {
        for (int slot = 1; slot < kMaxAudioDevices; ++slot) {
            AudioDeviceSlot& device = shared.settings.audio[slot];
            device.used = 1;
            device.hasName = 1;
            for (uint16_t& unit : device.name) {
                unit = uint16_t('A' + slot);
            }
        }
    });
    std::string printed;
    EXPECT_EQ(0u, RunTool("status", &printed));
    for (int slot = 1; slot < kMaxAudioDevices; ++slot) {
        const std::string line = "\r\naudio " + std::to_string(slot) + " " +
                                 std::string(kAudioNameCapacity - 1, char('A' + slot)) + "\r\n";
        EXPECT_NE(std::string::npos, printed.find(line)) << slot << ":\n" << printed;
    }
}
