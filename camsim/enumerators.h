// IEnumPins over a filter's one or two pins, and IEnumMediaTypes over the types a
// source kind offers. Each holds its owner while it lives.
#ifndef CAMSIM_ENUMERATORS_H
#define CAMSIM_ENUMERATORS_H

#include <dshow.h>

#include "camsim/source_kind.h"

// second: null for a filter with one pin.
IEnumPins* NewPinEnumerator(IBaseFilter* filter, IPin* first, IPin* second);
IEnumMediaTypes* NewMediaTypeEnumerator(const SourceKind& kind, IUnknown* owner);

#endif
