#include "camsim_fixture.h"

#include "camsim/device_registry.h"

void CamsimTest::SetUp() {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    HMODULE driver = LoadLibraryA("camsim.dll");
    ASSERT_NE(nullptr, driver);
    auto registerServer = reinterpret_cast<HRESULT(WINAPI*)()>(
        reinterpret_cast<void*>(GetProcAddress(driver, "DllRegisterServer")));
    ASSERT_NE(nullptr, registerServer);
    ASSERT_EQ(S_OK, registerServer());
    FreeLibrary(driver);
    ASSERT_TRUE(block.Open());
    Change([](ControlBlock& shared) {
        CamsimSettings settings = DefaultSettings();
        settings.installed = 1;
        InitControlBlock(shared, settings);
    });
}

void CamsimTest::TearDown() {
    block.Close();
    CoUninitialize();
}

ControlBlock CamsimTest::Snapshot() {
    ControlBlock copy = {};
    ControlBlock* shared = block.Lock();
    if (shared) {
        copy = *shared;
        block.Unlock();
    }
    return copy;
}

void CamsimTest::WaitForFrames(uint32_t count) {
    WaitUntil([&] { return Snapshot().framesDelivered >= count; },
              "the camera to deliver " + std::to_string(count) + " frames in all");
}
