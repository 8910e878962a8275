// The COM plumbing every camsim object shares: its reference count, the
// module's count of live objects (DllCanUnloadNow) and the answer of a
// successful QueryInterface.
#ifndef CAMSIM_COM_OBJECT_H
#define CAMSIM_COM_OBJECT_H

#include <windows.h>

// Objects and server locks alive in this module.
void LockModule();
void UnlockModule();
bool ModuleInUse();

// A reference count that starts at one and keeps the module loaded while
// its object lives.
class RefCount {
  public:
    RefCount() : count(1) { LockModule(); }
    ~RefCount() { UnlockModule(); }
    ULONG Add() { return static_cast<ULONG>(InterlockedIncrement(&count)); }
    ULONG Drop() { return static_cast<ULONG>(InterlockedDecrement(&count)); }

  private:
    LONG count;
};

// Hands out one interface of an object with a new reference.
template <class Interface> HRESULT GiveInterface(Interface* face, void** out) {
    *out = face;
    face->AddRef();
    return S_OK;
}

#endif
