#pragma once
// Reference counting and aggregation for the server's objects. A class derives from ObjectRoot and
// the interfaces it serves and answers FindInterface; Object<T> adds the IUnknown methods that all
// of T's interfaces share, and CreateObject makes one, plain or inside an outer object.
#include <windows.h>
#include <unknwn.h>

#include <new>
#include <utility>

namespace comserver {

class ObjectRoot {
public:
    ObjectRoot(const ObjectRoot&) = delete;
    ObjectRoot& operator=(const ObjectRoot&) = delete;

    // The object's own IUnknown: the outer object holds this one when it aggregates.
    IUnknown* Inner() { return &inner_; }

protected:
    explicit ObjectRoot(IUnknown* outer);  // counts as a lock on the module while it lives
    virtual ~ObjectRoot();

    // The pointer for one of the object's interfaces (never IID_IUnknown), or nullptr.
    virtual void* FindInterface(REFIID riid) = 0;

    // What every interface's IUnknown methods do: ask the controlling unknown.
    HRESULT ControllingQueryInterface(REFIID riid, void** object) { return controlling_->QueryInterface(riid, object); }
    ULONG ControllingAddRef() { return controlling_->AddRef(); }
    ULONG ControllingRelease() { return controlling_->Release(); }

private:
    class InnerUnknown : public IUnknown {
    public:
        explicit InnerUnknown(ObjectRoot* owner) : owner_(owner) {}
        STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
        STDMETHODIMP_(ULONG) AddRef() override;
        STDMETHODIMP_(ULONG) Release() override;

    private:
        ObjectRoot* owner_;
    };

    InnerUnknown inner_;
    IUnknown* controlling_;  // the outer object, or inner_
    LONG references_ = 0;
};

template <class T>
class Object final : public T {
public:
    template <class... Args>
    explicit Object(IUnknown* outer, Args&&... args) : T(outer, std::forward<Args>(args)...) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override { return this->ControllingQueryInterface(riid, object); }
    STDMETHODIMP_(ULONG) AddRef() override { return this->ControllingAddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return this->ControllingRelease(); }
};

// A new T for riid. With an outer object only IID_IUnknown may be asked (the inner unknown is
// handed out), else CLASS_E_NOAGGREGATION.
template <class T, class... Args>
[[nodiscard]] HRESULT CreateObject(IUnknown* outer, REFIID riid, void** object, Args&&... args)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (outer && !IsEqualIID(riid, IID_IUnknown))
        return CLASS_E_NOAGGREGATION;
    Object<T>* created = new (std::nothrow) Object<T>(outer, std::forward<Args>(args)...);
    if (!created)
        return E_OUTOFMEMORY;
    IUnknown* inner = created->Inner();
    inner->AddRef();
    HRESULT result = inner->QueryInterface(riid, object);
    inner->Release();  // deletes the object when nothing took it
    return result;
}

}  // namespace comserver
