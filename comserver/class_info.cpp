// The class's type information and its (missing) default source interface.
#include "class_info.h"

#include "module.h"

namespace comserver {

HRESULT ClassInfoOf(REFCLSID classId, ITypeInfo** info)
{
    return Module().TypeInfo(classId, info);
}

HRESULT ClassGuidOf(DWORD kind, GUID* guid)
{
    if (!guid)
        return E_POINTER;
    *guid = GUID_NULL;
    return kind == GUIDKIND_DEFAULT_SOURCE_DISP_IID ? E_FAIL : E_INVALIDARG;
}

}  // namespace comserver
