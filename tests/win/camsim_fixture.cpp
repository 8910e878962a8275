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

namespace {

// Calls visit(moniker, bag) for each device of a category.
template <class Visit> void ForEachDevice(REFCLSID category, Visit visit) {
    ICreateDevEnum* devices = nullptr;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_ICreateDevEnum, reinterpret_cast<void**>(&devices)));
    IEnumMoniker* monikers = nullptr;
    if (devices->CreateClassEnumerator(category, &monikers, 0) == S_OK) {
        IMoniker* moniker = nullptr;
        while (monikers->Next(1, &moniker, nullptr) == S_OK) {
            IPropertyBag* bag = nullptr;
            if (SUCCEEDED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag,
                                                 reinterpret_cast<void**>(&bag)))) {
                visit(moniker, bag);
                bag->Release();
            }
            moniker->Release();
        }
        monikers->Release();
    }
    devices->Release();
}

bool ReadName(IPropertyBag* bag, std::wstring* name) {
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BSTR;
    bool read = SUCCEEDED(bag->Read(L"FriendlyName", &value, nullptr));
    if (read)
        *name = value.bstrVal;
    VariantClear(&value);
    return read;
}

} // namespace

std::vector<ListedDevice> ListCategory(REFCLSID category) {
    std::vector<ListedDevice> listed;
    ForEachDevice(category, [&](IMoniker*, IPropertyBag* bag) {
        ListedDevice device;
        device.hasName = ReadName(bag, &device.name);
        listed.push_back(device);
    });
    return listed;
}

IBaseFilter* BindDevice(REFCLSID category, const wchar_t* name) {
    IBaseFilter* filter = nullptr;
    ForEachDevice(category, [&](IMoniker* moniker, IPropertyBag* bag) {
        std::wstring listed;
        if (filter || !ReadName(bag, &listed) || listed != name)
            return;
        moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter,
                              reinterpret_cast<void**>(&filter));
    });
    return filter;
}

void PumpMessages(DWORD milliseconds) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}
