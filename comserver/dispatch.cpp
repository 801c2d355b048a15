// Late-bound calls on dual interfaces through the type library's description of them.
#include "dispatch.h"

#include <oleauto.h>

#include <vector>

#include "module.h"

namespace comserver {

namespace {

// The interface half of a dual interface's type information, which calls through the table.
HRESULT VtableTypeInfo(REFIID interfaceId, ITypeInfo** info)
{
    ITypeInfo* described = nullptr;
    HRESULT result = Module().TypeInfo(interfaceId, &described);
    if (FAILED(result))
        return result;
    TYPEATTR* attributes = nullptr;
    result = described->GetTypeAttr(&attributes);
    if (FAILED(result)) {
        described->Release();
        return result;
    }
    bool dualDispatch = attributes->typekind == TKIND_DISPATCH && (attributes->wTypeFlags & TYPEFLAG_FDUAL);
    described->ReleaseTypeAttr(attributes);
    if (!dualDispatch) {
        *info = described;
        return S_OK;
    }
    HREFTYPE reference = 0;
    result = described->GetRefTypeOfImplType(static_cast<UINT>(-1), &reference);
    if (SUCCEEDED(result))
        result = described->GetRefTypeInfo(reference, info);
    described->Release();
    return result;
}

// The method's arguments with a script's null for a string or object parameter made a null string
// or pointer of that type, which the conversion of DispInvoke does not do. False: nothing to change.
bool NullsAsEmpty(ITypeInfo* info, DISPID id, const DISPPARAMS* params, std::vector<VARIANTARG>* arguments)
{
    if (!params || params->cArgs == 0 || params->cNamedArgs != 0)
        return false;
    TYPEATTR* attributes = nullptr;
    if (FAILED(info->GetTypeAttr(&attributes)))
        return false;
    WORD functions = attributes->cFuncs;
    info->ReleaseTypeAttr(attributes);
    bool changed = false;
    for (UINT f = 0; f < functions; ++f) {
        FUNCDESC* function = nullptr;
        if (FAILED(info->GetFuncDesc(f, &function)))
            continue;
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
        info->ReleaseFuncDesc(function);
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
    ITypeInfo* info = nullptr;
    HRESULT result = Module().TypeInfo(interfaceId, &info);
    if (FAILED(result))
        return result;
    result = DispGetIDsOfNames(info, names, count, ids);
    info->Release();
    return result;
}

HRESULT DispatchInvoke(void* object, REFIID interfaceId, DISPID id, REFIID riid, WORD flags, DISPPARAMS* params,
                       VARIANT* result, EXCEPINFO* exception, UINT* argumentError)
{
    if (!IsEqualIID(riid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* info = nullptr;
    HRESULT outcome = VtableTypeInfo(interfaceId, &info);
    if (FAILED(outcome))
        return outcome;
    std::vector<VARIANTARG> arguments;
    DISPPARAMS adjusted = {};
    if ((flags & DISPATCH_METHOD) && NullsAsEmpty(info, id, params, &arguments)) {
        adjusted = *params;
        adjusted.rgvarg = arguments.data();
        params = &adjusted;
    }
    outcome = DispInvoke(object, info, id, flags, params, result, exception, argumentError);
    info->Release();
    return outcome;
}

}  // namespace comserver
