// IEnumPins over a capture filter's one pin, and IEnumMediaTypes over the
// types its source kind offers. Each holds its owner while it lives.
#ifndef CAMSIM_ENUMERATORS_H
#define CAMSIM_ENUMERATORS_H

#include <dshow.h>

#include "camsim/source_kind.h"

class CaptureFilter;

IEnumPins* NewPinEnumerator(CaptureFilter* filter);
IEnumMediaTypes* NewMediaTypeEnumerator(const SourceKind& kind, IUnknown* owner);

#endif
