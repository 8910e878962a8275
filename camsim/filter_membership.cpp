#include "camsim/filter_membership.h"

#include "camsim/com_object.h"

HRESULT ReplaceClock(CRITICAL_SECTION& lock, IReferenceClock*& clock, IReferenceClock* newClock) {
    EnterCriticalSection(&lock);
    if (newClock)
        newClock->AddRef();
    if (clock)
        clock->Release();
    clock = newClock;
    LeaveCriticalSection(&lock);
    return S_OK;
}

IReferenceClock* ClockReference(CRITICAL_SECTION& lock, IReferenceClock* const& clock) {
    EnterCriticalSection(&lock);
    IReferenceClock* current = clock;
    if (current)
        current->AddRef();
    LeaveCriticalSection(&lock);
    return current;
}

HRESULT DescribeFilter(CRITICAL_SECTION& lock, const WCHAR* name, IFilterGraph* const& graph,
                       FILTER_INFO* info) {
    if (!info)
        return E_POINTER;
    EnterCriticalSection(&lock);
    lstrcpynW(info->achName, name, MAX_FILTER_NAME);
    info->pGraph = graph;
    if (graph)
        graph->AddRef();
    LeaveCriticalSection(&lock);
    return S_OK;
}

HRESULT FindOnlyPin(LPCWSTR id, LPCWSTR pinName, IPin* pin, IPin** found) {
    if (!id || !found)
        return E_POINTER;
    if (lstrcmpW(id, pinName) != 0) {
        *found = nullptr;
        return VFW_E_NOT_FOUND;
    }
    return GiveInterface(pin, reinterpret_cast<void**>(found));
}

HRESULT NoVendorInfo(LPWSTR* info) {
    if (!info)
        return E_POINTER;
    *info = nullptr;
    return E_NOTIMPL;
}
