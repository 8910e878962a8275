// camsim.dll's entry points: the class factory of the capture filters and
// the sound output, and the registration of the server and of every device.
#include <new>

#include <olectl.h>

#include "camsim/camsim_control.h"
#include "camsim/capture_filter.h"
#include "camsim/com_object.h"
#include "camsim/device_registry.h"
#include "camsim/sound_output.h"

namespace {

HMODULE module;
LONG liveObjects;

// A capture filter of a source kind, or the sound output without one.
IBaseFilter* CreateFilter(const SourceKind* kind) {
    if (kind)
        return CaptureFilter::Create(*kind);
    return SoundOutput::Create();
}

class FilterFactory final : public IClassFactory {
  public:
    explicit FilterFactory(const SourceKind* kind) : kind(kind) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory))
            return GiveInterface(static_cast<IClassFactory*>(this), out);
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return references.Add(); }
    STDMETHODIMP_(ULONG) Release() override {
        ULONG left = references.Drop();
        if (left == 0)
            delete this;
        return left;
    }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        IBaseFilter* filter = CreateFilter(kind);
        if (!filter)
            return E_OUTOFMEMORY;
        HRESULT result = filter->QueryInterface(iid, out);
        filter->Release();
        return result;
    }
    STDMETHODIMP LockServer(BOOL locked) override {
        if (locked)
            LockModule();
        else
            UnlockModule();
        return S_OK;
    }

  private:
    RefCount references;
    const SourceKind* kind;
};

const SourceKind* const kKinds[] = {&kVideoSource, &kAudioSource};

// Whether a class is this module's; kind is then null for the sound output.
bool FindClass(REFCLSID clsid, const SourceKind** kind) {
    *kind = nullptr;
    if (IsEqualCLSID(clsid, CLSID_CamsimSoundOutput))
        return true;
    for (const SourceKind* candidate : kKinds) {
        if (IsEqualCLSID(clsid, *candidate->clsid)) {
            *kind = candidate;
            return true;
        }
    }
    return false;
}

// "CLSID\{clsid}" followed by a suffix.
void ClassKeyPath(const GUID& clsid, const char* suffix, char path[96]) {
    wchar_t wide[40];
    StringFromGUID2(clsid, wide, 40);
    char text[40];
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    wsprintfA(path, "CLSID\\%s%s", text, suffix);
}

bool WriteServerKey(const GUID& clsid, const wchar_t* description, const char* path) {
    char key[96];
    ClassKeyPath(clsid, "\\InprocServer32", key);
    HKEY server;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &server,
                        nullptr) != ERROR_SUCCESS)
        return false;
    bool written =
        RegSetValueExA(server, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path),
                       lstrlenA(path) + 1) == ERROR_SUCCESS &&
        RegSetValueExA(server, "ThreadingModel", 0, REG_SZ,
                       reinterpret_cast<const BYTE*>("Both"), 5) == ERROR_SUCCESS;
    RegCloseKey(server);
    ClassKeyPath(clsid, "", key);
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key, 0, KEY_SET_VALUE, &server) == ERROR_SUCCESS) {
        RegSetValueExW(server, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(description),
                       (lstrlenW(description) + 1) * sizeof(wchar_t));
        RegCloseKey(server);
    }
    return written;
}

void DeleteServerKey(const GUID& clsid) {
    char key[96];
    ClassKeyPath(clsid, "\\InprocServer32", key);
    RegDeleteKeyA(HKEY_CLASSES_ROOT, key);
    ClassKeyPath(clsid, "", key);
    RegDeleteKeyA(HKEY_CLASSES_ROOT, key);
}

// Marks the devices installed or not; the block brings the category
// registrations in line.
HRESULT SetInstalled(bool installed) {
    CamsimBlock block;
    if (!block.Open())
        return E_FAIL;
    ControlBlock* shared = block.Lock();
    if (!shared)
        return E_FAIL;
    shared->settings.installed = installed ? 1 : 0;
    block.Unlock();
    return S_OK;
}

} // namespace

void LockModule() { InterlockedIncrement(&liveObjects); }
void UnlockModule() { InterlockedDecrement(&liveObjects); }
bool ModuleInUse() { return liveObjects != 0; }

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) {
        module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    const SourceKind* kind;
    if (!FindClass(clsid, &kind))
        return CLASS_E_CLASSNOTAVAILABLE;
    FilterFactory* factory = new (std::nothrow) FilterFactory(kind);
    if (!factory)
        return E_OUTOFMEMORY;
    HRESULT result = factory->QueryInterface(iid, out);
    factory->Release();
    return result;
}

extern "C" HRESULT WINAPI DllCanUnloadNow() { return ModuleInUse() ? S_FALSE : S_OK; }

extern "C" HRESULT WINAPI DllRegisterServer() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return E_FAIL;
    for (const SourceKind* kind : kKinds)
        if (!WriteServerKey(*kind->clsid, kind->filterName, path))
            return SELFREG_E_CLASS;
    // The system's renderer plays the camera's sound unless a check chooses
    // the simulated output after installing.
    if (!WriteServerKey(CLSID_CamsimSoundOutput, kSoundOutputName, path) ||
        FAILED(ChooseSoundOutput(false)))
        return SELFREG_E_CLASS;
    return SetInstalled(true);
}

extern "C" HRESULT WINAPI DllUnregisterServer() {
    HRESULT result = SetInstalled(false);
    for (const SourceKind* kind : kKinds)
        DeleteServerKey(*kind->clsid);
    ChooseSoundOutput(false);
    DeleteServerKey(CLSID_CamsimSoundOutput);
    return result;
}
