// IEnumPins over a filter's one pin, and IEnumMediaTypes over the types a
// source kind offers. Each holds its owner while it lives.
#ifndef CAMSIM_ENUMERATORS_H
#define CAMSIM_ENUMERATORS_H

#include <dshow.h>

#include "camsim/source_kind.h"

IEnumPins* NewPinEnumerator(IBaseFilter* filter, IPin* pin);
IEnumMediaTypes* NewMediaTypeEnumerator(const SourceKind& kind, IUnknown* owner);

#endif
