// AM_MEDIA_TYPE copies and comparisons, without the DirectShow base classes.
#ifndef CAMSIM_MEDIA_TYPES_H
#define CAMSIM_MEDIA_TYPES_H

#include <dshow.h>

// Deep copy: the format block is duplicated with CoTaskMemAlloc.
HRESULT CopyMediaType(AM_MEDIA_TYPE* destination, const AM_MEDIA_TYPE& source);
// Frees the format block and the object it holds, leaving the type empty.
void ClearMediaType(AM_MEDIA_TYPE& type);
// A CoTaskMemAlloc'd copy for IEnumMediaTypes::Next, or null.
AM_MEDIA_TYPE* NewMediaTypeCopy(const AM_MEDIA_TYPE& source);
// Frees a copy that NewMediaTypeCopy or an enumerator handed out.
void DeleteMediaTypeCopy(AM_MEDIA_TYPE* copy);
// Whether major type, subtype and format type are all named.
bool IsCompleteMediaType(const AM_MEDIA_TYPE& type);
// Whether a possibly partial request (GUID_NULL fields are wildcards) fits.
bool MediaTypeMatches(const AM_MEDIA_TYPE& request, const AM_MEDIA_TYPE& offered);

#endif
