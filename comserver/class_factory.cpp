// The class object's two operations.
#include "class_factory.h"

namespace comserver {

STDMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (outer && !IsEqualIID(riid, IID_IUnknown))
        return CLASS_E_NOAGGREGATION;
    return create_(outer, riid, object);
}

STDMETHODIMP ClassFactory::LockServer(BOOL lock)
{
    if (lock)
        Module().Lock();
    else
        Module().Unlock();
    return S_OK;
}

void* ClassFactory::FindInterface(REFIID riid)
{
    return IsEqualIID(riid, IID_IClassFactory) ? static_cast<IClassFactory*>(this) : nullptr;
}

}  // namespace comserver
