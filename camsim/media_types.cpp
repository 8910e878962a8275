#include "camsim/media_types.h"

#include <string.h>

HRESULT CopyMediaType(AM_MEDIA_TYPE* destination, const AM_MEDIA_TYPE& source) {
    *destination = source;
    destination->pbFormat = nullptr;
    destination->cbFormat = 0;
    if (source.cbFormat && source.pbFormat) {
        destination->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(source.cbFormat));
        if (!destination->pbFormat)
            return E_OUTOFMEMORY;
        memcpy(destination->pbFormat, source.pbFormat, source.cbFormat);
        destination->cbFormat = source.cbFormat;
    }
    if (destination->pUnk)
        destination->pUnk->AddRef();
    return S_OK;
}

void ClearMediaType(AM_MEDIA_TYPE& type) {
    if (type.pbFormat)
        CoTaskMemFree(type.pbFormat);
    if (type.pUnk)
        type.pUnk->Release();
    memset(&type, 0, sizeof type);
}

AM_MEDIA_TYPE* NewMediaTypeCopy(const AM_MEDIA_TYPE& source) {
    AM_MEDIA_TYPE* copy = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    if (copy && FAILED(CopyMediaType(copy, source))) {
        CoTaskMemFree(copy);
        copy = nullptr;
    }
    return copy;
}

void DeleteMediaTypeCopy(AM_MEDIA_TYPE* copy) {
    ClearMediaType(*copy);
    CoTaskMemFree(copy);
}

bool IsCompleteMediaType(const AM_MEDIA_TYPE& type) {
    return !IsEqualGUID(type.majortype, GUID_NULL) && !IsEqualGUID(type.subtype, GUID_NULL) &&
           !IsEqualGUID(type.formattype, GUID_NULL);
}

bool MediaTypeMatches(const AM_MEDIA_TYPE& request, const AM_MEDIA_TYPE& offered) {
    if (!IsEqualGUID(request.majortype, GUID_NULL) &&
        !IsEqualGUID(request.majortype, offered.majortype))
        return false;
    if (!IsEqualGUID(request.subtype, GUID_NULL) &&
        !IsEqualGUID(request.subtype, offered.subtype))
        return false;
    if (IsEqualGUID(request.formattype, GUID_NULL))
        return true;
    if (!IsEqualGUID(request.formattype, offered.formattype))
        return false;
    // A request with a format block must carry ours.
    return request.cbFormat == offered.cbFormat &&
           (!request.cbFormat || (request.pbFormat &&
                                  memcmp(request.pbFormat, offered.pbFormat, request.cbFormat) == 0));
}
