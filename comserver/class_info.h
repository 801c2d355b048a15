#pragma once
// IProvideClassInfo2 from the module's type library, for a class with no outgoing interface.
#include <windows.h>
#include <ocidl.h>

namespace comserver {

[[nodiscard]] HRESULT ClassInfoOf(REFCLSID classId, ITypeInfo** info);
[[nodiscard]] HRESULT ClassGuidOf(DWORD kind, GUID* guid);

template <const CLSID* ClassId>
class ProvideClassInfo : public IProvideClassInfo2 {
public:
    STDMETHODIMP GetClassInfo(ITypeInfo** info) override { return ClassInfoOf(*ClassId, info); }
    STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override { return ClassGuidOf(kind, guid); }
};

}  // namespace comserver
