#include "camera/camera_link.h"

#include <dshow.h>

namespace {

// {FB207460-5945-11D3-9099-00A0CC255AB3}: the camera's vendor property set.
const GUID kCameraPropertySet = {
    0xFB207460, 0x5945, 0x11D3, {0x90, 0x99, 0x00, 0xA0, 0xCC, 0x25, 0x5A, 0xB3}};
const DWORD kCapabilityProperty = 20;
const DWORD kCommandProperty = 21;
const DWORD kStatusProperty = 22;

const int kLinkFailed = 1;
const int kLinkSucceeded = 0;

// The filter's property set, or NULL. Only exactly S_OK counts throughout:
// the camera's driver signals refusals with other success codes, and an
// interface handed out with such a code is given back at once.
IKsPropertySet* OpenPropertySet(IUnknown* filter) {
    if (!filter) {
        return NULL;
    }
    IKsPropertySet* properties = NULL;
    HRESULT result =
        filter->QueryInterface(IID_IKsPropertySet, reinterpret_cast<void**>(&properties));
    if (result == S_OK) {
        return properties;
    }
    if (SUCCEEDED(result) && properties) {
        properties->Release();
    }
    return NULL;
}

HRESULT GetProperty(IKsPropertySet* properties, DWORD id, void* data, DWORD size) {
    DWORD returned = 0;
    HRESULT result = properties->Get(kCameraPropertySet, id, NULL, 0, data, size, &returned);
    properties->Release();
    return result;
}

} // namespace

CameraLink::CameraLink() {
    sequence = 0;
    commandClass = 0;
    commandCode = 0;
    for (int i = 0; i < kStatusBlockSize; ++i) {
        rawStatus[i] = 0;
    }
    status = DecodeCameraStatus(rawStatus);
}

int CameraLink::QueryCapability(IUnknown* filter) {
    IKsPropertySet* properties = OpenPropertySet(filter);
    if (!properties) {
        return 0;
    }
    // Windows runs little-endian: the 4-byte words travel as they lie in memory.
    DWORD capability = 0;
    if (GetProperty(properties, kCapabilityProperty, &capability, sizeof capability) != S_OK) {
        return 0;
    }
    return IsCameraControllable(capability) ? 1 : 0;
}

int CameraLink::SendCommand(IUnknown* filter, unsigned newClass, unsigned newCode) {
    commandClass = newClass;
    commandCode = newCode;
    CameraCommand word = 0;
    if (!filter || !NextCameraCommand(&sequence, commandClass, commandCode, &word)) {
        return kLinkFailed;
    }
    IKsPropertySet* properties = OpenPropertySet(filter);
    if (!properties) {
        return kLinkFailed;
    }
    HRESULT result =
        properties->Set(kCameraPropertySet, kCommandProperty, NULL, 0, &word, sizeof word);
    properties->Release();
    return result == S_OK ? kLinkSucceeded : kLinkFailed;
}

int CameraLink::ReadStatus(IUnknown* filter) {
    IKsPropertySet* properties = OpenPropertySet(filter);
    if (!properties) {
        return kLinkFailed;
    }
    if (GetProperty(properties, kStatusProperty, rawStatus, sizeof rawStatus) != S_OK) {
        return kLinkFailed;
    }
    status = DecodeCameraStatus(rawStatus);
    return kLinkSucceeded;
}
