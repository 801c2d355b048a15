#pragma once
// ISupportErrorInfo for an object whose one scriptable interface may set error information.
#include <windows.h>
#include <oaidl.h>

namespace comserver {

template <const IID* InterfaceId>
class SupportErrorInfo : public ISupportErrorInfo {
public:
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID riid) override
    {
        return IsEqualIID(riid, *InterfaceId) ? S_OK : S_FALSE;
    }
};

}  // namespace comserver
