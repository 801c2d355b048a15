// The inner unknown of every object and its tie to the module's lock count.
#include "object.h"

#include "module.h"

namespace comserver {

ObjectRoot::ObjectRoot(IUnknown* outer) : inner_(this), controlling_(outer ? outer : &inner_)
{
    Module().Lock();
}

ObjectRoot::~ObjectRoot()
{
    Module().Unlock();
}

STDMETHODIMP ObjectRoot::InnerUnknown::QueryInterface(REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = IsEqualIID(riid, IID_IUnknown) ? static_cast<IUnknown*>(this) : owner_->FindInterface(riid);
    if (!*object)
        return E_NOINTERFACE;
    // Every interface but the inner unknown counts on the controlling unknown.
    static_cast<IUnknown*>(*object)->AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) ObjectRoot::InnerUnknown::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&owner_->references_));
}

STDMETHODIMP_(ULONG) ObjectRoot::InnerUnknown::Release()
{
    LONG left = InterlockedDecrement(&owner_->references_);
    if (left == 0)
        delete owner_;
    return static_cast<ULONG>(left);
}

}  // namespace comserver
