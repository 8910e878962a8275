// What both simulated filters answer alike about their place in a graph:
// the clock it gave them, their name there, their one pin. Each call takes
// the filter's own lock where the filter's fields are read or changed.
#ifndef CAMSIM_FILTER_MEMBERSHIP_H
#define CAMSIM_FILTER_MEMBERSHIP_H

#include <dshow.h>

// Takes a reference on newClock and drops the one on the clock it replaces.
HRESULT ReplaceClock(CRITICAL_SECTION& lock, IReferenceClock*& clock, IReferenceClock* newClock);

// The clock with a new reference for the caller, or null.
IReferenceClock* ClockReference(CRITICAL_SECTION& lock, IReferenceClock* const& clock);

// IBaseFilter::QueryFilterInfo: the name and the graph, with a reference.
HRESULT DescribeFilter(CRITICAL_SECTION& lock, const WCHAR* name, IFilterGraph* const& graph,
                       FILTER_INFO* info);

// IBaseFilter::FindPin of a filter with a single pin.
HRESULT FindOnlyPin(LPCWSTR id, LPCWSTR pinName, IPin* pin, IPin** found);

// IBaseFilter::QueryVendorInfo: a simulated filter names no vendor.
HRESULT NoVendorInfo(LPWSTR* info);

#endif
