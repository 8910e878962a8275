#include "device_list.h"

namespace {

// Calls visit(moniker, bag) for each device of a category.
template <class Visit> void ForEachDevice(REFCLSID category, Visit visit) {
    ICreateDevEnum* devices = nullptr;
    if (CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                         reinterpret_cast<void**>(&devices)) != S_OK) {
        return;
    }
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

std::vector<std::wstring> MachineAudioDevices() {
    // camsim's own class ID, spelled out: this file is built without camsim.
    const wchar_t kCamsimAudio[] = L"{5C2F7A32-8E4B-4D62-9A17-3B6E0C9D41A8}";
    std::vector<std::wstring> names;
    ForEachDevice(CLSID_AudioInputDeviceCategory, [&](IMoniker*, IPropertyBag* bag) {
        VARIANT clsid;
        VariantInit(&clsid);
        clsid.vt = VT_BSTR;
        std::wstring name;
        bool camsims = SUCCEEDED(bag->Read(L"CLSID", &clsid, nullptr)) &&
                       lstrcmpiW(clsid.bstrVal, kCamsimAudio) == 0;
        VariantClear(&clsid);
        if (!camsims && ReadName(bag, &name))
            names.push_back(name);
    });
    return names;
}

std::vector<std::string> MachineAudioDeviceNames() {
    HRESULT com = CoInitialize(nullptr);
    std::vector<std::string> names;
    for (const std::wstring& name : MachineAudioDevices()) {
        char text[256] = {};
        WideCharToMultiByte(CP_ACP, 0, name.c_str(), -1, text, sizeof text - 1, nullptr, nullptr);
        names.push_back(text);
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return names;
}

IBaseFilter* BindDevice(REFCLSID category, const wchar_t* name) {
    IBaseFilter* filter = nullptr;
    ForEachDevice(category, [&](IMoniker* moniker, IPropertyBag* bag) {
        std::wstring listed;
        if (filter || !ReadName(bag, &listed) || listed != name)
            return;
        moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&filter));
    });
    return filter;
}
