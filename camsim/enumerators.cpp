#include "camsim/enumerators.h"

#include <new>

#include "camsim/com_object.h"
#include "camsim/media_types.h"

namespace {

// The walk shared by both enumerators: a position over count items.
// Item(index, out) hands out one item with a reference or a copy.
template <class Interface, class Item, class Derived> class Enumerator : public Interface {
  public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, Derived::Iid()))
            return GiveInterface(static_cast<Interface*>(this), out);
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return references.Add(); }
    STDMETHODIMP_(ULONG) Release() override {
        ULONG left = references.Drop();
        if (left == 0)
            delete static_cast<Derived*>(this);
        return left;
    }
    STDMETHODIMP Next(ULONG wanted, Item** items, ULONG* fetched) override {
        if (!items || (wanted != 1 && !fetched))
            return E_POINTER;
        ULONG given = 0;
        while (given < wanted && position < count) {
            items[given] = static_cast<Derived*>(this)->ItemAt(position);
            if (!items[given])
                break;
            ++given;
            ++position;
        }
        if (fetched)
            *fetched = given;
        return given == wanted ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG skipped) override {
        if (skipped > count - position) {
            position = count;
            return S_FALSE;
        }
        position += skipped;
        return S_OK;
    }
    STDMETHODIMP Reset() override {
        position = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(Interface** copy) override {
        if (!copy)
            return E_POINTER;
        Derived* twin = static_cast<Derived*>(this)->Twin();
        if (twin)
            twin->position = position;
        *copy = twin;
        return twin ? S_OK : E_OUTOFMEMORY;
    }

  protected:
    explicit Enumerator(ULONG count) : count(count), position(0) {}
    ~Enumerator() = default;

  private:
    RefCount references;
    const ULONG count;
    ULONG position;
};

class PinEnumerator final : public Enumerator<IEnumPins, IPin, PinEnumerator> {
  public:
    PinEnumerator(IBaseFilter* filter, IPin* first, IPin* second)
        : Enumerator(second ? 2 : 1), filter(filter), pins{first, second} {
        filter->AddRef();
    }
    ~PinEnumerator() { filter->Release(); }
    static REFIID Iid() { return IID_IEnumPins; }
    IPin* ItemAt(ULONG index) {
        pins[index]->AddRef();
        return pins[index];
    }
    PinEnumerator* Twin() { return new (std::nothrow) PinEnumerator(filter, pins[0], pins[1]); }

  private:
    IBaseFilter* filter;
    IPin* pins[2];
};

class MediaTypeEnumerator final
    : public Enumerator<IEnumMediaTypes, AM_MEDIA_TYPE, MediaTypeEnumerator> {
  public:
    MediaTypeEnumerator(const SourceKind& kind, IUnknown* owner)
        : Enumerator(kind.mediaTypeCount), kind(kind), owner(owner) {
        owner->AddRef();
    }
    ~MediaTypeEnumerator() { owner->Release(); }
    static REFIID Iid() { return IID_IEnumMediaTypes; }
    AM_MEDIA_TYPE* ItemAt(ULONG index) {
        AM_MEDIA_TYPE type;
        kind.GetMediaType(static_cast<int>(index), &type);
        return NewMediaTypeCopy(type);
    }
    MediaTypeEnumerator* Twin() { return new (std::nothrow) MediaTypeEnumerator(kind, owner); }

  private:
    const SourceKind& kind;
    IUnknown* owner;
};

} // namespace

IEnumPins* NewPinEnumerator(IBaseFilter* filter, IPin* first, IPin* second) {
    return new (std::nothrow) PinEnumerator(filter, first, second);
}

IEnumMediaTypes* NewMediaTypeEnumerator(const SourceKind& kind, IUnknown* owner) {
    return new (std::nothrow) MediaTypeEnumerator(kind, owner);
}
