#include "tests/win/capture_probes.h"

#include <shlwapi.h>

#include <cstring>

const CLSID kProbeFilterClass = {
    0x6D1A3C52, 0x0B7E, 0x4E8B, {0x9A, 0x55, 0x3C, 0x0F, 0x3E, 0x6B, 0x2A, 0x11}};

namespace {

const wchar_t kCapturePinName[] = L"Capture";

std::string GuidText(const GUID& id) {
    wchar_t wide[40];
    StringFromGUID2(id, wide, 40);
    char text[40];
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, NULL, NULL);
    return text;
}

void WriteString(HKEY key, const char* name, const std::string& value) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
}

// Lists the probe's pins: one, or none.
class PinList final : public IEnumPins {
  public:
    PinList(IPin* pin, ULONG position) : pin(pin), position(position) {
        if (pin) {
            pin->AddRef();
        }
    }
    ~PinList() {
        if (pin) {
            pin->Release();
        }
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (iid == IID_IUnknown || iid == IID_IEnumPins) {
            *object = static_cast<IEnumPins*>(this);
            AddRef();
            return S_OK;
        }
        *object = NULL;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --references;
        if (left == 0) {
            delete this;
        }
        return left;
    }
    HRESULT STDMETHODCALLTYPE Next(ULONG count, IPin** pins, ULONG* fetched) override {
        ULONG given = 0;
        if (count > 0 && pin && position == 0) {
            pins[0] = pin;
            pin->AddRef();
            position = 1;
            given = 1;
        }
        if (fetched) {
            *fetched = given;
        }
        return given == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        position += count;
        return pin && position <= 1 ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        position = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumPins** copy) override {
        *copy = new PinList(pin, position);
        return S_OK;
    }

  private:
    ULONG references = 1;
    IPin* pin;
    ULONG position;
};

} // namespace

DeviceCategory::DeviceCategory(const GUID& category)
    : id(category), path("CLSID\\" + GuidText(category) + "\\Instance") {}

DeviceCategory::~DeviceCategory() {
    for (const std::string& instance : instances) {
        SHDeleteKeyA(HKEY_CLASSES_ROOT, (path + "\\" + instance).c_str());
    }
}

void DeviceCategory::Add(const std::string& instance, const char* friendlyName,
                         const std::string& tag, const CLSID& filterClass) {
    HKEY key = NULL;
    std::string keyPath = path + "\\" + instance;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key,
                        NULL) != ERROR_SUCCESS) {
        return;
    }
    instances.push_back(instance);
    if (friendlyName) {
        WriteString(key, "FriendlyName", friendlyName);
    }
    WriteString(key, "CLSID", GuidText(filterClass));
    WriteString(key, "ProbeTag", tag);
    RegCloseKey(key);
}

HRESULT ProbePin::QueryInterface(REFIID iid, void** object) {
    *object = NULL;
    if (iid == IID_IUnknown || iid == IID_IPin) {
        *object = static_cast<IPin*>(this);
    } else if (iid == IID_IAMBufferNegotiation && filter->behaviour.hasBufferNegotiation) {
        *object = static_cast<IAMBufferNegotiation*>(this);
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

HRESULT ProbePin::ConnectedTo(IPin** pin) {
    *pin = NULL;
    return VFW_E_NOT_CONNECTED;
}

HRESULT ProbePin::QueryPinInfo(PIN_INFO* info) {
    info->pFilter = filter;
    filter->AddRef();
    info->dir = PINDIR_OUTPUT;
    lstrcpynW(info->achName, kCapturePinName, MAX_PIN_NAME);
    return S_OK;
}

HRESULT ProbePin::QueryDirection(PIN_DIRECTION* direction) {
    *direction = PINDIR_OUTPUT;
    return S_OK;
}

HRESULT ProbePin::QueryId(LPWSTR* id) {
    *id = static_cast<LPWSTR>(CoTaskMemAlloc(sizeof kCapturePinName));
    std::memcpy(*id, kCapturePinName, sizeof kCapturePinName);
    return S_OK;
}

HRESULT ProbePin::SuggestAllocatorProperties(const ALLOCATOR_PROPERTIES* properties) {
    suggestions.push_back(*properties);
    return filter->behaviour.suggestResult;
}

HRESULT ProbeFilter::QueryInterface(REFIID iid, void** object) {
    *object = NULL;
    if (iid == IID_IUnknown || iid == IID_IPersist || iid == IID_IMediaFilter ||
        iid == IID_IBaseFilter) {
        *object = static_cast<IBaseFilter*>(this);
    } else if (iid == IID_IPersistPropertyBag) {
        *object = static_cast<IPersistPropertyBag*>(this);
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

HRESULT ProbeFilter::GetClassID(CLSID* id) {
    *id = kProbeFilterClass;
    return S_OK;
}

HRESULT ProbeFilter::GetState(DWORD, FILTER_STATE* state) {
    *state = State_Stopped;
    return S_OK;
}

HRESULT ProbeFilter::GetSyncSource(IReferenceClock** clock) {
    *clock = NULL;
    return S_OK;
}

HRESULT ProbeFilter::EnumPins(IEnumPins** pins) {
    *pins = new PinList(behaviour.hasCapturePin ? &pin : NULL, 0);
    return S_OK;
}

HRESULT ProbeFilter::FindPin(LPCWSTR id, IPin** found) {
    *found = NULL;
    if (!behaviour.hasCapturePin || lstrcmpW(id, kCapturePinName) != 0) {
        return VFW_E_NOT_FOUND;
    }
    *found = &pin;
    pin.AddRef();
    return S_OK;
}

HRESULT ProbeFilter::QueryFilterInfo(FILTER_INFO* info) {
    lstrcpynW(info->achName, L"Probe", MAX_FILTER_NAME);
    info->pGraph = graph;
    if (graph) {
        graph->AddRef();
    }
    return S_OK;
}

HRESULT ProbeFilter::JoinFilterGraph(IFilterGraph* newGraph, LPCWSTR) {
    // Like every filter, the probe holds no reference on its graph.
    graph = newGraph;
    joins.push_back(newGraph);
    return S_OK;
}

HRESULT ProbeFilter::Load(IPropertyBag* bag, IErrorLog*) {
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BSTR;
    if (SUCCEEDED(bag->Read(L"ProbeTag", &value, NULL)) && value.vt == VT_BSTR) {
        char text[260];
        WideCharToMultiByte(CP_ACP, 0, value.bstrVal, -1, text, sizeof text, NULL, NULL);
        tag = text;
    }
    VariantClear(&value);
    return S_OK;
}

ProbeFactory::ProbeFactory() {
    CoRegisterClassObject(kProbeFilterClass, this, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                          &cookie);
}

ProbeFactory::~ProbeFactory() {
    CoRevokeClassObject(cookie);
}

ProbeFilter* ProbeFactory::Find(IUnknown* filter) const {
    for (const auto& probe : made) {
        if (static_cast<IBaseFilter*>(probe.get()) == filter) {
            return probe.get();
        }
    }
    return nullptr;
}

HRESULT ProbeFactory::QueryInterface(REFIID iid, void** object) {
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
        *object = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    *object = NULL;
    return E_NOINTERFACE;
}

HRESULT ProbeFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
    *object = NULL;
    if (outer) {
        return CLASS_E_NOAGGREGATION;
    }
    made.push_back(std::make_unique<ProbeFilter>(behaviour));
    return made.back()->QueryInterface(iid, object);
}
