// Late-bound calls on dual interfaces through the type library's description of them.
#include "dispatch.h"

#include <oleauto.h>

#include <vector>

#include "com_ref.h"
#include "module.h"
#include "owned_handle.h"

namespace comserver {

namespace {

// A type's attributes and a function's description, given back to the type information they
// came from.
struct TypeAttrKind : owners::NullIsEmpty<TYPEATTR*> {
    ITypeInfo* info = nullptr;
    void Destroy(TYPEATTR* attributes) const noexcept { info->ReleaseTypeAttr(attributes); }
};

struct FuncDescKind : owners::NullIsEmpty<FUNCDESC*> {
    ITypeInfo* info = nullptr;
    void Destroy(FUNCDESC* function) const noexcept { info->ReleaseFuncDesc(function); }
};

// The interface half of a dual interface's type information, which calls through the table.
HRESULT VtableTypeInfo(REFIID interfaceId, ITypeInfo** info)
{
    owners::ComRef<ITypeInfo> described;
    HRESULT result = Module().TypeInfo(interfaceId, described.Receive());
    if (FAILED(result))
        return result;
    bool dualDispatch = false;
    {
        owners::Owned<TypeAttrKind> attributes(nullptr, TypeAttrKind{{}, described.Get()});
        result = described->GetTypeAttr(attributes.Receive());
        if (FAILED(result))
            return result;
        dualDispatch = attributes.Get()->typekind == TKIND_DISPATCH && (attributes.Get()->wTypeFlags & TYPEFLAG_FDUAL);
    }
    if (!dualDispatch) {
        *info = described.LetGo();
        return S_OK;
    }
    HREFTYPE reference = 0;
    result = described->GetRefTypeOfImplType(static_cast<UINT>(-1), &reference);
    if (SUCCEEDED(result))
        result = described->GetRefTypeInfo(reference, info);
    return result;
}

// The method's arguments with a script's null for a string or object parameter made a null string
// or pointer of that type, which the conversion of DispInvoke does not do. False: nothing to change.
bool NullsAsEmpty(ITypeInfo* info, DISPID id, const DISPPARAMS* params, std::vector<VARIANTARG>* arguments)
{
    if (!params || params->cArgs == 0 || params->cNamedArgs != 0)
        return false;
    WORD functions = 0;
    {
        owners::Owned<TypeAttrKind> attributes(nullptr, TypeAttrKind{{}, info});
        if (FAILED(info->GetTypeAttr(attributes.Receive())))
            return false;
        functions = attributes.Get()->cFuncs;
    }
    bool changed = false;
    for (UINT f = 0; f < functions; ++f) {
        owners::Owned<FuncDescKind> described(nullptr, FuncDescKind{{}, info});
        if (FAILED(info->GetFuncDesc(f, described.Receive())))
            continue;
        const FUNCDESC* function = described.Get();
        if (function->memid == id && function->invkind == INVOKE_FUNC) {
            arguments->assign(params->rgvarg, params->rgvarg + params->cArgs);
            UINT count = params->cArgs < static_cast<UINT>(function->cParams) ? params->cArgs : function->cParams;
            for (UINT p = 0; p < count; ++p) {
                VARIANTARG& argument = (*arguments)[params->cArgs - 1 - p];  // the last argument comes first
                VARTYPE type = function->lprgelemdescParam[p].tdesc.vt;
                if (V_VT(&argument) == VT_NULL && (type == VT_BSTR || type == VT_DISPATCH || type == VT_UNKNOWN)) {
                    V_VT(&argument) = type;
                    if (type == VT_BSTR)
                        V_BSTR(&argument) = nullptr;
                    else
                        V_UNKNOWN(&argument) = nullptr;
                    changed = true;
                }
            }
        }
    }
    return changed;
}

}  // namespace

HRESULT DispatchTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT DispatchTypeInfo(REFIID interfaceId, UINT index, ITypeInfo** info)
{
    if (!info)
        return E_POINTER;
    *info = nullptr;
    if (index != 0)
        return DISP_E_BADINDEX;
    return Module().TypeInfo(interfaceId, info);
}

HRESULT DispatchIdsOfNames(REFIID interfaceId, REFIID riid, LPOLESTR* names, UINT count, DISPID* ids)
{
    if (!IsEqualIID(riid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    owners::ComRef<ITypeInfo> info;
    HRESULT result = Module().TypeInfo(interfaceId, info.Receive());
    if (FAILED(result))
        return result;
    return DispGetIDsOfNames(info.Get(), names, count, ids);
}

HRESULT DispatchInvoke(void* object, REFIID interfaceId, DISPID id, REFIID riid, WORD flags, DISPPARAMS* params,
                       VARIANT* result, EXCEPINFO* exception, UINT* argumentError)
{
    if (!IsEqualIID(riid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    owners::ComRef<ITypeInfo> info;
    HRESULT outcome = VtableTypeInfo(interfaceId, info.Receive());
    if (FAILED(outcome))
        return outcome;
    std::vector<VARIANTARG> arguments;
    DISPPARAMS adjusted = {};
    if ((flags & DISPATCH_METHOD) && NullsAsEmpty(info.Get(), id, params, &arguments)) {
        adjusted = *params;
        adjusted.rgvarg = arguments.data();
        params = &adjusted;
    }
    return DispInvoke(object, info.Get(), id, flags, params, result, exception, argumentError);
}

}  // namespace comserver
