#pragma once
// The class object handed out by DllGetClassObject: makes instances and holds server locks.
#include <windows.h>
#include <unknwn.h>

#include "module.h"
#include "object.h"

namespace comserver {

class ClassFactory : public ObjectRoot, public IClassFactory {
public:
    ClassFactory(IUnknown* outer, CreateInstanceFunction create) : ObjectRoot(outer), create_(create) {}

    // Plain, or aggregated when asked for IID_IUnknown; any other interface with an outer
    // object is CLASS_E_NOAGGREGATION.
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** object) override;
    // TRUE raises the module's lock count, FALSE lowers it.
    STDMETHODIMP LockServer(BOOL lock) override;

protected:
    void* FindInterface(REFIID riid) override;

private:
    CreateInstanceFunction create_;
};

}  // namespace comserver
